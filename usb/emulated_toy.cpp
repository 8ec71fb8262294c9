// SPDX-License-Identifier: GPL-2.0-or-later
#include "usb/emulated_toy.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace kirrup::usb {
namespace {

constexpr uint8_t kKindHeader = 0x40;
constexpr uint8_t kKindData = 0x23;

// The toy's own idea of the capacity classes (kept apart from the program's on purpose).
uint8_t ClassOf(size_t length) {
  if (length < 256) return 1;
  if (length < 512) return 2;
  if (length < 1024) return 3;
  if (length < 2048) return 4;
  return 0;
}

bool ParseHexByte(const std::string& s, size_t pos, uint8_t& out) {
  if (pos + 2 > s.size()) return false;
  unsigned v = 0;
  for (size_t i = pos; i < pos + 2; ++i) {
    const char c = s[i];
    v <<= 4;
    if (c >= '0' && c <= '9') v |= unsigned(c - '0');
    else if (c >= 'a' && c <= 'f') v |= unsigned(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') v |= unsigned(c - 'A' + 10);
    else return false;
  }
  out = static_cast<uint8_t>(v);
  return true;
}

std::optional<Fault> ParseFault(const std::string& item) {
  const size_t colon = item.find(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  Fault f;
  unsigned long k = 0;
  for (size_t i = 0; i < colon; ++i) {
    if (item[i] < '0' || item[i] > '9') return std::nullopt;
    k = k * 10 + unsigned(item[i] - '0');
    if (k > 0xFFFFFFFFul) return std::nullopt;
  }
  if (k == 0) return std::nullopt;
  f.packet = static_cast<uint32_t>(k);
  const std::string mode = item.substr(colon + 1);
  if (mode == "write") {
    f.mode = Fault::Mode::Write;
  } else if (mode == "read") {
    f.mode = Fault::Mode::Read;
  } else if (mode.rfind("status=", 0) == 0 && mode.size() == 9) {
    f.mode = Fault::Mode::Answer;
    if (!ParseHexByte(mode, 7, f.status)) return std::nullopt;
  } else if (mode.rfind("answer=", 0) == 0 && mode.size() == 11) {
    f.mode = Fault::Mode::Answer;
    if (!ParseHexByte(mode, 7, f.marker) || !ParseHexByte(mode, 9, f.status)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  return f;
}

// Models a bus that moves one report in `us` microseconds: sleeps most of the time, then
// spins to the deadline so short delays stay accurate.
void WaitUntil(std::chrono::steady_clock::time_point start, uint32_t us) {
  if (us == 0) return;
  using namespace std::chrono;
  const auto deadline = start + microseconds(us);
  if (us > 200) std::this_thread::sleep_until(deadline - microseconds(150));
  while (steady_clock::now() < deadline) {
  }
}

void WriteImageFile(const std::string& path, const std::vector<uint8_t>& image) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f || (!image.empty() && std::fwrite(image.data(), 1, image.size(), f.get()) != image.size()))
    std::fprintf(stderr, "VexoUSB-emu: cannot write %s\n", path.c_str());
}

}  // namespace

uint8_t EmulatedToy::Receive(std::span<const uint8_t> packet) {
  if (packet.size() != 9 || packet[0] != 0x00 || packet[1] != 0x40) return Refuse(kBadFraming);
  unsigned sum = 0;
  for (size_t i = 1; i <= 7; ++i) sum += packet[i];
  if (static_cast<uint8_t>(sum) != packet[8]) return Refuse(kBadChecksum);
  const uint8_t* payload = packet.data() + 3;
  switch (packet[2]) {
    case kKindHeader:
      return HeaderPacket(payload);
    case kKindData:
      if (phase_ == Phase::Ambiguous) {
        // The packet before was the length packet of a 10-byte image, not an announcement.
        phase_ = Phase::Idle;
        const uint8_t length10[5] = {announcedClass_, 0x0A, 0x00, 0x00, 0x00};
        StartData(length10, false);
      }
      if (phase_ != Phase::Data) return Refuse(kOutOfOrder);
      return DataPacket(payload);
    default:
      return Refuse(kBadKind);
  }
}

uint8_t EmulatedToy::HeaderPacket(const uint8_t* p) {
  const uint8_t c = p[0];
  const size_t length = p[1] | (size_t(p[2]) << 8);
  const bool announcementShape = p[1] == 0x0A && p[2] == 0 && p[3] == 0 && p[4] == 0 && c >= 1 && c <= 4;
  const bool lengthShape = p[3] == 0 && p[4] == 0 && c != 0 && ClassOf(length) == c;
  switch (phase_) {
    case Phase::Idle:
      // 00 40 40 01 0A 00 00 00 is both the 11-LED announcement and the length packet of a
      // 10-byte image: the packet after it decides.
      if (announcementShape && lengthShape) {
        phase_ = Phase::Ambiguous;
        announcedClass_ = c;
        return kAccepted;
      }
      if (announcementShape) {
        phase_ = Phase::Announced;
        announcedClass_ = c;
        elevenLed_ = true;
        return kAccepted;
      }
      return StartData(p, false);
    case Phase::Ambiguous:
    case Phase::Announced:
      if (c != announcedClass_) return Refuse(kBadSizeClass);
      return StartData(p, true);
    case Phase::Data:
      break;
  }
  return Refuse(kOutOfOrder);
}

uint8_t EmulatedToy::StartData(const uint8_t* p, bool elevenLed) {
  if (p[3] != 0 || p[4] != 0) return Refuse(kBadPayload);
  const size_t length = p[1] | (size_t(p[2]) << 8);
  if (p[0] == 0 || ClassOf(length) != p[0]) return Refuse(kBadSizeClass);
  phase_ = Phase::Data;
  elevenLed_ = elevenLed;
  length_ = length;
  image_.clear();
  image_.reserve(length);
  return kAccepted;
}

uint8_t EmulatedToy::DataPacket(const uint8_t* p) {
  const size_t take = std::min<size_t>(5, length_ - image_.size());
  for (size_t k = take; k < 5; ++k)
    if (p[k] != 0) return Refuse(kBadPayload);
  for (size_t k = 0; k < take; ++k) image_.push_back(elevenLed_ ? static_cast<uint8_t>(0xA4 - p[k]) : p[k]);
  // The last packet is the one that carries fewer than five bytes (none for a multiple of 5).
  if (take < 5) {
    completed_ = std::move(image_);
    image_.clear();
    phase_ = Phase::Idle;
  }
  return kAccepted;
}

uint8_t EmulatedToy::Refuse(uint8_t status) {
  Reset();
  return status;
}

void EmulatedToy::Reset() {
  phase_ = Phase::Idle;
  announcedClass_ = 0;
  length_ = 0;
  image_.clear();
  completed_.reset();
}

std::optional<std::vector<uint8_t>> EmulatedToy::TakeImage() {
  auto out = std::move(completed_);
  completed_.reset();
  return out;
}

std::optional<std::vector<Fault>> ParseFaults(const std::string& text) {
  std::vector<Fault> faults;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const auto f = ParseFault(text.substr(start, end - start));
    if (!f) return std::nullopt;
    faults.push_back(*f);
    start = end + 1;
  }
  return faults;
}

EmulatorConfig ConfigFromEnvironment() {
  EmulatorConfig c;
  if (const char* v = std::getenv("VEXOUSB_EMU_CONNECTED")) {
    c.denied = std::string(v) == "denied";
    c.connected = std::string(v) != "0" && !c.denied;
  }
  if (const char* v = std::getenv("VEXOUSB_EMU_LOG")) c.logPath = v;
  if (const char* v = std::getenv("VEXOUSB_EMU_IMAGE")) c.imagePath = v;
  // A typo in a plan must not turn a fault test into a pass: the toy then refuses to open.
  if (const char* v = std::getenv("VEXOUSB_EMU_FAIL"); v && *v) {
    if (auto faults = ParseFaults(v)) c.faults = std::move(*faults);
    else c.error = std::string("malformed VEXOUSB_EMU_FAIL=") + v;
  }
  if (const char* v = std::getenv("VEXOUSB_EMU_DELAY_US"); v && *v && c.error.empty()) {
    char* end = nullptr;
    const unsigned long us = std::strtoul(v, &end, 10);
    if (*end == '\0' && v[0] != '-' && us <= 10'000'000ul) c.delayUs = static_cast<uint32_t>(us);
    else c.error = std::string("malformed VEXOUSB_EMU_DELAY_US=") + v;
  }
  return c;
}

int32_t EmulatorLink::Open(const EmulatorConfig& config) {
  if (!config.connected || !config.error.empty()) return -1;
  auto session = std::make_unique<Session>();
  session->config = config;
  std::lock_guard lock(mutex_);
  int32_t handle = 0;
  do {
    handle = nextHandle_;
    nextHandle_ = nextHandle_ >= 0x7FFFFF00 ? 0x4B1 : nextHandle_ + 1;
  } while (sessions_.count(handle));
  sessions_[handle] = std::move(session);
  return handle;
}

void EmulatorLink::Close(int32_t handle) {
  std::lock_guard lock(mutex_);
  sessions_.erase(handle);
}

bool EmulatorLink::Write(int32_t handle, const uint8_t* bytes, uint32_t count, uint32_t* moved) {
  const auto start = std::chrono::steady_clock::now();
  uint32_t delay = 0;
  bool ok = false;
  {
    std::lock_guard lock(mutex_);
    const auto it = sessions_.find(handle);
    if (it != sessions_.end() && bytes) {
      Session& s = *it->second;
      delay = s.config.delayUs;
      const uint32_t number = ++s.written;
      const Fault* fault = nullptr;
      for (const Fault& f : s.config.faults)
        if (f.packet == number) fault = &f;
      s.answer.reset();
      s.failRead = false;
      if (!fault || fault->mode != Fault::Mode::Write) {
        // Opened with the first packet, so that a log file exists only when packets came.
        if (!s.log && !s.logFailed && !s.config.logPath.empty()) {
          s.log.reset(std::fopen(s.config.logPath.c_str(), "a"));
          s.logFailed = !s.log;
          if (s.logFailed) std::fprintf(stderr, "VexoUSB-emu: cannot open %s\n", s.config.logPath.c_str());
        }
        if (s.log) {
          for (uint32_t i = 0; i < count; ++i) std::fprintf(s.log.get(), "%02x", bytes[i]);
          std::fputc('\n', s.log.get());
          std::fflush(s.log.get());
        }
        uint8_t status = s.toy.Receive(std::span(bytes, count));
        uint8_t marker = '$';
        if (fault && fault->mode == Fault::Mode::Answer) {
          marker = fault->marker;
          status = fault->status;
          if (status != kAccepted) s.toy.Reset();
        }
        if (auto image = s.toy.TakeImage(); image && !s.config.imagePath.empty())
          WriteImageFile(s.config.imagePath, *image);
        s.answer = std::array<uint8_t, 3>{0x00, marker, status};
        s.failRead = fault && fault->mode == Fault::Mode::Read;
        ok = true;
      }
    }
  }
  if (moved) *moved = ok ? count : 0;
  WaitUntil(start, delay);
  return ok;
}

bool EmulatorLink::Read(int32_t handle, uint8_t* buffer, uint32_t count, uint32_t* moved) {
  const auto start = std::chrono::steady_clock::now();
  uint32_t delay = 0;
  bool ok = false;
  {
    std::lock_guard lock(mutex_);
    const auto it = sessions_.find(handle);
    if (it != sessions_.end() && buffer) {
      Session& s = *it->second;
      // An answer slower than the link's read time-out is lost as the real link loses it.
      const bool late = s.config.delayUs > s.config.readTimeoutUs;
      delay = late ? s.config.readTimeoutUs : s.config.delayUs;
      // Without an answer waiting (no packet written, or its answer lost) the read times out.
      if (s.answer && !s.failRead && !late) {
        for (uint32_t i = 0; i < count; ++i) buffer[i] = i < 3 ? (*s.answer)[i] : 0;
        ok = true;
      }
      s.answer.reset();
      s.failRead = false;
    }
  }
  if (moved) *moved = ok ? count : 0;
  WaitUntil(start, delay);
  return ok;
}

}  // namespace kirrup::usb
