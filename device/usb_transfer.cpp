// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/usb_transfer.h"

#include "usb/vexo_usb.h"

#include "lines/led_type.h"

namespace kirrup {
namespace {

constexpr const char* kConnectFailure = "USB Device Connect Failure!!!";
constexpr const char* kWriteDataError = "USB Write Data Error";
constexpr const char* kReadDataError = "USB Read Data Error";
constexpr const char* kWriteDataFailure = "USB Write Data Failure!";
constexpr const char* kRomOver = "IC ROM Over";
constexpr const char* kSystemError = "System Error or Application Program Destruction! Error ID:";

// The status byte is shown as one character. Bytes above 0x7F are taken as Latin-1 so the
// text stays valid UTF-8; a zero byte ends the text, as it would a C string.
void AppendStatusCharacter(std::string& text, uint8_t status) {
  if (status == 0) return;
  if (status < 0x80) {
    text.push_back(static_cast<char>(status));
  } else {
    text.push_back(static_cast<char>(0xC0 | (status >> 6)));
    text.push_back(static_cast<char>(0x80 | (status & 0x3F)));
  }
}

// Writes one packet and judges its answer; false when the packet failed (its own
// message, if any, already shown).
bool SendPacket(const UsbLink& link, int32_t handle, const UsbPacket& packet,
                platform::MessageSink& messages) {
  uint32_t moved = 0;
  if (!link.WriteUSB(handle, packet.bytes.data(), static_cast<uint32_t>(packet.bytes.size()), &moved)) {
    platform::ErrorBox(messages, "%s", kWriteDataError);
    return false;
  }
  std::array<uint8_t, 3> answer{};
  moved = 0;
  if (!link.ReadUSB(handle, answer.data(), static_cast<uint32_t>(answer.size()), &moved)) {
    platform::ErrorBox(messages, "%s", kReadDataError);
    return false;
  }
  const AnswerVerdict verdict = JudgeAnswer(answer);
  if (verdict.message) platform::ErrorBox(messages, "%s", verdict.message->c_str());
  return verdict.accepted;
}

}  // namespace

UsbPacket UsbPacket::Make(uint8_t kind, std::array<uint8_t, 5> payload) {
  UsbPacket p;
  p.bytes[0] = 0x00;
  p.bytes[1] = 0x40;
  p.bytes[2] = kind;
  for (size_t i = 0; i < payload.size(); ++i) p.bytes[3 + i] = payload[i];
  p.bytes[8] = PacketChecksum(p.bytes);
  return p;
}

uint8_t PacketChecksum(std::span<const uint8_t, 9> packet) {
  unsigned sum = 0;
  for (size_t i = 1; i <= 7; ++i) sum += packet[i];
  return static_cast<uint8_t>(sum);
}

std::string RomOverText(size_t length) {
  return std::string(kRomOver) + ": " + std::to_string(length) + " bytes, the toy holds at most " +
         std::to_string(kDeviceImageMaxBytes);
}

std::optional<uint8_t> SizeClass(size_t length) {
  if (length < 256) return 1;
  if (length < 512) return 2;
  if (length < 1024) return 3;
  if (length < kDeviceRomSize) return 4;
  return std::nullopt;
}

UsbPacket AnnouncementPacket(uint8_t sizeClass) {
  return UsbPacket::Make(kPacketKindAnnounce, {sizeClass, 0x0A, 0x00, 0x00, 0x00});
}

UsbPacket LengthPacket(uint8_t sizeClass, uint16_t length) {
  return UsbPacket::Make(kPacketKindAnnounce, {sizeClass, static_cast<uint8_t>(length & 0xFF),
                                               static_cast<uint8_t>(length >> 8), 0x00, 0x00});
}

size_t DataPacketCount(size_t length) { return length / 5 + 1; }

UsbPacket DataPacket(std::span<const uint8_t> image, size_t index, bool elevenLed) {
  std::array<uint8_t, 5> payload{};
  const size_t start = index * 5;
  for (size_t k = 0; k < payload.size() && start + k < image.size(); ++k) {
    const uint8_t b = image[start + k];
    payload[k] = elevenLed ? static_cast<uint8_t>(0xA4 - b) : b;
  }
  return UsbPacket::Make(kPacketKindData, payload);
}

AnswerVerdict JudgeAnswer(std::span<const uint8_t, 3> answer) {
  const uint8_t marker = answer[1];
  const uint8_t status = answer[2];
  if (status == kStatusAccepted) return {true, std::nullopt};
  // Refusals the toy reports on its own terms: the transfer ends without a message of its own.
  if (status == 0x2A || (status >= 0x82 && status <= 0x8A)) return {false, std::nullopt};
  std::string text = kSystemError;
  if (marker != kAnswerMarker) text += "!$";
  AppendStatusCharacter(text, status);
  return {false, std::move(text)};
}

TransferResult TransferImage(const UsbLink& link, std::span<const uint8_t> image, int ledType,
                             platform::MessageSink& messages, const TransferProgress& progress) {
  if (!link.Present()) {
    platform::ErrorBox(messages, "%s", kConnectFailure);
    return TransferResult::NoLink;
  }
  const std::optional<uint8_t> sizeClass = SizeClass(image.size());
  if (!sizeClass) {
    platform::ErrorBox(messages, "%s", RomOverText(image.size()).c_str());
    return TransferResult::RomOver;
  }
  const int32_t handle = link.OpenUSBDevice(UsbLink::kVendorId, UsbLink::kProductId);
  if (handle == -1) {
    platform::ErrorBox(messages, "%s", kConnectFailure);
    return TransferResult::ConnectFailure;
  }

  const bool elevenLed = ledType == kLed11;
  const auto fail = [&] {
    platform::ErrorBox(messages, "%s", kWriteDataFailure);
    link.CloseUSBDevice(handle);
    return TransferResult::PacketFailed;
  };

  if (elevenLed && !SendPacket(link, handle, AnnouncementPacket(*sizeClass), messages)) return fail();
  if (!SendPacket(link, handle, LengthPacket(*sizeClass, static_cast<uint16_t>(image.size())), messages))
    return fail();

  const size_t packets = DataPacketCount(image.size());
  if (progress.SetRange) progress.SetRange(0, static_cast<int>(image.size() / 5));
  for (size_t i = 0; i < packets; ++i) {
    if (progress.SetPosition) progress.SetPosition(static_cast<int>(i));
    if (!SendPacket(link, handle, DataPacket(image, i, elevenLed), messages)) return fail();
  }
  link.CloseUSBDevice(handle);
  return TransferResult::Sent;
}

std::optional<bool> PollConnection(const UsbLink& link) {
  if (!link.Present()) return std::nullopt;
  const int32_t handle = link.OpenUSBDevice(UsbLink::kVendorId, UsbLink::kProductId);
  if (handle == -1) return false;
  link.CloseUSBDevice(handle);
  return true;
}

OpenFailure LastOpenFailure(const UsbLink& link) {
  OpenFailure why;
  if (!link.LastOpenError) return why;
  char text[512] = {};
  switch (link.LastOpenError(text, sizeof text)) {
    case VEXOUSB_OPEN_NOT_FOUND:
      why.kind = OpenFailure::Kind::NotFound;
      break;
    case VEXOUSB_OPEN_NO_PERMISSION:
      why.kind = OpenFailure::Kind::NoPermission;
      break;
    case VEXOUSB_OPEN_FAILED:
      why.kind = OpenFailure::Kind::Other;
      break;
    default:
      break;
  }
  text[sizeof text - 1] = '\0';  // a library that forgot the terminator
  why.text = text;
  return why;
}

std::string OpenFailureAdvice(const OpenFailure& why) {
  switch (why.kind) {
    case OpenFailure::Kind::NoPermission:
      return "the toy is plugged in, but this user may not open it; install the udev rule 60-kirrup.rules "
             "(see README) and plug the toy in again";
    case OpenFailure::Kind::Other:
      return why.text.empty() ? "the toy is plugged in, but it could not be opened" : why.text;
    default:
      return {};
  }
}

std::string ConnectionToolTip(std::optional<bool> polled, const OpenFailure& why) {
  if (!polled) return "Not connected: no usable USB link library";
  if (*polled) return "Connected";
  std::string advice = OpenFailureAdvice(why);
  if (advice.empty()) return "Not connected";
  // A tool tip does not wrap by itself: one clause a line.
  for (size_t at = 0; (at = advice.find("; ", at)) != std::string::npos;) advice.replace(at, 2, ";\n");
  return "Not connected:\n" + advice;
}

}  // namespace kirrup
