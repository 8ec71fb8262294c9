// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/usb_transfer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "usb/vexo_usb.h"

namespace kirrup {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A scripted toy behind plain function pointers: it records every call and answers
// from a script keyed by the 1-based number of the packet written.
struct Script {
  int32_t openResult = 0x1234;
  std::map<int, bool> writeFails;                      // packet number -> WriteUSB returns 0
  std::map<int, bool> readFails;                       // packet number -> ReadUSB returns 0
  std::map<int, std::array<uint8_t, 3>> answers;      // packet number -> answer (else 00 '$' 80)

  std::vector<std::string> calls;  // "open", "close 4660", "write", "read"
  std::vector<std::array<uint8_t, 9>> packets;
  int written = 0;
};
Script* g_script = nullptr;

int32_t FakeOpen(int32_t vid, int32_t pid) {
  EXPECT_EQ(vid, 0x0C45);
  EXPECT_EQ(pid, 0x7160);
  g_script->calls.push_back("open");
  return g_script->openResult;
}
void FakeClose(int32_t handle) { g_script->calls.push_back("close " + std::to_string(handle)); }
uint8_t FakeWrite(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved) {
  EXPECT_EQ(handle, g_script->openResult);
  EXPECT_EQ(count, 9u);
  g_script->calls.push_back("write");
  ++g_script->written;
  if (g_script->writeFails.count(g_script->written)) return 0;
  std::array<uint8_t, 9> p{};
  std::copy(bytes, bytes + 9, p.begin());
  g_script->packets.push_back(p);
  *moved = count;
  return 1;
}
uint8_t FakeRead(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved) {
  EXPECT_EQ(handle, g_script->openResult);
  EXPECT_EQ(count, 3u);
  g_script->calls.push_back("read");
  if (g_script->readFails.count(g_script->written)) return 0;
  std::array<uint8_t, 3> a{0x00, '$', 0x80};
  if (auto it = g_script->answers.find(g_script->written); it != g_script->answers.end()) a = it->second;
  std::copy(a.begin(), a.end(), buffer);
  *moved = count;
  return 1;
}

struct Recorder : platform::MessageSink {
  std::vector<std::string> texts;
  void Show(platform::MessageIcon icon, const std::string&, const std::string& text) override {
    EXPECT_EQ(icon, platform::MessageIcon::Error);
    texts.push_back(text);
  }
};

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_script = &script;
    link.OpenUSBDevice = FakeOpen;
    link.CloseUSBDevice = FakeClose;
    link.WriteUSB = FakeWrite;
    link.ReadUSB = FakeRead;
  }
  void TearDown() override { g_script = nullptr; }

  TransferResult Send(std::span<const uint8_t> image, int ledType) {
    TransferProgress progress;
    progress.SetRange = [this](int lo, int hi) { ranges.emplace_back(lo, hi); };
    progress.SetPosition = [this](int p) { positions.push_back(p); };
    return TransferImage(link, image, ledType, sink, progress);
  }

  Script script;
  UsbLink link;
  Recorder sink;
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
};

std::vector<uint8_t> Ramp(size_t n, uint8_t first = 1) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i);
  return v;
}

using P = std::array<uint8_t, 9>;

