// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Moving a device image to the toy: 9-byte packets, each answered by 3 bytes, through
// the four entry points of the USB link library; and the once-a-second connection poll.
// Toolkit-free: the dialog and kirrup-cli share it, progress goes through a callback.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "device/usb_link.h"
#include "platform/message_box.h"

namespace kirrup {

inline constexpr uint8_t kPacketKindAnnounce = 0x40;
inline constexpr uint8_t kPacketKindData = 0x23;
inline constexpr uint8_t kAnswerMarker = '$';
inline constexpr uint8_t kStatusAccepted = 0x80;
// The toy keeps images below this many bytes ("IC ROM Over" from here on).
inline constexpr size_t kDeviceRomSize = 2048;
// The largest image the toy takes.
inline constexpr size_t kDeviceImageMaxBytes = kDeviceRomSize - 1;

// The refusal of an image of `length` bytes: "IC ROM Over" first, then the size and the limit.
std::string RomOverText(size_t length);

// Bytes 0..7 as given, byte 8 the checksum of bytes 1..7.
struct UsbPacket {
  std::array<uint8_t, 9> bytes{};

  // 00 40 kind p0..p4 sum
  static UsbPacket Make(uint8_t kind, std::array<uint8_t, 5> payload);
  bool operator==(const UsbPacket&) const = default;
};

// Sum of bytes 1..7 modulo 256; byte 0 is not summed.
uint8_t PacketChecksum(std::span<const uint8_t, 9> packet);

// 1 below 256 bytes, 2 below 512, 3 below 1024, 4 below 2048; nothing from 2048 on.
std::optional<uint8_t> SizeClass(size_t length);

// 11-LED types only, sent first: 00 40 40 c 0A 00 00 00.
UsbPacket AnnouncementPacket(uint8_t sizeClass);
// 00 40 40 c lo hi 00 00.
UsbPacket LengthPacket(uint8_t sizeClass, uint16_t length);
// Number of data packets for an image of `length` bytes: length div 5 + 1 (the last one
// carries length mod 5 bytes, possibly none, and zero padding).
size_t DataPacketCount(size_t length);
// Data packet `index` of the image: 00 40 23 d0..d4. On the 11-LED type every image byte
// b travels as (0xA4 - b) mod 256; the zero padding of the last packet stays 0.
UsbPacket DataPacket(std::span<const uint8_t> image, size_t index, bool elevenLed);

// How the program judges a 3-byte answer.
struct AnswerVerdict {
  bool accepted = false;
  // The packet's own message when it has one (only for unknown status bytes).
  std::optional<std::string> message;
};
AnswerVerdict JudgeAnswer(std::span<const uint8_t, 3> answer);

// Progress of a transfer: SetRange(0, L div 5) once the length packet is accepted, then
// SetPosition(i) before data packet i. Either may be empty.
struct TransferProgress {
  std::function<void(int low, int high)> SetRange;
  std::function<void(int position)> SetPosition;
};

enum class TransferResult {
  Sent,             // every packet accepted, device closed
  NoLink,           // library or an entry point missing: "USB Device Connect Failure!!!"
  RomOver,          // 2048 bytes or more: "IC ROM Over", device untouched
  ConnectFailure,   // OpenUSBDevice gave -1: "USB Device Connect Failure!!!"
  PacketFailed,     // a packet failed: its own message if any, "USB Write Data Failure!", closed
};

// Sends `image` (ledType 0/1/2 = 7/11/16 LEDs) packet by packet, every failure reported
// through `messages` as an error box. Blocks until done; no packet is ever retried.
TransferResult TransferImage(const UsbLink& link, std::span<const uint8_t> image, int ledType,
                             platform::MessageSink& messages, const TransferProgress& progress = {});

// One connection poll: opens the toy and closes it again at once when that worked.
// Nothing when the link is absent (the caller then leaves its indicator as it is).
std::optional<bool> PollConnection(const UsbLink& link);

// Why the last open of this thread failed, as far as the library can tell; ask right after
// the failed open.
struct OpenFailure {
  enum class Kind { Unknown, NotFound, NoPermission, Other };
  Kind kind = Kind::Unknown;
  std::string text;  // the library's own words
};
OpenFailure LastOpenFailure(const UsbLink& link);

// What a user can do about the failure: for a toy this user may not open, the udev rule to
// install; the library's words for other faults; empty when no toy is there (or it is unknown).
std::string OpenFailureAdvice(const OpenFailure& why);

// The connection indicator's tool tip after a poll (polled: PollConnection's answer).
std::string ConnectionToolTip(std::optional<bool> polled, const OpenFailure& why);

}  // namespace kirrup
