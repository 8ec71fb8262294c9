// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/read_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kirrup::platform {
namespace {

namespace fs = std::filesystem;

TEST(ReadFile, OnlyRegularFilesUpToTheCapAreRead) {
  const fs::path dir = fs::temp_directory_path() / ("kirrup-read-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder");
  std::ofstream(dir / "eight") << "12345678";
  std::ofstream(dir / "empty");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);  // no writer: opening must not wait for one
  const struct {
    std::string path;
    uint64_t cap;
    bool ok;
    std::string reason;
  } cases[] = {
      {(dir / "eight").string(), 8, true, ""},
      {(dir / "eight").string(), 7, false, "larger than 7 bytes"},
      {(dir / "empty").string(), 0, true, ""},
      {(dir / "missing").string(), 8, false, "No such file or directory"},
      {(dir / "folder").string(), 8, false, "Is a directory"},
      {(dir / "fifo").string(), 8, false, "not a regular file"},
      {"/dev/zero", 1 << 20, false, "not a regular file"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out = {42};
    FileError why;
    EXPECT_EQ(ReadRegularFile(c.path, c.cap, out, &why), c.ok) << c.path;
    EXPECT_EQ(why.reason, c.reason) << c.path;
    if (!c.ok) {
      EXPECT_EQ(out, std::vector<uint8_t>{42}) << c.path;
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kirrup::platform
