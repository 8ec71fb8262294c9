// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli and the files it reads and writes: reasons in file errors, hostile and huge
// inputs, output permissions. Run as an ordinary user (root may read and write anything).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialog/ldat_file.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;  // -1: ended by a signal
  std::string out, err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

class CliFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kirrup-cli-files-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ::chmod(dir_.c_str(), 0777);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::string& args) {
    const std::string user = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string cmd = "cd '" + dir_.string() + "' && umask 022 && " + user + "timeout 20 '" +
                            KIRRUP_BIN_DIR + "/kirrup-cli' " + args + " >'" + (dir_ / "stdout").string() +
                            "' 2>'" + (dir_ / "stderr").string() + "'";
    Result r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(dir_ / "stdout");
    r.err = Slurp(dir_ / "stderr");
    return r;
  }
  fs::path Path(const std::string& name) const { return dir_ / name; }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes, fs::perms mode = fs::perms(0644)) {
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    fs::permissions(Path(name), mode);
  }
  unsigned Mode(const std::string& name) const {
    struct stat st {};
    ::stat(Path(name).c_str(), &st);
    return st.st_mode & 07777;
  }

  fs::path dir_;
};

// A 7-LED file of one line holding the given records.
std::vector<uint8_t> OneLine(const std::vector<CharColumns>& records) {
  LdatHeader h;
  h.lineCount = 1;
  h.counts[0] = static_cast<int16_t>(records.size());
  std::vector<uint8_t> bytes(LdatHeader::kSize);
  h.Write(std::span<uint8_t, LdatHeader::kSize>(bytes.data(), LdatHeader::kSize));
  const auto r = WriteRecords(records);
  bytes.insert(bytes.end(), r.begin(), r.end());
  return bytes;
}

CharColumns Record(int width, int height) {
  CharColumns r;
  r.code = 'a';
  r.width = width;
  r.height = height;
  r.byteCount = static_cast<uint8_t>(std::min<int64_t>(int64_t{width} * r.BytesPerColumn(), 72));
  r.columns.fill(0xA5);
  return r;
}

TEST_F(CliFiles, OpenErrorsNameThePathAndTheReason) {
  Write("good.LDAT", OneLine({Record(5, 7)}));
  Write("text.LDAT", {'h', 'e', 'l', 'l', 'o'});
  Write("locked.LDAT", OneLine({Record(5, 7)}), fs::perms::none);
  Write("huge.LDAT", OneLine(std::vector<CharColumns>(12500, Record(1, 7))));  // over 1 MiB
  // A record claiming 2^31 - 1 rows: its bytes per column once overflowed into a crash.
  Write("tall.LDAT", OneLine({Record(3, 7), Record(3, INT_MAX)}));
  fs::create_directory(Path("folder.LDAT"));
  ASSERT_EQ(::mkfifo(Path("fifo.LDAT").c_str(), 0666), 0);
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"a.LDAT", "No such file or directory"},
      {"folder.LDAT", "Is a directory"},
      {"locked.LDAT", "Permission denied"},
      {"fifo.LDAT", "not a regular file"},
      {"text.LDAT", "not an LED data file (shorter than its header)"},
      {"huge.LDAT", "not an LED data file (larger than 1 MiB)"},
      {"tall.LDAT", "not an LED data file (record 2 is 3 by 2147483647 dots)"},
  };
  for (const char* command : {"show", "image", "simulate --ticks 1 -o x.gif"}) {
    for (const auto& c : cases) {
      const Result r = Run(std::string(command) + " " + c.file);
      EXPECT_EQ(r.status, 1) << command << " " << c.file;
      EXPECT_EQ(r.err, std::string("Kirrup: Open file error! ") + c.file + ": " + c.reason + "\n") << command;
    }
  }
  EXPECT_EQ(Run("show good.LDAT").status, 0);
}

TEST_F(CliFiles, ShowPrintsWhatOpenWouldShowNotEveryRecord) {
  // 3000 records in one line (252 KB): the row takes 50 one-column characters.
  Write("many.LDAT", OneLine(std::vector<CharColumns>(3000, Record(1, 7))));
  const Result r = Run("show many.LDAT");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("line 1: open 0, close 0 (effect word 0x0000), 3000 characters, 50 / 108 columns\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("  49: U+0061 'a' column 49, width 1"), std::string::npos);
  EXPECT_EQ(r.out.find("  50: U+0061"), std::string::npos);
  EXPECT_NE(r.out.find("  2950 more records not opened"), std::string::npos);
  EXPECT_LT(r.out.size(), 5000u);
}

TEST_F(CliFiles, OutputsTakeTheUmaskAndExistingFilesKeepTheirMode) {
  Write("in.LDAT", OneLine({Record(5, 7)}));
  const struct {
    const char* command;
    const char* out;
  } cases[] = {
      {"compose --led 7 --line x -o ", "c.LDAT"},
      {"image in.LDAT -o ", "i.bin"},
      {"simulate in.LDAT --ticks 2 -o ", "s.gif"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Run(std::string(c.command) + c.out).status, 0) << c.command;
    EXPECT_EQ(Mode(c.out), 0644u) << c.out;
    ::chmod(Path(c.out).c_str(), 0640);
    ASSERT_EQ(Run(std::string(c.command) + c.out).status, 0) << c.command;
    EXPECT_EQ(Mode(c.out), 0640u) << c.out;
  }
}

TEST_F(CliFiles, AReadOnlyFileIsNotReplaced) {
  Write("OUT.LDAT", {'k', 'e', 'e', 'p'}, fs::perms(0444));
  Write("in.LDAT", OneLine({Record(5, 7)}));
  const struct {
    const char* command;
  } cases[] = {{"compose --led 7 --line x -o OUT.LDAT"}, {"image in.LDAT -o OUT.LDAT"},
               {"simulate in.LDAT --ticks 2 -o OUT.LDAT"}};
  for (const auto& c : cases) {
    const Result r = Run(c.command);
    EXPECT_EQ(r.status, 1) << c.command;
    EXPECT_NE(r.err.find("OUT.LDAT: Permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(Path("OUT.LDAT")), "keep");
  }
  EXPECT_EQ(Run("compose --led 7 --line x -o OUT.LDAT").err, "Kirrup: Write file error! OUT.LDAT: Permission denied\n");
}

}  // namespace
}  // namespace kirrup
