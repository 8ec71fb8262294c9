// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading files that come from outside: opened without blocking (a FIFO or a device never
// stalls the program), refused unless they are regular files, and refused when longer than
// what the caller's kind of file can reach. Every refusal carries a reason a person can read.
#include <cstdint>
#include <string>
#include <vector>

namespace kirrup::platform {

// An open file descriptor, closed with its owner.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& o) noexcept : fd_(o.release()) {}
  UniqueFd& operator=(UniqueFd&& o) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

struct FileError {
  int code = 0;        // errno of the failing call; 0 for a refusal of our own
  std::string reason;  // "No such file or directory", "not a regular file", ...
  bool missing() const;  // the file (or a folder on its path) does not exist
};

// Opens a regular file for reading; size receives its length. Empty on failure with why set.
UniqueFd OpenRegularFile(const std::string& path, uint64_t& size, FileError* why = nullptr);

// Reads a whole regular file of at most maxBytes bytes. False (out untouched) when it
// cannot be opened, is not a regular file, is longer than maxBytes or cannot be read.
bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& out,
                     FileError* why = nullptr);

// Reads exactly bytes.size() bytes at offset; false on a short read or an error.
bool ReadAt(int fd, uint64_t offset, uint8_t* bytes, size_t count);

// "1 MiB", "32768 bytes": sizes as the refusals name them.
std::string SizeText(uint64_t bytes);

}  // namespace kirrup::platform
