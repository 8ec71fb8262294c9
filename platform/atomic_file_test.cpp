// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kirrup::platform {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kirrup-atomic-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    oldMask_ = ::umask(022);
  }
  void TearDown() override {
    ::umask(oldMask_);
    fs::remove_all(dir_);
  }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  static bool Write(const std::string& path, const std::string& text, FileError* why = nullptr) {
    return WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), why);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static unsigned Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  mode_t oldMask_ = 0;
};

TEST_F(AtomicFile, NewFilesTakeTheUmaskAndExistingFilesKeepTheirMode) {
  const struct {
    mode_t mask;
    unsigned before;  // 0: no file yet
    unsigned after;
  } cases[] = {{022, 0, 0644}, {077, 0, 0600}, {002, 0, 0664}, {022, 0640, 0640}, {077, 0664, 0664}};
  for (const auto& c : cases) {
    const std::string path = P("out");
    fs::remove(path);
    if (c.before) {
      ASSERT_TRUE(Write(path, "old"));
      ::chmod(path.c_str(), c.before);
    }
    ::umask(c.mask);
    ASSERT_TRUE(Write(path, "new"));
    EXPECT_EQ(Mode(path), c.after) << std::oct << c.mask << " " << c.before;
    EXPECT_EQ(Read(path), "new");
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"out"});  // no temporary left beside it
}

TEST_F(AtomicFile, AFileTheUserMayNotWriteStaysAsItIs) {
  const std::string path = P("OUT.LDAT");
  ASSERT_TRUE(Write(path, "precious"));
  ::chmod(path.c_str(), 0444);
  ::chmod(dir_.c_str(), 0777);  // the folder itself would allow the rename
  // Root may write anything: the check runs as an ordinary user then.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    FileError why;
    const bool ok = Write(path, "replaced", &why);
    ::_exit(ok ? 1 : why.reason == "Permission denied" ? 0 : 2);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Read(path), "precious");
  EXPECT_EQ(Names(), std::vector<std::string>{"OUT.LDAT"});
}

TEST_F(AtomicFile, TemporariesOfDeadWritersGoWithTheNextWrite) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  const std::string mine = "OUT.LDAT.~" + std::to_string(::getpid()) + "-99";
  const std::vector<std::string> seeded = {"OUT.LDAT.~" + std::to_string(dead) + "-3",
                                           "other.gif.~" + std::to_string(dead) + "-0", mine, "notes.~1-x"};
  for (const std::string& name : seeded) std::ofstream(P(name)) << "half";
  ASSERT_TRUE(Write(P("OUT.LDAT"), "whole"));
  std::vector<std::string> expected = {"OUT.LDAT", mine, "notes.~1-x"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(), expected);
}

}  // namespace
}  // namespace kirrup::platform
