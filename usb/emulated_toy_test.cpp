// SPDX-License-Identifier: GPL-2.0-or-later
#include "usb/emulated_toy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/usb_transfer.h"

namespace kirrup::usb {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<uint8_t>;

std::array<uint8_t, 9> Raw(std::array<uint8_t, 8> first8) {
  std::array<uint8_t, 9> p{};
  std::copy(first8.begin(), first8.end(), p.begin());
  unsigned sum = 0;
  for (size_t i = 1; i <= 7; ++i) sum += p[i];
  p[8] = static_cast<uint8_t>(sum);
  return p;
}

// Feeds the packets the program would send for `image` and returns the statuses.
std::vector<uint8_t> Feed(EmulatedToy& toy, const Bytes& image, bool elevenLed) {
  std::vector<uint8_t> statuses;
  const uint8_t c = *SizeClass(image.size());
  if (elevenLed) statuses.push_back(toy.Receive(AnnouncementPacket(c).bytes));
  statuses.push_back(toy.Receive(LengthPacket(c, static_cast<uint16_t>(image.size())).bytes));
  for (size_t i = 0; i < DataPacketCount(image.size()); ++i)
    statuses.push_back(toy.Receive(DataPacket(image, i, elevenLed).bytes));
  return statuses;
}

Bytes Ramp(size_t n, uint8_t first) {
  Bytes v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + 7 * i);
  return v;
}

TEST(EmulatedToyTest, ReassemblesImagesOfEveryLengthAndType) {
  for (size_t length : {0u, 1u, 4u, 5u, 9u, 10u, 11u, 255u, 256u, 600u, 1024u, 2045u, 2047u}) {
    for (bool eleven : {false, true}) {
      EmulatedToy toy;
      const Bytes image = Ramp(length, 0x5A);
      const auto statuses = Feed(toy, image, eleven);
      EXPECT_TRUE(std::all_of(statuses.begin(), statuses.end(), [](uint8_t s) { return s == kAccepted; }))
          << length << " " << eleven;
      EXPECT_EQ(toy.ElevenLed(), eleven) << length;
      EXPECT_EQ(toy.TakeImage(), image) << length << " " << eleven;
      EXPECT_EQ(toy.TakeImage(), std::nullopt);
    }
  }
}

