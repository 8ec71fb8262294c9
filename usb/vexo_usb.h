// SPDX-License-Identifier: GPL-2.0-or-later
/* The four C entry points of a USB link library (LIB/VexoUSB.so and its emulator).
 * Handles are never 0 or -1: -1 means "not present or cannot be opened", 0 is the
 * caller's "no handle open". No C++ exception ever crosses these functions. */
#ifndef KIRRUP_VEXO_USB_H
#define KIRRUP_VEXO_USB_H

#include <stdint.h>

#if defined(__GNUC__)
#define VEXOUSB_API __attribute__((visibility("default")))
#else
#define VEXOUSB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

int32_t OpenUSBDevice(int32_t vendorId, int32_t productId);
void CloseUSBDevice(int32_t handle);
/* Sends count bytes (always 9); non-zero when all went out. */
uint8_t WriteUSB(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved);
/* Reads count bytes (always 3) into buffer; non-zero when the answer was read. */
uint8_t ReadUSB(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved);

/* Optional, looked up by name when wanted: why the calling thread's last OpenUSBDevice
 * returned -1, so that "no toy" and "toy present but not accessible" can be told apart.
 * Writes a one-line explanation (NUL-terminated, cut to size) into text when given. */
enum {
  VEXOUSB_OPEN_OK = 0,            /* the last open worked (or none was tried) */
  VEXOUSB_OPEN_NOT_FOUND = 1,     /* no toy plugged in */
  VEXOUSB_OPEN_NO_PERMISSION = 2, /* a toy is there but may not be opened by this user */
  VEXOUSB_OPEN_FAILED = 3         /* a toy is there but opening it failed otherwise */
};
int32_t VexoUSBLastOpenError(char* text, uint32_t size);
#define VEXOUSB_LAST_OPEN_ERROR_NAME "VexoUSBLastOpenError"

#ifdef __cplusplus
}
#endif

#endif
