// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lines/led_type.h"
#include "platform/utf.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;
using Steps = std::vector<std::string>;

struct Message {
  std::string caption, text;
  bool operator==(const Message&) const = default;
};

class RecordingSink : public platform::MessageSink {
 public:
  void Show(platform::MessageIcon, const std::string& caption, const std::string& text) override {
    messages.push_back({caption, text});
  }
  std::vector<Message> messages;
};

// A program folder in a temporary directory: <dir>/kirrup, <dir>/LIB/.
class ProgramFolder {
 public:
  explicit ProgramFolder(const char* usbLibrary = nullptr) {
    std::string t = (fs::temp_directory_path() / "kirrup-app-XXXXXX").string();
    dir_ = ::mkdtemp(t.data());
    fs::create_directory(dir_ / "LIB");
    if (usbLibrary) fs::copy_file(usbLibrary, dir_ / "LIB" / "VexoUSB.so");
  }
  ~ProgramFolder() { fs::remove_all(dir_); }
  const fs::path& dir() const { return dir_; }
  std::string exe() const { return (dir_ / "kirrup").string(); }
  fs::path ini() const { return dir_ / "LIB" / "Kirrup.ini"; }

  void WriteIni(std::string_view utf8) const {
    std::ofstream out(ini(), std::ios::binary);
    out << "\xFF\xFE";
    for (char16_t c : platform::Utf8ToUtf16(utf8)) out << static_cast<char>(c & 0xFF) << static_cast<char>(c >> 8);
  }
  std::string IniBytes() const {
    std::ifstream in(ini(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::u16string IniText() const {
    const std::string b = IniBytes();
    std::u16string t;
    for (size_t i = 2; i + 1 < b.size(); i += 2) {
      t.push_back(static_cast<char16_t>(static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8)));
    }
    return t;
  }

 private:
  fs::path dir_;
};

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() {
    app.onStep = [this](std::string_view s) { steps.emplace_back(s); };
  }
  ~ApplicationTest() override { ResetLedTypeTable(); }
  Application app;
  RecordingSink sink;
  Steps steps;
};

TEST_F(ApplicationTest, FreshStartRunsEveryStepInOrderAndExitCreatesTheFile) {
  ProgramFolder folder(FAKE_USB_COMPLETE);
  app.StartUp(folder.exe(), sink);
  app.LoadFonts();
  EXPECT_EQ(steps, (Steps{"ProgramFolder", "SettingsPath", "LoadUsbLibrary", "ResolveUsbEntryPoints",
                          "ReadLanguages", "ReadSettings", "LoadFontLibraries", "CreateLedFonts"}));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(app.programFolder, folder.dir().string());
  EXPECT_EQ(app.settingsPath, folder.ini().string());
  ASSERT_TRUE(app.usb.Present());
  EXPECT_EQ(app.usb.OpenUSBDevice(UsbLink::kVendorId, UsbLink::kProductId), 42);
  EXPECT_EQ(app.settings, Settings{});
  EXPECT_EQ(app.languages.count(), 2);
  EXPECT_EQ(LedTypeRow(kLed11).gap, 2);
  EXPECT_EQ(LedTypeRow(kLed11).maxWidth, 156);

  steps.clear();
  app.settings.ledType = 1;  // the main dialog changed it
  EXPECT_TRUE(app.WriteSettingsFile());
  app.Release();
  EXPECT_EQ(steps, (Steps{"OpenSettingsFile", "WriteSettings", "WriteLanguages", "ReleaseLedFonts",
                          "ReleaseUserFontTables", "UnloadUsbLibrary", "ReleaseFontLibraries", "FreeLanguages"}));
  EXPECT_FALSE(app.usbLibrary.loaded());
  EXPECT_FALSE(app.usb.OpenUSBDevice);
  EXPECT_TRUE(sink.messages.empty());

  const std::string bytes = folder.IniBytes();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  const std::u16string text = folder.IniText();
  EXPECT_EQ(text.find(u"[Set]\r\nbUserFont=1\r\nSysFont=宋体\r\nLedType=2\r\nLedColor=255\r\n"
                      u"MakeChrWndCx=540\r\nMakeChrWndCy=360\r\n[LangCodePage]\r\n1=英文,0409\r\n"),
            0u);
  EXPECT_NE(text.find(u"[Language]\r\n1=English\r\n2=简体中文\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"[简体中文]\r\nB1=从左到右开\r\n"), std::u16string::npos);
}

TEST_F(ApplicationTest, MissingLibraryShowsBothMessagesAndStartUpGoesOn) {
  ProgramFolder folder;
  app.StartUp(folder.exe(), sink);
  EXPECT_EQ(sink.messages, (std::vector<Message>{{"Information", "Can't Load LIB/VexoUSB.so"},
                                                 {"Information", "Load LIB/VexoUSB.so file error!"}}));
  EXPECT_FALSE(app.usbLibrary.loaded());
  EXPECT_FALSE(app.usb.OpenUSBDevice || app.usb.CloseUSBDevice || app.usb.WriteUSB || app.usb.ReadUSB);
  EXPECT_EQ(steps.back(), "ReadSettings");
}

TEST_F(ApplicationTest, LibraryWithoutReadUsbIsUnloadedWithOneMessage) {
  ProgramFolder folder(FAKE_USB_NO_READ);
  app.StartUp(folder.exe(), sink);
  EXPECT_EQ(sink.messages, (std::vector<Message>{{"Information", "Load LIB/VexoUSB.so file error!"}}));
  EXPECT_FALSE(app.usbLibrary.loaded());
  EXPECT_FALSE(app.usb.OpenUSBDevice || app.usb.CloseUSBDevice || app.usb.WriteUSB || app.usb.ReadUSB);
}

TEST_F(ApplicationTest, SettingsFromTheFileAreInForceBeforeTheFontsLoad) {
  ProgramFolder folder(FAKE_USB_COMPLETE);
  folder.WriteIni(
      "[Set]\r\nLedType=3\r\nLedGap11=0\r\nLedScrW11=170\r\nLang=2\r\nbUserFont=0\r\nSysFont=Noto\r\n"
      "[Language]\r\n1=Deutsch,0407\r\n[Deutsch]\r\nC15=Beenden\r\n");
  int gapAtFonts = -1;
  app.onStep = [&](std::string_view s) {
    if (s == "LoadFontLibraries") gapAtFonts = LedTypeRow(kLed11).gap;
  };
  app.StartUp(folder.exe(), sink);
  app.LoadFonts();
  EXPECT_EQ(gapAtFonts, 0);
  EXPECT_EQ(LedTypeRow(kLed11).maxWidth, 170);
  EXPECT_EQ(app.settings.ledType, 2);
  EXPECT_EQ(app.fonts.builtInSwitch, 0);
  EXPECT_EQ(app.fonts.systemFontName, u"Noto");
  ASSERT_EQ(app.languages.count(), 3);
  EXPECT_EQ(app.languages.current, 1);  // Lang=2 until the dialog chooses
  EXPECT_EQ(app.languages.tables[0].captions[14], u"Beenden");
}

TEST_F(ApplicationTest, ExitKeepsWhatItDoesNotWriteAndSeesEditsMadeMeanwhile) {
  ProgramFolder folder;
  folder.WriteIni("; my notes\r\n[Set]\r\nLedGap11=3\r\nLang=2\r\nLedType=3\r\n[Other]\r\nx=1\r\n");
  app.StartUp(folder.exe(), sink);
  folder.WriteIni("; my notes\r\n[Set]\r\nLedGap11=3\r\nLang=2\r\nLedType=3\r\n[Other]\r\nx=1\r\ny=2\r\n");
  EXPECT_TRUE(app.WriteSettingsFile());
  const std::u16string text = folder.IniText();
  EXPECT_EQ(text.find(u"; my notes\r\n[Set]\r\nLedGap11=3\r\nLang=2\r\nLedType=3\r\nbUserFont=1\r\n"), 0u);
  EXPECT_NE(text.find(u"[Other]\r\nx=1\r\ny=2\r\n"), std::u16string::npos);
}

TEST_F(ApplicationTest, ExitIntoAnUnwritableFolderIsSilent) {
  ProgramFolder folder;
  fs::remove(folder.dir() / "LIB");
  { std::ofstream(folder.dir() / "LIB") << "a file where the folder should be"; }
  app.StartUp(folder.exe(), sink);
  sink.messages.clear();
  EXPECT_FALSE(app.WriteSettingsFile());
  app.Release();
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(fs::is_regular_file(folder.dir() / "LIB"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.dir()), fs::directory_iterator()), 1);

  // The program folder is gone altogether.
  Application other;
  other.StartUp("/nonexistent/kirrup/kirrup", sink);
  EXPECT_FALSE(other.WriteSettingsFile());
}

}  // namespace
}  // namespace kirrup