TEST(EmulatedToyTest, TenByteLengthPacketAndElevenLedAnnouncementAreToldApart) {
  // 00 40 40 01 0A 00 00 00 is accepted either way; the next packet decides what it was.
  const Bytes image{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EmulatedToy seven;
  Feed(seven, image, false);
  EXPECT_FALSE(seven.ElevenLed());
  EXPECT_EQ(seven.TakeImage(), image);

  EmulatedToy eleven;
  Feed(eleven, image, true);  // the announcement and the length packet are the same bytes
  EXPECT_TRUE(eleven.ElevenLed());
  EXPECT_EQ(eleven.TakeImage(), image);

  // An announcement of a larger class cannot be a length packet; its length must follow.
  EmulatedToy big;
  EXPECT_EQ(big.Receive(AnnouncementPacket(3).bytes), kAccepted);
  EXPECT_EQ(big.Receive(DataPacket(image, 0, true).bytes), kOutOfOrder);
}

TEST(EmulatedToyTest, RefusesMalformedPackets) {
  struct Case {
    std::array<uint8_t, 9> packet;
    uint8_t status;
  };
  auto badSum = LengthPacket(1, 7).bytes;
  badSum[8] ^= 1;
  const Case cases[] = {
      {Raw({0x01, 0x40, 0x40, 0x01, 0x07, 0, 0, 0}), kBadFraming},
      {Raw({0x00, 0x41, 0x40, 0x01, 0x07, 0, 0, 0}), kBadFraming},
      {badSum, kBadChecksum},
      {Raw({0x00, 0x40, 0x24, 0x01, 0x07, 0, 0, 0}), kBadKind},
      {Raw({0x00, 0x40, 0x40, 0x02, 0x07, 0, 0, 0}), kBadSizeClass},    // 7 bytes are class 1
      {Raw({0x00, 0x40, 0x40, 0x01, 0x00, 0x01, 0, 0}), kBadSizeClass}, // 256 bytes are class 2
      {Raw({0x00, 0x40, 0x40, 0x05, 0x00, 0x08, 0, 0}), kBadSizeClass}, // 2048: no class
      {Raw({0x00, 0x40, 0x40, 0x01, 0x07, 0, 1, 0}), kBadPayload},
      {Raw({0x00, 0x40, 0x23, 1, 2, 3, 4, 5}), kOutOfOrder},            // data before a length
  };
  for (const Case& c : cases) {
    EmulatedToy toy;
    EXPECT_EQ(toy.Receive(c.packet), c.status) << int(c.packet[2]) << " " << int(c.packet[3]);
  }
  EmulatedToy toy;
  EXPECT_EQ(toy.Receive(std::span<const uint8_t>(LengthPacket(1, 7).bytes).first(8)), kBadFraming);
}

TEST(EmulatedToyTest, ChecksTheTransferAsAWhole) {
  const Bytes image{1, 2, 3, 4, 5, 6, 7};
  {
    // Announced class and length class differ.
    EmulatedToy toy;
    EXPECT_EQ(toy.Receive(AnnouncementPacket(2).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(LengthPacket(1, 7).bytes), kBadSizeClass);
  }
  {
    // A header packet amid the data, then the toy starts over and takes a whole transfer.
    EmulatedToy toy;
    EXPECT_EQ(toy.Receive(LengthPacket(1, 7).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(DataPacket(image, 0, false).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(LengthPacket(1, 7).bytes), kOutOfOrder);
    EXPECT_EQ(toy.Receive(DataPacket(image, 1, false).bytes), kOutOfOrder);
    Feed(toy, image, false);
    EXPECT_EQ(toy.TakeImage(), image);
  }
  {
    // Non-zero padding in the last packet; a data packet after the last one.
    EmulatedToy toy;
    EXPECT_EQ(toy.Receive(LengthPacket(1, 7).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(DataPacket(image, 0, false).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(Raw({0, 0x40, 0x23, 6, 7, 0, 0, 9})), kBadPayload);
    EXPECT_EQ(toy.TakeImage(), std::nullopt);
    Feed(toy, image, false);
    EXPECT_EQ(toy.TakeImage(), image);
    EXPECT_EQ(toy.Receive(DataPacket(image, 2, false).bytes), kOutOfOrder);
  }
  {
    // On 11 LEDs the padding stays 0 and is not transformed: 0xA4 there is refused.
    EmulatedToy toy;
    EXPECT_EQ(toy.Receive(AnnouncementPacket(1).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(LengthPacket(1, 3).bytes), kAccepted);
    EXPECT_EQ(toy.Receive(Raw({0, 0x40, 0x23, 0xA3, 0xA2, 0xA1, 0xA4, 0xA4})), kBadPayload);
  }
}

TEST(EmulatedToyTest, ParsesFaultPlans) {
  EXPECT_EQ(ParseFaults("3:write"), (std::vector<Fault>{{3, Fault::Mode::Write, '$', 0}}));
  EXPECT_EQ(ParseFaults("1:read,12:status=41,2:answer=2383"),
            (std::vector<Fault>{{1, Fault::Mode::Read, '$', 0},
                                {12, Fault::Mode::Answer, '$', 0x41},
                                {2, Fault::Mode::Answer, '#', 0x83}}));
  for (const char* bad : {"", "0:write", "x:write", "3:", ":read", "3:status=4", "3:status=4G", "3:answer=123",
                          "3:write,", "3:oops", "99999999999:read"})
    EXPECT_EQ(ParseFaults(bad), std::nullopt) << bad;
}

class EmulatorLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("kirrup-emu-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    config.logPath = (dir / "log").string();
    config.imagePath = (dir / "image").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Write + read of one packet; the answer or nothing when either call failed.
  std::optional<std::array<uint8_t, 3>> Exchange(int32_t h, const UsbPacket& p, std::string* failed = nullptr) {
    uint32_t moved = 0;
    if (!link.Write(h, p.bytes.data(), 9, &moved)) {
      if (failed) *failed = "write";
      return std::nullopt;
    }
    std::array<uint8_t, 3> a{};
    if (!link.Read(h, a.data(), 3, &moved)) {
      if (failed) *failed = "read";
      return std::nullopt;
    }
    return a;
  }

  std::filesystem::path dir;
  EmulatorConfig config;
  EmulatorLink link;
};

TEST_F(EmulatorLinkTest, LogsPacketsAndWritesTheImage) {
  const Bytes image{0x00, 0x81, 0x05, 0x07, 0xFF, 0xE0};
  const int32_t h = link.Open(config);
  ASSERT_NE(h, 0);
  ASSERT_NE(h, -1);
  EXPECT_EQ(Exchange(h, AnnouncementPacket(1)), (std::array<uint8_t, 3>{0x00, '$', 0x80}));
  Exchange(h, LengthPacket(1, 6));
  Exchange(h, DataPacket(image, 0, true));
  EXPECT_FALSE(std::filesystem::exists(config.imagePath));
  Exchange(h, DataPacket(image, 1, true));
  link.Close(h);
  EXPECT_EQ(Slurp(config.logPath),
            "004040010a0000008b\n004040010600000087\n004023a4239f9da50b\n004023c40000000027\n");
  const std::string written = Slurp(config.imagePath);
  EXPECT_EQ(Bytes(written.begin(), written.end()), image);

  // The log is appended to, across opens.
  const int32_t h2 = link.Open(config);
  EXPECT_NE(h2, h);
  Exchange(h2, LengthPacket(1, 0));
  link.Close(h2);
  EXPECT_EQ(Slurp(config.logPath).size(), 5u * 19u);
}

TEST_F(EmulatorLinkTest, InjectedFaults) {
  config.faults = *ParseFaults("2:write,3:read,4:status=41,5:answer=2382,6:status=80");
  const int32_t h = link.Open(config);
  std::string failed;
  EXPECT_TRUE(Exchange(h, LengthPacket(1, 12)));
  EXPECT_FALSE(Exchange(h, LengthPacket(1, 12), &failed));
  EXPECT_EQ(failed, "write");
  EXPECT_FALSE(Exchange(h, LengthPacket(1, 12), &failed));
  EXPECT_EQ(failed, "read");
  EXPECT_EQ(Exchange(h, LengthPacket(1, 12)), (std::array<uint8_t, 3>{0, '$', 0x41}));
  EXPECT_EQ(Exchange(h, LengthPacket(1, 12)), (std::array<uint8_t, 3>{0, '#', 0x82}));
  EXPECT_EQ(Exchange(h, LengthPacket(1, 12)), (std::array<uint8_t, 3>{0, '$', 0x80}));
  link.Close(h);
  // The packet whose write failed never reached the toy.
  std::ifstream log(config.logPath);
  EXPECT_EQ(std::count(std::istreambuf_iterator<char>(log), {}, '\n'), 5);

  // Counting starts again with every open.
  const int32_t h2 = link.Open(config);
  EXPECT_TRUE(Exchange(h2, LengthPacket(1, 12)));
  EXPECT_FALSE(Exchange(h2, LengthPacket(1, 12)));
  link.Close(h2);
}

TEST_F(EmulatorLinkTest, HandlesAndCallOrder) {
  config.logPath.clear();
  EmulatorConfig off = config;
  off.connected = false;
  EXPECT_EQ(link.Open(off), -1);

  const int32_t h = link.Open(config);
  std::array<uint8_t, 3> a{};
  uint32_t moved = 7;
  EXPECT_FALSE(link.Read(h, a.data(), 3, &moved));  // nothing written yet: time-out
  EXPECT_EQ(moved, 0u);
  const auto p = LengthPacket(1, 1);
  EXPECT_FALSE(link.Write(h + 1, p.bytes.data(), 9, &moved));
  EXPECT_TRUE(link.Write(h, p.bytes.data(), 9, &moved));
  EXPECT_EQ(moved, 9u);
  EXPECT_TRUE(link.Read(h, a.data(), 3, &moved));
  EXPECT_FALSE(link.Read(h, a.data(), 3, &moved));  // one answer per packet
  link.Close(h);
  EXPECT_FALSE(link.Write(h, p.bytes.data(), 9, &moved));
  link.Close(h);  // closing twice is harmless
}

TEST_F(EmulatorLinkTest, DelayModelsTheBus) {
  config.logPath.clear();
  config.delayUs = 3000;
  const int32_t h = link.Open(config);
  const auto start = std::chrono::steady_clock::now();
  Exchange(h, LengthPacket(1, 1));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::microseconds(6000));
  link.Close(h);
}

TEST_F(EmulatorLinkTest, AnswersSlowerThanTheReadTimeOutAreLost) {
  config.logPath.clear();
  config.readTimeoutUs = 20'000;
  for (auto [delayUs, answered] : {std::pair{5'000u, true}, {20'000u, true}, {200'000u, false}}) {
    config.delayUs = delayUs;
    const int32_t h = link.Open(config);
    std::string failed;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(h, LengthPacket(1, 1), &failed).has_value(), answered) << delayUs;
    if (!answered) {
      EXPECT_EQ(failed, "read");
      // The write's delay and the time-out, not the answer's whole delay.
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::microseconds(2 * delayUs - 100'000));
    }
    link.Close(h);
  }
}

TEST(EmulatorConfigTest, AMalformedPlanRefusesToOpen) {
  const struct {
    const char* fail;
    const char* delay;
    bool opens;
  } cases[] = {{"3:write", "", true}, {"x:write", "", false}, {"3:write,", "", false},
               {"", "12", true},      {"", "12ms", false},    {"", "-5", false}};
  EmulatorLink link;
  for (const auto& c : cases) {
    ::setenv("VEXOUSB_EMU_FAIL", c.fail, 1);
    ::setenv("VEXOUSB_EMU_DELAY_US", c.delay, 1);
    const EmulatorConfig config = ConfigFromEnvironment();
    EXPECT_EQ(config.error.empty(), c.opens) << c.fail << c.delay;
    const int32_t h = link.Open(config);
    EXPECT_EQ(h != -1, c.opens) << c.fail << c.delay;
    link.Close(h);
  }
  ::unsetenv("VEXOUSB_EMU_FAIL");
  ::unsetenv("VEXOUSB_EMU_DELAY_US");
}

}  // namespace
}  // namespace kirrup::usb