TEST(UsbPacketTest, ChecksumSumsBytesOneToSevenOnly) {
  // 7-byte image, size class 1: 0x40 + 0x40 + 0x01 + 0x07.
  EXPECT_EQ(LengthPacket(1, 7).bytes, (P{0x00, 0x40, 0x40, 0x01, 0x07, 0x00, 0x00, 0x00, 0x88}));
  std::array<uint8_t, 9> p{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
  EXPECT_EQ(PacketChecksum(p), static_cast<uint8_t>(7 * 0xFF));
  EXPECT_EQ(AnnouncementPacket(1).bytes, (P{0x00, 0x40, 0x40, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x8B}));
  EXPECT_EQ(LengthPacket(4, 2047).bytes, (P{0x00, 0x40, 0x40, 0x04, 0xFF, 0x07, 0x00, 0x00, 0x8A}));
}

TEST(UsbPacketTest, SizeClassBoundaries) {
  EXPECT_EQ(SizeClass(0), 1);
  EXPECT_EQ(SizeClass(255), 1);
  EXPECT_EQ(SizeClass(256), 2);
  EXPECT_EQ(SizeClass(511), 2);
  EXPECT_EQ(SizeClass(512), 3);
  EXPECT_EQ(SizeClass(1023), 3);
  EXPECT_EQ(SizeClass(1024), 4);
  EXPECT_EQ(SizeClass(2047), 4);
  EXPECT_EQ(SizeClass(2048), std::nullopt);
  EXPECT_EQ(SizeClass(100000), std::nullopt);
}

TEST(UsbPacketTest, DataPacketsPadWithZerosAndTransformElevenLedBytesOnly) {
  const std::vector<uint8_t> image{0x05, 0xA4, 0xA5, 0x00, 0xFF, 0x10, 0x20};
  EXPECT_EQ(DataPacket(image, 0, false).bytes, (P{0, 0x40, 0x23, 0x05, 0xA4, 0xA5, 0x00, 0xFF, 0xB0}));
  EXPECT_EQ(DataPacket(image, 1, false).bytes, (P{0, 0x40, 0x23, 0x10, 0x20, 0, 0, 0, 0x93}));
  // 0xA4 - b: 0x05 -> 0x9F, 0xA4 -> 0x00, 0xA5 -> 0xFF, 0x00 -> 0xA4, 0xFF -> 0xA5.
  EXPECT_EQ(DataPacket(image, 0, true).bytes, (P{0, 0x40, 0x23, 0x9F, 0x00, 0xFF, 0xA4, 0xA5, 0x4A}));
  EXPECT_EQ(DataPacket(image, 1, true).bytes, (P{0, 0x40, 0x23, 0x94, 0x84, 0, 0, 0, 0x7B}));
  EXPECT_EQ(DataPacketCount(0), 1u);
  EXPECT_EQ(DataPacketCount(4), 1u);
  EXPECT_EQ(DataPacketCount(5), 2u);
  EXPECT_EQ(DataPacketCount(2047), 410u);
}

TEST(UsbPacketTest, AnswerJudgement) {
  using A = std::array<uint8_t, 3>;
  EXPECT_TRUE(JudgeAnswer(A{0x00, '$', 0x80}).accepted);
  // The marker is only examined for unknown statuses; byte 0 never.
  EXPECT_TRUE(JudgeAnswer(A{0x77, '#', 0x80}).accepted);
  for (uint8_t s : {0x2A, 0x82, 0x86, 0x8A}) {
    const AnswerVerdict v = JudgeAnswer(A{0, '$', s});
    EXPECT_FALSE(v.accepted) << int(s);
    EXPECT_FALSE(v.message) << int(s);
  }
  const std::string base = "System Error or Application Program Destruction! Error ID:";
  EXPECT_EQ(JudgeAnswer(A{0, '$', 0x41}).message, base + "A");
  EXPECT_EQ(JudgeAnswer(A{0, '#', 0x41}).message, base + "!$A");
  EXPECT_EQ(JudgeAnswer(A{0, '$', 0x81}).message, base + "\xC2\x81");
  EXPECT_EQ(JudgeAnswer(A{0, '$', 0x8B}).message, base + "\xC2\x8B");
  EXPECT_EQ(JudgeAnswer(A{0, '$', 0xFF}).message, base + "\xC3\xBF");
  EXPECT_EQ(JudgeAnswer(A{0, '$', 0x29}).message, base + ")");
  EXPECT_EQ(JudgeAnswer(A{0, 0x00, 0x00}).message, base + "!$");
  EXPECT_FALSE(JudgeAnswer(A{0, '$', 0x00}).accepted);
}

TEST_F(TransferTest, TenByteImageOnSevenLeds) {
  const auto image = Ramp(10);
  EXPECT_EQ(Send(image, 0), TransferResult::Sent);
  EXPECT_THAT(script.packets,
              ElementsAre(P{0x00, 0x40, 0x40, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x8B},
                          P{0x00, 0x40, 0x23, 0x01, 0x02, 0x03, 0x04, 0x05, 0x72},
                          P{0x00, 0x40, 0x23, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x8B},
                          P{0x00, 0x40, 0x23, 0x00, 0x00, 0x00, 0x00, 0x00, 0x63}));
  EXPECT_THAT(script.calls, ElementsAre("open", "write", "read", "write", "read", "write", "read",
                                        "write", "read", "close 4660"));
  EXPECT_THAT(ranges, ElementsAre(std::pair{0, 2}));
  EXPECT_THAT(positions, ElementsAre(0, 1, 2));
  EXPECT_TRUE(sink.texts.empty());
}

TEST_F(TransferTest, ElevenLedImageIsAnnouncedAndTransformed) {
  const std::vector<uint8_t> image{0x00, 0x81, 0x05, 0x07, 0xFF, 0xE0};
  EXPECT_EQ(Send(image, 1), TransferResult::Sent);
  EXPECT_THAT(script.packets,
              ElementsAre(P{0x00, 0x40, 0x40, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x8B},
                          P{0x00, 0x40, 0x40, 0x01, 0x06, 0x00, 0x00, 0x00, 0x87},
                          P{0x00, 0x40, 0x23, 0xA4, 0x23, 0x9F, 0x9D, 0xA5, 0x0B},
                          P{0x00, 0x40, 0x23, 0xC4, 0x00, 0x00, 0x00, 0x00, 0x27}));
  EXPECT_THAT(positions, ElementsAre(0, 1));
  EXPECT_THAT(ranges, ElementsAre(std::pair{0, 1}));
}

TEST_F(TransferTest, SixteenLedImageTravelsUnchanged) {
  const std::vector<uint8_t> image{0x01, 0x05, 0x11, 0xFF, 0xFF};
  EXPECT_EQ(Send(image, 2), TransferResult::Sent);
  EXPECT_THAT(script.packets,
              ElementsAre(P{0x00, 0x40, 0x40, 0x01, 0x05, 0x00, 0x00, 0x00, 0x86},
                          P{0x00, 0x40, 0x23, 0x01, 0x05, 0x11, 0xFF, 0xFF, 0x78},
                          P{0x00, 0x40, 0x23, 0x00, 0x00, 0x00, 0x00, 0x00, 0x63}));
}

TEST_F(TransferTest, LargestImageUsesSizeClassFour) {
  const auto image = Ramp(2047, 0x30);
  EXPECT_EQ(Send(image, 1), TransferResult::Sent);
  ASSERT_EQ(script.packets.size(), 2u + 410u);
  EXPECT_EQ(script.packets[0], AnnouncementPacket(4).bytes);
  EXPECT_EQ(script.packets[1], LengthPacket(4, 2047).bytes);
  // The last packet carries 2047 mod 5 = 2 bytes, transformed, then zeros.
  EXPECT_EQ(script.packets.back(), UsbPacket::Make(0x23, {static_cast<uint8_t>(0xA4 - image[2045]),
                                                          static_cast<uint8_t>(0xA4 - image[2046]), 0, 0, 0})
                                       .bytes);
  EXPECT_THAT(ranges, ElementsAre(std::pair{0, 409}));
  ASSERT_EQ(positions.size(), 410u);
  EXPECT_EQ(positions.back(), 409);
}

TEST_F(TransferTest, ImageOfRomSizeIsRefusedWithoutOpening) {
  const std::vector<uint8_t> image(2048, 0x11);
  EXPECT_EQ(Send(image, 0), TransferResult::RomOver);
  EXPECT_THAT(sink.texts, ElementsAre("IC ROM Over: 2048 bytes, the toy holds at most 2047"));
  EXPECT_TRUE(script.calls.empty());
  EXPECT_TRUE(ranges.empty());
}

TEST_F(TransferTest, MissingLinkOrAbsentToyIsAConnectFailure) {
  const auto image = Ramp(3);
  UsbLink partial = link;
  partial.ReadUSB = nullptr;
  EXPECT_EQ(TransferImage(partial, image, 0, sink), TransferResult::NoLink);
  EXPECT_TRUE(script.calls.empty());

  script.openResult = -1;
  EXPECT_EQ(Send(image, 0), TransferResult::ConnectFailure);
  EXPECT_THAT(script.calls, ElementsAre("open"));  // nothing to close
  EXPECT_THAT(sink.texts, ElementsAre("USB Device Connect Failure!!!", "USB Device Connect Failure!!!"));
}

TEST_F(TransferTest, WriteFailureEndsTheTransferAtOnce) {
  script.writeFails[3] = true;  // second data packet
  EXPECT_EQ(Send(Ramp(12), 0), TransferResult::PacketFailed);
  EXPECT_THAT(sink.texts, ElementsAre("USB Write Data Error", "USB Write Data Failure!"));
  EXPECT_THAT(script.calls, ElementsAre("open", "write", "read", "write", "read", "write", "close 4660"));
  EXPECT_THAT(positions, ElementsAre(0, 1));
}

TEST_F(TransferTest, ReadFailureOfTheAnnouncementSkipsTheLengthPacket) {
  script.readFails[1] = true;
  EXPECT_EQ(Send(Ramp(12), 1), TransferResult::PacketFailed);
  EXPECT_THAT(sink.texts, ElementsAre("USB Read Data Error", "USB Write Data Failure!"));
  EXPECT_THAT(script.calls, ElementsAre("open", "write", "read", "close 4660"));
  EXPECT_TRUE(ranges.empty());
  EXPECT_TRUE(positions.empty());
}

TEST_F(TransferTest, RefusalStatusesEndTheTransferWithoutTheirOwnMessage) {
  for (uint8_t status : {0x2A, 0x82, 0x8A}) {
    script = Script{};
    sink.texts.clear();
    script.answers[2] = {0x00, '$', status};  // the length packet
    EXPECT_EQ(Send(Ramp(7), 0), TransferResult::PacketFailed);
    EXPECT_THAT(sink.texts, ElementsAre("USB Write Data Failure!")) << int(status);
    EXPECT_EQ(script.packets.size(), 2u);
    EXPECT_EQ(script.calls.back(), "close 4660");
  }
}

TEST_F(TransferTest, UnknownStatusShowsTheSystemErrorFirst) {
  script.answers[3] = {0x00, '#', 0x41};
  EXPECT_EQ(Send(Ramp(7), 2), TransferResult::PacketFailed);
  EXPECT_THAT(sink.texts, ElementsAre("System Error or Application Program Destruction! Error ID:!$A",
                                      "USB Write Data Failure!"));
  EXPECT_EQ(script.packets.size(), 3u);
  EXPECT_EQ(script.calls.back(), "close 4660");
}

TEST_F(TransferTest, FailureOfTheLastDataPacket) {
  script.answers[1 + 3] = {0x00, '$', 0x41};  // length packet + 3 data packets for 10 bytes
  EXPECT_EQ(Send(Ramp(10), 0), TransferResult::PacketFailed);
  EXPECT_THAT(sink.texts, ElementsAre("System Error or Application Program Destruction! Error ID:A",
                                      "USB Write Data Failure!"));
  EXPECT_THAT(positions, ElementsAre(0, 1, 2));
}

TEST_F(TransferTest, PollOpensAndClosesAtOnce) {
  EXPECT_EQ(PollConnection(link), true);
  EXPECT_THAT(script.calls, ElementsAre("open", "close 4660"));
  script.calls.clear();
  script.openResult = -1;
  EXPECT_EQ(PollConnection(link), false);
  EXPECT_THAT(script.calls, ElementsAre("open"));
  script.calls.clear();
  EXPECT_EQ(PollConnection(UsbLink{}), std::nullopt);
  EXPECT_TRUE(script.calls.empty());
}

// A library's answer to "why did the last open fail", for the table below.
struct WhyScript {
  static inline int32_t code = 0;
  static inline std::string text;
  static int32_t Answer(char* out, uint32_t size) {
    std::snprintf(out, size, "%s", text.c_str());
    return code;
  }
};

TEST(ConnectionToolTip, TellsWhyTheToyCannotBeOpened) {
  struct Case {
    std::optional<bool> polled;
    bool libraryTells;
    int32_t code;
    std::string text;
    std::string tip;
  };
  const std::string noPermission =
      "Not connected:\nthe toy is plugged in, but this user may not open it;\ninstall the udev rule "
      "60-kirrup.rules (see README) and plug the toy in again";
  const Case cases[] = {
      {std::nullopt, false, 0, "", "Not connected: no usable USB link library"},
      {true, true, 0, "", "Connected"},
      {false, false, 0, "", "Not connected"},
      {false, true, VEXOUSB_OPEN_NOT_FOUND, "no toy connected", "Not connected"},
      {false, true, VEXOUSB_OPEN_NO_PERMISSION, "toy found at /dev/hidraw3 but ...", noPermission},
      {false, true, VEXOUSB_OPEN_FAILED, "toy found at /dev/hidraw3 but it could not be opened: I/O error",
       "Not connected:\ntoy found at /dev/hidraw3 but it could not be opened: I/O error"},
      {false, true, VEXOUSB_OPEN_FAILED, "", "Not connected:\nthe toy is plugged in, but it could not be opened"},
      {false, true, 99, "odd", "Not connected"},  // a code this program does not know
  };
  for (const Case& c : cases) {
    UsbLink link;
    if (c.libraryTells) link.LastOpenError = &WhyScript::Answer;
    WhyScript::code = c.code;
    WhyScript::text = c.text;
    EXPECT_EQ(ConnectionToolTip(c.polled, LastOpenFailure(link)), c.tip) << c.code << " " << c.text;
  }
}

TEST(ConnectionToolTip, AnOverlongUnterminatedAnswerIsCut) {
  UsbLink link;
  link.LastOpenError = [](char* out, uint32_t size) -> int32_t {
    std::memset(out, 'x', size);
    return VEXOUSB_OPEN_FAILED;
  };
  EXPECT_EQ(LastOpenFailure(link).text, std::string(511, 'x'));
}

}  // namespace
}  // namespace kirrup
