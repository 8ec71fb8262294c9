// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A software model of the toy's end of the USB link, behind the same four entry points as
// the real library (LIB/VexoUSB-emu.so). It checks every packet, answers like the toy,
// reassembles the image and can be told to fail. Driven by environment variables:
//   VEXOUSB_EMU_CONNECTED=0     OpenUSBDevice returns -1 (default: connected)
//   VEXOUSB_EMU_CONNECTED=denied  a toy is there but this user may not open it: -1 as well
//   VEXOUSB_EMU_LOG=FILE        every packet WriteUSB receives, appended as 18 hex digits a line
//   VEXOUSB_EMU_IMAGE=FILE      the reassembled image, written after the last data packet
//   VEXOUSB_EMU_FAIL=K:MODE[,K:MODE...]  the K-th packet written since opening (1-based) fails:
//                               write | read | status=HH | answer=MMHH
//   VEXOUSB_EMU_DELAY_US=N      every WriteUSB and ReadUSB takes N microseconds; above the
//                               link's 2-second read time-out every ReadUSB fails after 2 s
// A malformed VEXOUSB_EMU_FAIL or VEXOUSB_EMU_DELAY_US makes OpenUSBDevice fail.
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kirrup::usb {

// The statuses the emulated toy answers with (marker "$").
enum ToyStatus : uint8_t {
  kAccepted = 0x80,
  kBadFraming = 0x82,     // byte 0 not 0x00 or byte 1 not 0x40, or not 9 bytes
  kBadChecksum = 0x83,
  kBadKind = 0x84,        // neither 0x40 nor 0x23
  kOutOfOrder = 0x85,     // data before the length, header packet amid the data
  kBadSizeClass = 0x86,   // size class does not fit the length (or the announcement)
  kBadPayload = 0x87,     // non-zero bytes where zeros belong
};

// The toy's side of one transfer: announcement (11 LEDs only), length, data packets.
class EmulatedToy {
 public:
  // Takes one written packet and returns the status byte of the answer.
  uint8_t Receive(std::span<const uint8_t> packet);
  // Forgets a transfer under way or just completed (after a refused packet the toy starts over).
  void Reset();

  // The image of the transfer that ended with the last accepted data packet, as the
  // program built it (the 11-LED byte transformation undone); empty until then.
  std::optional<std::vector<uint8_t>> TakeImage();
  // Whether the transfer under way (or the last one) was announced as 11-LED.
  bool ElevenLed() const { return elevenLed_; }

 private:
  enum class Phase { Idle, Ambiguous, Announced, Data };

  uint8_t HeaderPacket(const uint8_t* payload);
  uint8_t StartData(const uint8_t* payload, bool elevenLed);
  uint8_t DataPacket(const uint8_t* payload);
  uint8_t Refuse(uint8_t status);

  Phase phase_ = Phase::Idle;
  uint8_t announcedClass_ = 0;
  bool elevenLed_ = false;
  size_t length_ = 0;
  std::vector<uint8_t> image_;
  std::optional<std::vector<uint8_t>> completed_;
};

struct Fault {
  enum class Mode { Write, Read, Answer };
  uint32_t packet = 0;  // 1-based, counted since the device was opened
  Mode mode = Mode::Write;
  uint8_t marker = '$';
  uint8_t status = 0;
  bool operator==(const Fault&) const = default;
};
// "K:MODE[,K:MODE...]"; nothing when any part is malformed.
std::optional<std::vector<Fault>> ParseFaults(const std::string& text);

struct EmulatorConfig {
  bool connected = true;
  bool denied = false;  // not connected because of permissions
  std::string logPath;
  std::string imagePath;
  std::vector<Fault> faults;
  uint32_t delayUs = 0;
  uint32_t readTimeoutUs = 2'000'000;  // the real link's read time-out
  std::string error;                   // a malformed variable: opening fails
};
// Reads the VEXOUSB_EMU_* variables; a malformed value is named in error.
EmulatorConfig ConfigFromEnvironment();

// The four entry points' state: open handles, each with its own toy, fault plan and files.
class EmulatorLink {
 public:
  int32_t Open(const EmulatorConfig& config);
  void Close(int32_t handle);
  bool Write(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved);
  bool Read(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved);

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  struct Session {
    EmulatorConfig config;
    EmulatedToy toy;
    std::unique_ptr<std::FILE, FileCloser> log;
    bool logFailed = false;
    uint32_t written = 0;
    std::optional<std::array<uint8_t, 3>> answer;  // what the next ReadUSB returns
    bool failRead = false;
  };

  std::mutex mutex_;
  std::map<int32_t, std::unique_ptr<Session>> sessions_;
  int32_t nextHandle_ = 0x4B1;
};

}  // namespace kirrup::usb
