// SPDX-License-Identifier: GPL-2.0-or-later
// LIB/VexoUSB.so: the four entry points over hidapi (hidraw backend).
// The toy talks in unnumbered HID reports: a written packet's byte 0 is the report id 0,
// and an answer read back gets that report id put in front of the report's own bytes.
#include <fcntl.h>
#include <hidapi.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "usb/vexo_usb.h"

namespace {

// A toy that stops answering gives a failed read instead of a frozen program.
constexpr int kReadTimeoutMs = 2000;

struct State {
  std::mutex mutex;
  bool initialised = false;
  std::map<int32_t, hid_device*> devices;
  int32_t nextHandle = 0x4B1;

  ~State() {
    for (auto& [handle, dev] : devices) hid_close(dev);
    if (initialised) hid_exit();
  }
};

State& Global() {
  static State state;
  return state;
}

thread_local int32_t g_lastOpenError = VEXOUSB_OPEN_OK;
thread_local std::string g_lastOpenText;

void SetOpenError(int32_t code, std::string text) {
  g_lastOpenError = code;
  g_lastOpenText = std::move(text);
}

// Callers hold the state's lock for as long as they use the device, so that a close from
// another thread cannot pull it away mid-read.
hid_device* Find(int32_t handle) {
  State& s = Global();
  const auto it = s.devices.find(handle);
  return it == s.devices.end() ? nullptr : it->second;
}

// hidapi does not say why hid_open_path failed; opening the node ourselves does.
void ExplainOpenFailure(const char* path) {
  const int fd = ::open(path, O_RDWR | O_CLOEXEC);
  const int err = fd < 0 ? errno : 0;
  if (fd >= 0) ::close(fd);
  if (err == EACCES || err == EPERM) {
    SetOpenError(VEXOUSB_OPEN_NO_PERMISSION,
                 std::string("toy found at ") + path +
                     " but this user may not open it; install the udev rule 60-kirrup.rules (see README)");
  } else {
    SetOpenError(VEXOUSB_OPEN_FAILED, std::string("toy found at ") + path + " but it could not be opened" +
                                          (err ? std::string(": ") + std::strerror(err) : std::string()));
  }
}

int32_t Open(int32_t vendorId, int32_t productId) {
  State& s = Global();
  {
    std::lock_guard lock(s.mutex);
    if (!s.initialised) {
      if (hid_init() != 0) {
        SetOpenError(VEXOUSB_OPEN_FAILED, "the HID library could not be initialised");
        return -1;
      }
      s.initialised = true;
    }
  }
  if (vendorId < 0 || vendorId > 0xFFFF || productId < 0 || productId > 0xFFFF) {
    SetOpenError(VEXOUSB_OPEN_NOT_FOUND, "no toy connected");
    return -1;
  }
  hid_device_info* list = hid_enumerate(static_cast<unsigned short>(vendorId), static_cast<unsigned short>(productId));
  if (!list) {
    SetOpenError(VEXOUSB_OPEN_NOT_FOUND, "no toy connected");
    return -1;
  }
  hid_device* dev = nullptr;
  std::string firstPath;
  for (hid_device_info* d = list; d && !dev; d = d->next) {
    if (!d->path) continue;
    if (firstPath.empty()) firstPath = d->path;
    dev = hid_open_path(d->path);
  }
  hid_free_enumeration(list);
  if (!dev) {
    ExplainOpenFailure(firstPath.c_str());
    return -1;
  }
  std::lock_guard lock(s.mutex);
  int32_t handle = 0;
  do {
    handle = s.nextHandle;
    s.nextHandle = s.nextHandle >= 0x7FFFFF00 ? 0x4B1 : s.nextHandle + 1;
  } while (s.devices.count(handle));
  s.devices[handle] = dev;
  SetOpenError(VEXOUSB_OPEN_OK, "");
  return handle;
}

}  // namespace

extern "C" {

VEXOUSB_API int32_t OpenUSBDevice(int32_t vendorId, int32_t productId) {
  try {
    return Open(vendorId, productId);
  } catch (...) {
    g_lastOpenError = VEXOUSB_OPEN_FAILED;
    return -1;
  }
}

VEXOUSB_API void CloseUSBDevice(int32_t handle) {
  try {
    State& s = Global();
    std::lock_guard lock(s.mutex);
    const auto it = s.devices.find(handle);
    if (it == s.devices.end()) return;
    hid_close(it->second);
    s.devices.erase(it);
  } catch (...) {
  }
}

VEXOUSB_API uint8_t WriteUSB(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved) {
  try {
    if (moved) *moved = 0;
    std::lock_guard lock(Global().mutex);
    hid_device* dev = Find(handle);
    if (!dev || !bytes || count == 0) return 0;
    const int n = hid_write(dev, bytes, count);
    if (n < 0) return 0;
    if (moved) *moved = static_cast<uint32_t>(n);
    return static_cast<uint32_t>(n) == count ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VEXOUSB_API uint8_t ReadUSB(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved) {
  try {
    if (moved) *moved = 0;
    std::lock_guard lock(Global().mutex);
    hid_device* dev = Find(handle);
    if (!dev || !buffer || count == 0) return 0;
    unsigned char report[64];
    const int n = hid_read_timeout(dev, report, sizeof report, kReadTimeoutMs);
    if (n <= 0) return 0;  // error or time-out
    buffer[0] = 0x00;
    const uint32_t take = std::min<uint32_t>(count - 1, static_cast<uint32_t>(n));
    std::memcpy(buffer + 1, report, take);
    std::memset(buffer + 1 + take, 0, count - 1 - take);
    if (moved) *moved = take + 1;
    return 1;
  } catch (...) {
    return 0;
  }
}

VEXOUSB_API int32_t VexoUSBLastOpenError(char* text, uint32_t size) {
  try {
    if (text && size) std::snprintf(text, size, "%s", g_lastOpenText.c_str());
    return g_lastOpenError;
  } catch (...) {
    return VEXOUSB_OPEN_FAILED;
  }
}

}  // extern "C"
