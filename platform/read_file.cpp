// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kirrup::platform {
namespace {

void Fail(FileError* why, int code, std::string reason) {
  if (why) *why = FileError{code, std::move(reason)};
}
void FailErrno(FileError* why) { Fail(why, errno, std::strerror(errno)); }

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& o) noexcept {
  if (this != &o) reset(o.release());
  return *this;
}

void UniqueFd::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool FileError::missing() const { return code == ENOENT || code == ENOTDIR; }

std::string SizeText(uint64_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
  return std::to_string(bytes) + " bytes";
}

UniqueFd OpenRegularFile(const std::string& path, uint64_t& size, FileError* why) {
  // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) {
    FailErrno(why);
    return {};
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    FailErrno(why);
    return {};
  }
  if (S_ISDIR(st.st_mode)) {
    Fail(why, EISDIR, std::strerror(EISDIR));
    return {};
  }
  if (!S_ISREG(st.st_mode)) {
    Fail(why, 0, "not a regular file");
    return {};
  }
  // Regular files never block; reads go back to the ordinary mode.
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  size = static_cast<uint64_t>(st.st_size);
  return fd;
}

bool ReadAt(int fd, uint64_t offset, uint8_t* bytes, size_t count) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, bytes + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& out, FileError* why) {
  uint64_t size = 0;
  const UniqueFd fd = OpenRegularFile(path, size, why);
  if (!fd) return false;
  if (size > maxBytes) {
    Fail(why, EFBIG, "larger than " + SizeText(maxBytes));
    return false;
  }
  // Room for one byte more than allowed: a file that grew since fstat is still caught.
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(size, maxBytes)) + 1);
  size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (done > maxBytes) break;
      bytes.resize(static_cast<size_t>(maxBytes) + 1);
    }
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      FailErrno(why);
      return false;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  if (done > maxBytes) {
    Fail(why, EFBIG, "larger than " + SizeText(maxBytes));
    return false;
  }
  bytes.resize(done);
  out = std::move(bytes);
  return true;
}

}  // namespace kirrup::platform
