// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settings_location.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kirrup {
namespace {

namespace fs = std::filesystem;

TEST(SettingsLocation, ConfigHome) {
  struct Case {
    const char* xdg;
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {"/x/conf", "/home/u", "/x/conf"},
      {nullptr, "/home/u", "/home/u/.config"},
      {"", "/home/u", "/home/u/.config"},
      {"relative/conf", "/home/u", "/home/u/.config"},  // invalid: ignored
      {nullptr, nullptr, ""},
      {nullptr, "", ""},
      {nullptr, "not/absolute", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConfigHome(c.xdg, c.home), c.expected) << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

TEST(SettingsLocation, ProgramFolderUnlessLibIsReadOnlyAndAHomeIsKnown) {
  struct Case {
    bool readOnly;
    std::string configHome;
    SettingsPlace place;
    std::string path;
  };
  const Case cases[] = {
      {false, "/home/u/.config", SettingsPlace::ProgramFolder, "/opt/k/LIB/Kirrup.ini"},
      {false, "", SettingsPlace::ProgramFolder, "/opt/k/LIB/Kirrup.ini"},
      {true, "/home/u/.config", SettingsPlace::UserFolder, "/home/u/.config/kirrup/Kirrup.ini"},
      {true, "", SettingsPlace::ProgramFolder, "/opt/k/LIB/Kirrup.ini"},
  };
  for (const Case& c : cases) {
    const SettingsLocation l = ChooseSettingsFile("/opt/k", {c.readOnly, c.configHome});
    EXPECT_EQ(l.place, c.place) << c.readOnly << " " << c.configHome;
    EXPECT_EQ(l.path, c.path);
    EXPECT_EQ(l.shipped, "/opt/k/LIB/Kirrup.ini");
    EXPECT_FALSE(l.why.empty());
  }
}

// Send's image file: the working directory, except for a program whose settings went to
// the user's folder, which writes into the user's cache folder.
TEST(SettingsLocation, DeviceImageFolder) {
  const struct {
    SettingsPlace place;
    const char* xdgCache;
    const char* home;
    std::string expected;
  } cases[] = {
      {SettingsPlace::ProgramFolder, "/c", "/home/u", ""},
      {SettingsPlace::UserFolder, "/c", "/home/u", "/c/kirrup"},
      {SettingsPlace::UserFolder, "relative", "/home/u", "/home/u/.cache/kirrup"},
      {SettingsPlace::UserFolder, nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    SettingsLocation l;
    l.place = c.place;
    EXPECT_EQ(DeviceImageFolder(l, CacheHome(c.xdgCache, c.home)), c.expected);
  }
}

class SettingsLocationFiles : public ::testing::Test {
 protected:
  SettingsLocationFiles() {
    std::string t = (fs::temp_directory_path() / "kirrup-where-XXXXXX").string();
    dir_ = ::mkdtemp(t.data());
    fs::create_directories(dir_ / "prog" / "LIB");
  }
  ~SettingsLocationFiles() override {
    fs::permissions(dir_ / "prog" / "LIB", fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  static void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
  static std::string Read(const fs::path& p) {
    std::stringstream ss;
    ss << std::ifstream(p, std::ios::binary).rdbuf();
    return ss.str();
  }
  SettingsLocation UserLocation() const {
    return ChooseSettingsFile((dir_ / "prog").string(), {true, (dir_ / "home" / ".config").string()});
  }
  fs::path dir_;
};

TEST_F(SettingsLocationFiles, UserFileStartsAsACopyOfTheShippedOneAndIsThenKept) {
  Write(dir_ / "prog/LIB/Kirrup.ini", "\xFF\xFEshipped");
  const SettingsLocation l = UserLocation();
  // Before the first exit the shipped file is what is in force; nothing was created.
  EXPECT_EQ(SettingsFileToRead(l), l.shipped);
  EXPECT_FALSE(fs::exists(dir_ / "home"));

  ASSERT_TRUE(PrepareSettingsFile(l));
  EXPECT_EQ(Read(l.path), "\xFF\xFEshipped");
  EXPECT_EQ(SettingsFileToRead(l), l.path);
  EXPECT_EQ(fs::status(dir_ / "home/.config/kirrup").permissions() & fs::perms::all, fs::perms::owner_all);

  // The user's own file is never overwritten by the shipped one again.
  Write(l.path, "\xFF\xFEmine");
  ASSERT_TRUE(PrepareSettingsFile(l));
  EXPECT_EQ(Read(l.path), "\xFF\xFEmine");
}

TEST_F(SettingsLocationFiles, WithoutAShippedFileOnlyTheFolderIsMade) {
  const SettingsLocation l = UserLocation();
  EXPECT_EQ(SettingsFileToRead(l), l.path);
  ASSERT_TRUE(PrepareSettingsFile(l));
  EXPECT_TRUE(fs::is_directory(fs::path(l.path).parent_path()));
  EXPECT_FALSE(fs::exists(l.path));
}

TEST_F(SettingsLocationFiles, ProgramFolderFileIsLeftAlone) {
  const SettingsLocation l = ChooseSettingsFile((dir_ / "prog").string(), {false, (dir_ / "home").string()});
  EXPECT_TRUE(PrepareSettingsFile(l));
  EXPECT_FALSE(fs::exists(dir_ / "home"));
  EXPECT_FALSE(fs::exists(l.path));
}

TEST_F(SettingsLocationFiles, UnwritableConfigFolderFails) {
  fs::create_directories(dir_ / "home");
  fs::permissions(dir_ / "home", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access((dir_ / "home").c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes read-only folders";
  EXPECT_FALSE(PrepareSettingsFile(UserLocation()));
  fs::permissions(dir_ / "home", fs::perms::owner_all);
}

TEST_F(SettingsLocationFiles, ProbeSeesAReadOnlyLibAndTheEnvironment) {
  ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
  SettingsEnvironment env = ProbeSettingsEnvironment((dir_ / "prog").string());
  EXPECT_FALSE(env.libReadOnly);
  EXPECT_EQ(env.configHome, "/xdg");
  // A program folder without LIB/ stays where it is.
  EXPECT_FALSE(ProbeSettingsEnvironment((dir_ / "nothing").string()).libReadOnly);

  fs::permissions(dir_ / "prog/LIB", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access((dir_ / "prog/LIB").c_str(), W_OK) != 0) {
    EXPECT_TRUE(ProbeSettingsEnvironment((dir_ / "prog").string()).libReadOnly);
  }
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace kirrup
