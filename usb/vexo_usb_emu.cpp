// SPDX-License-Identifier: GPL-2.0-or-later
// LIB/VexoUSB-emu.so: the four entry points over the emulated toy.
#include <atomic>
#include <cstdio>
#include <string>

#include "usb/emulated_toy.h"
#include "usb/vexo_usb.h"

namespace {

kirrup::usb::EmulatorLink& Link() {
  static kirrup::usb::EmulatorLink link;
  return link;
}

// Why the calling thread's last open failed.
thread_local int32_t g_lastOpenError = VEXOUSB_OPEN_OK;
thread_local std::string g_lastOpenText;

}  // namespace

extern "C" {

VEXOUSB_API int32_t OpenUSBDevice(int32_t vendorId, int32_t productId) {
  try {
    g_lastOpenError = VEXOUSB_OPEN_NOT_FOUND;
    g_lastOpenText.clear();
    if (vendorId != 0x0C45 || productId != 0x7160) return -1;
    const kirrup::usb::EmulatorConfig config = kirrup::usb::ConfigFromEnvironment();
    if (!config.error.empty()) {
      g_lastOpenError = VEXOUSB_OPEN_FAILED;
      g_lastOpenText = "emulated toy refuses to open: " + config.error;
      static std::atomic<bool> told{false};  // polling opens every second: say it once
      if (!told.exchange(true)) std::fprintf(stderr, "VexoUSB-emu: %s\n", g_lastOpenText.c_str());
      return -1;
    }
    const int32_t handle = Link().Open(config);
    if (handle != -1) g_lastOpenError = VEXOUSB_OPEN_OK;
    else if (config.denied) g_lastOpenError = VEXOUSB_OPEN_NO_PERMISSION;
    return handle;
  } catch (...) {
    g_lastOpenError = VEXOUSB_OPEN_FAILED;
    return -1;
  }
}

VEXOUSB_API void CloseUSBDevice(int32_t handle) {
  try {
    Link().Close(handle);
  } catch (...) {
  }
}

VEXOUSB_API uint8_t WriteUSB(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved) {
  try {
    return Link().Write(handle, bytes, count, moved) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VEXOUSB_API uint8_t ReadUSB(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved) {
  try {
    return Link().Read(handle, buffer, count, moved) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VEXOUSB_API int32_t VexoUSBLastOpenError(char* text, uint32_t size) {
  const char* why = "";
  if (g_lastOpenError == VEXOUSB_OPEN_NOT_FOUND) why = "emulated toy not connected (VEXOUSB_EMU_CONNECTED=0)";
  if (g_lastOpenError == VEXOUSB_OPEN_FAILED)
    why = g_lastOpenText.empty() ? "emulated toy could not be opened" : g_lastOpenText.c_str();
  if (g_lastOpenError == VEXOUSB_OPEN_NO_PERMISSION)
    why = "emulated toy found but this user may not open it (VEXOUSB_EMU_CONNECTED=denied)";
  if (text && size) std::snprintf(text, size, "%s", why);
  return g_lastOpenError;
}

}  // extern "C"
