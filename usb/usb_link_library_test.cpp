// SPDX-License-Identifier: GPL-2.0-or-later
// The built link libraries in the program folder, loaded the way the program loads them.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/usb_transfer.h"
#include "usb/vexo_usb.h"

namespace kirrup {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<uint8_t>;
using LastOpenErrorFn = int32_t (*)(char*, uint32_t);

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* file) {
    const std::string path = std::string(KIRRUP_BIN_DIR) + "/LIB/" + file;
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) return;
    link.OpenUSBDevice = reinterpret_cast<UsbLink::OpenFn>(dlsym(handle_, "OpenUSBDevice"));
    link.CloseUSBDevice = reinterpret_cast<UsbLink::CloseFn>(dlsym(handle_, "CloseUSBDevice"));
    link.WriteUSB = reinterpret_cast<UsbLink::WriteFn>(dlsym(handle_, "WriteUSB"));
    link.ReadUSB = reinterpret_cast<UsbLink::ReadFn>(dlsym(handle_, "ReadUSB"));
    lastOpenError = reinterpret_cast<LastOpenErrorFn>(dlsym(handle_, VEXOUSB_LAST_OPEN_ERROR_NAME));
  }
  ~LoadedLibrary() {
    if (handle_) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  void* Symbol(const char* name) const { return dlsym(handle_, name); }

  UsbLink link;
  LastOpenErrorFn lastOpenError = nullptr;

 private:
  void* handle_ = nullptr;
};

struct Recorder : platform::MessageSink {
  std::vector<std::string> texts;
  void Show(platform::MessageIcon, const std::string&, const std::string& text) override { texts.push_back(text); }
};

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) { setenv(name, value.c_str(), 1); }
  ~ScopedEnv() { unsetenv(name_); }

 private:
  const char* name_;
};

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(UsbLinkLibraryTest, RealLibraryWithoutAToy) {
  LoadedLibrary lib("VexoUSB.so");
  ASSERT_TRUE(lib.Loaded()) << dlerror();
  ASSERT_TRUE(lib.link.Present());
  ASSERT_NE(lib.lastOpenError, nullptr);
  // Nothing answers to these ids, whatever is plugged in.
  EXPECT_EQ(lib.link.OpenUSBDevice(0xFFFF, 0xFFFE), -1);
  char why[200];
  EXPECT_EQ(lib.lastOpenError(why, sizeof why), VEXOUSB_OPEN_NOT_FOUND);
  EXPECT_STRNE(why, "");
  char tiny[4];
  lib.lastOpenError(tiny, sizeof tiny);
  EXPECT_EQ(std::strlen(tiny), 3u);

  const int32_t h = lib.link.OpenUSBDevice(0x0C45, 0x7160);
  if (h == -1) {
    EXPECT_NE(lib.lastOpenError(why, sizeof why), VEXOUSB_OPEN_OK);
  } else {
    EXPECT_NE(h, 0);
    lib.link.CloseUSBDevice(h);
  }
  // Calls on a handle that was never opened fail quietly.
  uint8_t bytes[9] = {};
  uint32_t moved = 5;
  EXPECT_EQ(lib.link.WriteUSB(0x7777, bytes, 9, &moved), 0);
  EXPECT_EQ(moved, 0u);
  EXPECT_EQ(lib.link.ReadUSB(0x7777, bytes, 3, &moved), 0);
  lib.link.CloseUSBDevice(0x7777);
  lib.link.CloseUSBDevice(-1);
}

class EmulatorLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("kirrup-emulib-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(lib.Loaded()) << dlerror();
    ASSERT_TRUE(lib.link.Present());
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
  LoadedLibrary lib{"VexoUSB-emu.so"};
  Recorder sink;
};

TEST_F(EmulatorLibraryTest, ImagesOfEveryTypeArriveIntact) {
  ScopedEnv log("VEXOUSB_EMU_LOG", (dir / "log").string());
  ScopedEnv image("VEXOUSB_EMU_IMAGE", (dir / "image").string());
  for (int led : {0, 1, 2}) {
    for (size_t length : {1u, 10u, 300u, 2047u}) {
      Bytes data(length);
      for (size_t i = 0; i < length; ++i) data[i] = static_cast<uint8_t>(i * 37 + led);
      std::filesystem::remove(dir / "log");
      std::filesystem::remove(dir / "image");
      ASSERT_EQ(TransferImage(lib.link, data, led, sink), TransferResult::Sent) << led << " " << length;
      const std::string got = Slurp(dir / "image");
      EXPECT_EQ(Bytes(got.begin(), got.end()), data) << led << " " << length;
      const size_t packets = (led == 1 ? 2 : 1) + length / 5 + 1;
      EXPECT_EQ(Slurp(dir / "log").size(), packets * 19) << led << " " << length;
    }
  }
  EXPECT_TRUE(sink.texts.empty());
}

TEST_F(EmulatorLibraryTest, NotConnected) {
  ScopedEnv off("VEXOUSB_EMU_CONNECTED", "0");
  EXPECT_EQ(PollConnection(lib.link), false);
  ASSERT_NE(lib.lastOpenError, nullptr);
  char why[100];
  EXPECT_EQ(lib.lastOpenError(why, sizeof why), VEXOUSB_OPEN_NOT_FOUND);
  EXPECT_EQ(TransferImage(lib.link, Bytes{1}, 0, sink), TransferResult::ConnectFailure);
  EXPECT_THAT(sink.texts, ElementsAre("USB Device Connect Failure!!!"));
}

TEST_F(EmulatorLibraryTest, FaultsFromTheEnvironmentReachTheUser) {
  struct Case {
    const char* fail;
    std::vector<std::string> texts;
  };
  const std::string sys = "System Error or Application Program Destruction! Error ID:";
  const Case cases[] = {
      {"1:write", {"USB Write Data Error", "USB Write Data Failure!"}},
      {"3:read", {"USB Read Data Error", "USB Write Data Failure!"}},
      {"2:status=2A", {"USB Write Data Failure!"}},
      {"4:status=41", {sys + "A", "USB Write Data Failure!"}},
      {"4:answer=2341", {sys + "!$A", "USB Write Data Failure!"}},
  };
  for (const Case& c : cases) {
    ScopedEnv fail("VEXOUSB_EMU_FAIL", c.fail);
    ScopedEnv image("VEXOUSB_EMU_IMAGE", (dir / "image").string());
    sink.texts.clear();
    EXPECT_EQ(TransferImage(lib.link, Bytes(12, 0x33), 0, sink), TransferResult::PacketFailed) << c.fail;
    EXPECT_EQ(sink.texts, c.texts) << c.fail;
    EXPECT_FALSE(std::filesystem::exists(dir / "image")) << c.fail;
  }
}

TEST_F(EmulatorLibraryTest, AMalformedFaultPlanFailsTheSendInsteadOfPassingIt) {
  ScopedEnv fail("VEXOUSB_EMU_FAIL", "x:write");
  EXPECT_EQ(TransferImage(lib.link, Bytes(12, 0x33), 0, sink), TransferResult::ConnectFailure);
  EXPECT_THAT(sink.texts, ElementsAre("USB Device Connect Failure!!!"));
  char why[200];
  EXPECT_EQ(lib.lastOpenError(why, sizeof why), VEXOUSB_OPEN_FAILED);
  EXPECT_STREQ(why, "emulated toy refuses to open: malformed VEXOUSB_EMU_FAIL=x:write");
}

}  // namespace
}  // namespace kirrup
