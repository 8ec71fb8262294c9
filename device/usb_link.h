// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's view of the USB link library: four entry points resolved at start-up,
// all null when the library or any entry point is missing.
#include <cstdint>

namespace kirrup {

struct UsbLink {
  using OpenFn = int32_t (*)(int32_t vendorId, int32_t productId);
  using CloseFn = void (*)(int32_t handle);
  using WriteFn = uint8_t (*)(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved);
  using ReadFn = uint8_t (*)(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved);
  using LastOpenErrorFn = int32_t (*)(char* text, uint32_t size);

  static constexpr int32_t kVendorId = 0x0C45;
  static constexpr int32_t kProductId = 0x7160;

  OpenFn OpenUSBDevice = nullptr;
  CloseFn CloseUSBDevice = nullptr;
  WriteFn WriteUSB = nullptr;
  ReadFn ReadUSB = nullptr;
  // Optional fifth entry point (VexoUSBLastOpenError): why this thread's last open failed.
  // Null when the library cannot tell; never part of Present().
  LastOpenErrorFn LastOpenError = nullptr;

  // The link counts as present when all four entry points were found.
  bool Present() const { return OpenUSBDevice && CloseUSBDevice && WriteUSB && ReadUSB; }
};

}  // namespace kirrup
