/* The four C entry points of a USB link library (LIB/VexoUSB.so and its emulator).
 * Handles are never 0 or -1: -1 means "not present or cannot be opened", 0 is the
 * caller's "no handle open". No C++ exception ever crosses these functions. */
#ifndef KIRRUP_VEXO_USB_H
#define KIRRUP_VEXO_USB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int32_t OpenUSBDevice(int32_t vendorId, int32_t productId);
void CloseUSBDevice(int32_t handle);
/* Sends count bytes (always 9); non-zero when all went out. */
uint8_t WriteUSB(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved);
/* Reads count bytes (always 3) into buffer; non-zero when the answer was read. */
uint8_t ReadUSB(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved);

#ifdef __cplusplus
}
#endif

#endif
