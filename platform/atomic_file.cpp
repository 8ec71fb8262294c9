// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kirrup::platform {
namespace {

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Fail(FileError* why, int code) {
  if (why) *why = FileError{code, std::strerror(code)};
  return false;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// "<anything>.~PID-N": the PID when name has that form.
bool TemporaryPid(const char* name, long& pid) {
  const char* mark = std::strrchr(name, '~');
  if (!mark || mark == name || mark[-1] != '.') return false;
  char* end = nullptr;
  pid = std::strtol(mark + 1, &end, 10);
  if (end == mark + 1 || *end != '-' || pid <= 0) return false;
  const char* n = end + 1;
  if (*n == '\0') return false;
  for (; *n; ++n)
    if (*n < '0' || *n > '9') return false;
  return true;
}

bool ProcessGone(long pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

std::atomic<unsigned> g_counter{0};

std::string TemporaryName(const std::string& path) {
  return path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(g_counter++);
}

bool Finish(int fd, std::span<const uint8_t> bytes, FileError* why) {
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) return Fail(why, errno);
  return true;
}

// The unnamed route: nothing with a name exists until the moment before the rename.
// Returns false with errno EOPNOTSUPP (or similar) when the file system has no such files.
enum class Outcome { Done, Failed, Unsupported };
Outcome WriteUnnamed(const std::string& path, const struct stat* existing, std::span<const uint8_t> bytes,
                     FileError* why) {
#ifdef O_TMPFILE
  UniqueFd fd(::open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (!fd) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT) return Outcome::Unsupported;
    Fail(why, errno);
    return Outcome::Failed;
  }
  if (existing) ::fchmod(fd.get(), existing->st_mode & 07777);
  if (!Finish(fd.get(), bytes, why)) return Outcome::Failed;
  const std::string proc = "/proc/self/fd/" + std::to_string(fd.get());
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string temp = TemporaryName(path);
    if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      if (errno == ENOENT) return Outcome::Unsupported;  // no /proc to name the file through
      Fail(why, errno);
      return Outcome::Failed;
    }
    if (std::rename(temp.c_str(), path.c_str()) == 0) return Outcome::Done;
    const int err = errno;
    ::unlink(temp.c_str());
    Fail(why, err);
    return Outcome::Failed;
  }
  Fail(why, EEXIST);
  return Outcome::Failed;
#else
  (void)path, (void)existing, (void)bytes, (void)why;
  return Outcome::Unsupported;
#endif
}

bool WriteNamed(const std::string& path, const struct stat* existing, std::span<const uint8_t> bytes,
                FileError* why) {
  std::string temp;
  UniqueFd fd;
  for (int attempt = 0; attempt < 16 && !fd; ++attempt) {
    temp = TemporaryName(path);
    fd.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd && errno != EEXIST) return Fail(why, errno);
  }
  if (!fd) return Fail(why, EEXIST);
  if (existing) ::fchmod(fd.get(), existing->st_mode & 07777);
  bool ok = Finish(fd.get(), bytes, why);
  if (::close(fd.release()) != 0 && ok) ok = Fail(why, errno);
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = Fail(why, errno);
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

// A writable file in a folder that takes no new names: written where it stands.
bool WriteInPlace(const std::string& path, std::span<const uint8_t> bytes, FileError* why) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW));
  if (!fd) return Fail(why, errno);
  if (!Finish(fd.get(), bytes, why)) return false;
  if (::close(fd.release()) != 0) return Fail(why, errno);
  return true;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const uid_t me = ::geteuid();
  while (const dirent* e = ::readdir(dir)) {
    long pid = 0;
    if (!TemporaryPid(e->d_name, pid) || !ProcessGone(pid)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_uid == me) ::unlinkat(::dirfd(dir), e->d_name, 0);
  }
  ::closedir(dir);
}

namespace {

// The target as it will be written: a symbolic link followed, the file's state when it exists.
bool Target(const std::string& requested, std::string& path, struct stat& st, bool& exists, FileError* why) {
  path = requested;
  if (char* real = ::realpath(requested.c_str(), nullptr)) {
    path = real;
    std::free(real);
  }
  exists = ::stat(path.c_str(), &st) == 0;
  if (!exists) {
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0) return Fail(why, errno);
    if (!S_ISDIR(folder.st_mode)) return Fail(why, ENOTDIR);
    return true;
  }
  // Never replace a non-file.
  if (S_ISDIR(st.st_mode)) return Fail(why, EISDIR);
  if (!S_ISREG(st.st_mode)) {
    if (why) *why = FileError{0, "not a regular file"};
    return false;
  }
  // The rename would go around the file's own permission: ask what opening it would say.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return Fail(why, errno);
  return true;
}

}  // namespace

bool MayWriteFile(const std::string& requested, FileError* why) {
  std::string path;
  struct stat st {};
  bool exists = false;
  return Target(requested, path, st, exists, why);
}

bool WriteFileAtomically(const std::string& requested, std::span<const uint8_t> bytes, FileError* why) {
  std::string path;
  struct stat st {};
  bool exists = false;
  if (!Target(requested, path, st, exists, why)) return false;

  // Temporaries a killed writer left behind go with the next write into their folder.
  RemoveStaleTemporaries(FolderOf(path));
  FileError err;
  switch (WriteUnnamed(path, exists ? &st : nullptr, bytes, &err)) {
    case Outcome::Done: return true;
    case Outcome::Unsupported: break;
    case Outcome::Failed:
      if (exists && (err.code == EACCES || err.code == EPERM)) return WriteInPlace(path, bytes, why);
      if (why) *why = err;
      return false;
  }
  if (WriteNamed(path, exists ? &st : nullptr, bytes, &err)) return true;
  if (exists && (err.code == EACCES || err.code == EPERM)) return WriteInPlace(path, bytes, why);
  if (why) *why = err;
  return false;
}

}  // namespace kirrup::platform
