// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The device image: the byte image of all taking-part lines that the toy stores.
//
//   header: 7/16 LEDs: N | 11 LEDs: 0x00, N | 0x80
//   per line, in row order: LineEnd | EffectByte | [CloseOption + 1 with middle options]
//                           | the columns of every character, left to right, transformed
// A row takes part when it is enabled and its line holds a character.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "lines/message_rows.h"
#include "platform/message_box.h"
#include "platform/read_file.h"

namespace kirrup {

inline constexpr const char* kDeviceImageFileName = "USBSendData.bin";

// Effect byte of a line. With middle options: OpenOption + 1 in the high nibble and
// MiddleOption + 1 in the low one; without: the same with OpenOption 0/1 and 7/8 and
// CloseOption 0/1 exchanged, CloseOption in the low nibble.
uint8_t EffectByte(int openOption, int middleOption, int closeOption, bool useMiddle);

// Column transformations into the blade's bit order (row 0, the top LED, in bit 0).
uint8_t TransformColumn7(uint8_t b);
// The two bytes of an 11-LED column as a big-endian value, shifted right by 5.
void TransformColumn11(uint8_t& first, uint8_t& second);

class DeviceImage {
 public:
  static constexpr int kCapacity = 16384;

  // Fills the buffer from the rows and returns N, the number of taking-part rows.
  // The buffer is zeroed and the length 0 first; with N = 0 nothing more is done.
  int Build(const MessageRows& rows);

  std::span<const uint8_t> bytes() const { return {buffer.data(), static_cast<size_t>(length)}; }

  std::array<uint8_t, kCapacity> buffer{};
  int32_t length = 0;
};

// The image's length bytes to the file, replaced whole (an existing file keeps its mode);
// false, with the reason, when it cannot be written.
bool WriteDeviceImageFile(const DeviceImage& image, const std::string& path = kDeviceImageFileName,
                          platform::FileError* why = nullptr);

// Send's first half: builds the image; "No Data Send!" when no row takes part; otherwise
// writes the image file, "USBSendData.bin" in the working directory unless told another
// path (silently skipped when that fails). Returns N; the transfer goes on only when it is
// not 0.
int BuildImageForSend(const MessageRows& rows, DeviceImage& image, platform::MessageSink& sink,
                      const std::string& path = kDeviceImageFileName);

}  // namespace kirrup
