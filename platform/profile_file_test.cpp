// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/utf.h"

namespace kirrup::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// UTF-16LE bytes of UTF-8 text, with the byte order mark.
std::string U16File(std::string_view utf8) {
  std::string out = "\xFF\xFE";
  for (char16_t c : Utf8ToUtf16(utf8)) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

ProfileFile Parsed(std::string_view bytes) {
  ProfileFile f;
  f.Parse(bytes);
  return f;
}

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteBytes(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class TempDir {
 public:
  TempDir() {
    std::string t = (fs::temp_directory_path() / "kirrup-profile-XXXXXX").string();
    path_ = ::mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(ProfileFile, NamesMatchIgnoringCaseAndValuesAreTrimmedAndUnquoted) {
  const ProfileFile f = Parsed(U16File(
      "[Set]\r\n"
      "  LedType =  3  \r\n"
      "SysFont=\"  Quoted Face  \"\r\n"
      "Single='x'\r\n"
      "Lopsided=\"abc\r\n"
      "Twice=\"\"a\"\"\r\n"
      "NoValue\r\n"
      "; Comment=1\r\n"
      "[ ÄRGER ]\r\n"
      "Ключ=Значение\r\n"));
  EXPECT_EQ(f.GetInt(u"set", u"ledtype", 0), 3);
  EXPECT_EQ(f.GetInt(u" SET ", u"LEDTYPE", 0), 3);
  EXPECT_EQ(f.GetString(u"Set", u"SysFont", u""), u"  Quoted Face  ");
  EXPECT_EQ(f.GetString(u"Set", u"Single", u""), u"x");
  EXPECT_EQ(f.GetString(u"Set", u"Lopsided", u""), u"\"abc");
  EXPECT_EQ(f.GetString(u"Set", u"Twice", u""), u"\"a\"");  // one pair only
  EXPECT_EQ(f.Find(u"Set", u"NoValue"), u"");
  EXPECT_EQ(f.Find(u"Set", u"; Comment"), std::nullopt);
  EXPECT_EQ(f.GetString(u"ärger", u"ключ", u""), u"Значение");
  EXPECT_EQ(f.GetString(u"Set", u"Missing", u"def"), u"def");
  EXPECT_EQ(f.GetString(u"Nope", u"LedType", u"def"), u"def");
}

TEST(ProfileFile, IntegersTakeSignAndLeadingDigitsElseTheDefault) {
  const ProfileFile f = Parsed(U16File(
      "[S]\r\na=12abc\r\nb=-7\r\nc=+9\r\nd=abc\r\ne=\r\nf=-\r\ng=99999999999999999999\r\n"
      "h=-99999999999999999999\r\ni=\" 5\"\r\nj=0x10\r\n"));
  EXPECT_EQ(f.GetInt(u"S", u"a", 42), 12);
  EXPECT_EQ(f.GetInt(u"S", u"b", 42), -7);
  EXPECT_EQ(f.GetInt(u"S", u"c", 42), 9);
  EXPECT_EQ(f.GetInt(u"S", u"d", 42), 42);
  EXPECT_EQ(f.GetInt(u"S", u"e", 42), 42);
  EXPECT_EQ(f.GetInt(u"S", u"f", 42), 42);
  EXPECT_EQ(f.GetInt(u"S", u"g", 42), INT_MAX);
  EXPECT_EQ(f.GetInt(u"S", u"h", 42), INT_MIN);
  EXPECT_EQ(f.GetInt(u"S", u"i", 42), 42);  // a blank inside the quotes is no digit
  EXPECT_EQ(f.GetInt(u"S", u"j", 42), 0);
  EXPECT_EQ(f.GetInt(u"S", u"zz", 42), 42);
}

TEST(ProfileFile, ReadsAreCutToTheLimitButNeverInsideASurrogatePair) {
  const std::string longValue(200, 'x');
  const ProfileFile f = Parsed(U16File("[S]\r\nk=" + longValue + "\r\np=" + std::string(157, 'y') +
                                       "\xF0\x9F\x98\x80\r\n"));
  EXPECT_EQ(f.GetString(u"S", u"k", u"").size(), 158u);
  EXPECT_EQ(f.GetString(u"S", u"k", u"", 79).size(), 79u);
  EXPECT_EQ(f.GetString(u"S", u"p", u""), std::u16string(157, u'y'));
  EXPECT_EQ(f.GetString(u"S", u"p", u"", 159).size(), 159u);
  EXPECT_EQ(f.GetString(u"S", u"missing", std::u16string(300, u'd'), 158).size(), 158u);
}

TEST(ProfileFile, WritesReplaceInPlaceAppendToSectionOrAddSectionKeepingOtherBytes) {
  // LF-only endings, odd spacing and a file ending without a line break must survive.
  const std::string original = U16File(
      "; settings\n"
      "[Set]\n"
      "LEDTYPE = 3 ; note\n"
      "Other=keep  me\n"
      "\r\n"
      "[Mine]\r\n"
      "x=1");
  ProfileFile f = Parsed(original);
  f.WriteInt(u"set", u"LedType", 2);
  f.WriteString(u"Set", u"SysFont", u"宋体");
  f.WriteString(u"Mine", u"y", u"2");
  f.WriteString(u"New", u"k", u"v");
  EXPECT_EQ(f.Serialize(), U16File(
      "; settings\n"
      "[Set]\n"
      "LEDTYPE=2\r\n"
      "Other=keep  me\n"
      "SysFont=宋体\r\n"
      "\r\n"
      "[Mine]\r\n"
      "x=1\r\n"
      "y=2\r\n"
      "[New]\r\n"
      "k=v\r\n"));
  // Written back and read again, every key has its value.
  const ProfileFile g = Parsed(f.Serialize());
  EXPECT_EQ(g.GetInt(u"Set", u"LedType", 0), 2);
  EXPECT_EQ(g.GetString(u"Set", u"Other", u""), u"keep  me");
  EXPECT_EQ(g.GetString(u"Set", u"SysFont", u""), u"宋体");
  EXPECT_EQ(g.GetString(u"new", u"K", u""), u"v");
  EXPECT_EQ(g.Serialize(), f.Serialize());
}

// The last line gets its ending before anything follows it, also when the file's last
// byte (half a character) lies behind it, and a copy writes on without touching the original.
TEST(ProfileFile, WritesAfterAnUnendedLastLineAndOnACopy) {
  ProfileFile f = Parsed(U16File("[A]\r\nk=1") + "\x07");
  const ProfileFile original = f;
  f.WriteString(u"B", u"j", u"2");
  f.WriteString(u"A", u"k", u"3");
  EXPECT_EQ(f.Serialize(), U16File("[A]\r\nk=3\r\n[B]\r\nj=2\r\n"));
  EXPECT_EQ(original.Serialize(), U16File("[A]\r\nk=1"));
  EXPECT_EQ(original.GetInt(u"a", u"K", 0), 1);
  EXPECT_EQ(original.Find(u"B", u"j"), std::nullopt);
}

// U+0178 folds to U+0179, which folds on to U+017A: a name must still find itself.
TEST(ProfileFile, NamesWhoseFoldFoldsAgainFindThemselves) {
  ProfileFile f = Parsed(U16File("[\u0178]\r\n\u0178=1\r\n"));
  EXPECT_EQ(f.GetInt(u"\u0178", u"\u0178", 0), 1);
  f.WriteInt(u"\u0178", u"\u0178", 2);
  f.WriteInt(u"\u0178x", u"\u0178", 3);
  f.WriteInt(u"\u0178x", u"\u0178", 4);
  EXPECT_EQ(f.Serialize(), U16File("[\u0178]\r\n\u0178=2\r\n[\u0178x]\r\n\u0178=4\r\n"));
}

// Names the program writes are found again by the name given, even where the line reads
// back otherwise ("[L]x]" reads as section "L", "a=b=v" as key "a").
TEST(ProfileFile, WrittenNamesAreFoundAsWritten) {
  ProfileFile f;
  f.WriteString(u"L]x", u"k", u"1");
  f.WriteString(u"l]X", u"a=b", u"v");
  f.WriteString(u"L]x", u"a=b", u"w");
  EXPECT_EQ(f.Find(u"L]x", u"k"), u"1");
  EXPECT_EQ(f.Find(u"L]x", u"A=B"), u"w");
  EXPECT_EQ(f.Serialize(), U16File("[L]x]\r\nk=1\r\na=w\r\n"));
}

TEST(ProfileFile, SequentialWritesBehaveLikeWritingTheFileEachTime) {
  ProfileFile f;
  f.WriteInt(u"A", u"k1", 1);
  f.WriteInt(u"B", u"k1", 2);
  f.WriteInt(u"a", u"K2", 3);   // appended to section A, after k1
  f.WriteInt(u"A", u"k1", 4);   // replaced in place
  f.WriteString(u"b", u"k1", u"");
  EXPECT_EQ(f.Serialize(), U16File("[A]\r\nk1=4\r\nK2=3\r\n[B]\r\nk1=\r\n"));
  EXPECT_EQ(f.Find(u"B", u"k1"), u"");
}

TEST(ProfileFile, DuplicateSectionsAndKeysUseTheFirst) {
  ProfileFile f = Parsed(U16File("[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\nj=9\r\n"));
  EXPECT_EQ(f.GetInt(u"S", u"k", 0), 1);
  EXPECT_EQ(f.GetInt(u"S", u"j", 0), 0);
  f.WriteInt(u"S", u"k", 5);
  f.WriteInt(u"S", u"j", 6);
  EXPECT_EQ(f.Serialize(), U16File("[S]\r\nk=5\r\nk=2\r\nj=6\r\n[s]\r\nk=3\r\nj=9\r\n"));
}

TEST(ProfileFile, FileWithoutBomIsReadAndWrittenAsUtf8) {
  ProfileFile f = Parsed("[Set]\nSysFont=宋体\n\xFF\xFE junk\n");
  EXPECT_EQ(f.encoding(), ProfileFile::Encoding::Utf8);
  EXPECT_EQ(f.GetString(u"Set", u"SysFont", u""), u"宋体");
  f.WriteString(u"Set", u"LedType", u"2");
  EXPECT_EQ(f.Serialize(), "[Set]\nSysFont=宋体\n\xFF\xFE junk\nLedType=2\r\n");
  ProfileFile bom = Parsed("\xEF\xBB\xBF[a]\r\nb=ü\r\n");
  EXPECT_EQ(bom.GetString(u"A", u"B", u""), u"ü");
  EXPECT_EQ(bom.Serialize(), "\xEF\xBB\xBF[a]\r\nb=ü\r\n");
}

TEST(ProfileFile, EmptyOrMissingFileBecomesUtf16WithBom) {
  ProfileFile f = Parsed("");
  EXPECT_EQ(f.encoding(), ProfileFile::Encoding::Utf16Le);
  EXPECT_EQ(f.Serialize(), "\xFF\xFE");
  f.WriteString(u"Set", u"bUserFont", u"1");
  EXPECT_EQ(f.Serialize(), U16File("[Set]\r\nbUserFont=1\r\n"));
}

// Outside bytes never crash the reader, and keys the program does not write survive
// its writes with their values.
TEST(ProfileFile, BadInputKeepsForeignKeys) {
  std::mt19937 rng(7);
  std::vector<std::string> inputs = {
      "\xFF\xFE["s,                                   // cut header
      "\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0x"s,             // odd length
      "\xFF\xFE\0\xD8\n\0"s,                            // lone surrogate
      U16File("[Set]\r\nk=" + std::string(100000, 'q') + "\r\nLedType=9\r\n"),
      "[Set]\rk=v\rLedType=1",                        // CR-only endings, no BOM
  };
  std::string garbage(5000, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  inputs.push_back(garbage);
  inputs.push_back("\xFF\xFE" + garbage);
  std::string many = "[Top]\r\n";
  for (int i = 0; i < 5000; ++i) many += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  inputs.push_back(U16File(many));

  for (const std::string& in : inputs) {
    ProfileFile f = Parsed(in);
    // Remember what the reader finds for keys the program does not own.
    const auto before = f.Find(u"Set", u"k", SIZE_MAX);
    const auto s4999 = f.Find(u"S4999", u"k");
    for (int i = 0; i < 70; ++i) {
      f.WriteInt(u"Set", u"LedType", i);
      f.WriteString(u"Lang" + std::u16string(1, char16_t(u'A' + i % 26)), u"B1", u"text");
    }
    const ProfileFile g = Parsed(f.Serialize());
    EXPECT_EQ(g.Find(u"Set", u"k", SIZE_MAX), before);
    EXPECT_EQ(g.Find(u"S4999", u"k"), s4999);
    EXPECT_EQ(g.GetInt(u"Set", u"LedType", -1), 69);
    EXPECT_EQ(g.GetString(u"LangZ", u"B1", u""), u"text");
  }
  EXPECT_EQ(Parsed(inputs[3]).GetString(u"Set", u"k", u"", SIZE_MAX).size(), 100000u);
  EXPECT_EQ(Parsed(inputs[4]).GetString(u"Set", u"k", u""), u"v");
  EXPECT_EQ(Parsed(U16File(many)).GetInt(u"s2500", u"K", 0), 2500);
}

TEST(ProfileFile, Utf16LinesBreakOnlyAtWholeCrAndLfCharacters) {
  // U+0D0A, U+010D and U+0A41 carry CR and LF bytes, in both halves, without being line ends.
  const std::string file = U16File("[Set]\r\nk=\u0D0A\u010D\u0A41x\nj=y\rm=z");
  const ProfileFile f = Parsed(file);
  EXPECT_EQ(f.GetString(u"Set", u"k", u""), u"\u0D0A\u010D\u0A41x");
  EXPECT_EQ(f.GetString(u"Set", u"j", u""), u"y");
  EXPECT_EQ(f.GetString(u"Set", u"m", u""), u"z");
  EXPECT_EQ(f.Serialize(), file);
  // Shifted by one byte (no byte order mark: read as UTF-8 bytes) the same bytes split anew.
  EXPECT_EQ(Parsed(file.substr(2)).Serialize(), file.substr(2));
}

TEST(ProfileFile, SaveReplacesTheFileAtomicallyAndLoadReadsItBack) {
  TempDir dir;
  const fs::path path = dir.path() / "Kirrup.ini";
  const std::string original = U16File("; mine\n[Set]\nLedType=2\n");
  WriteBytes(path, original);
  ::chmod(path.c_str(), 0640);

  ProfileFile f(path.string());
  ASSERT_TRUE(f.Load());
  EXPECT_EQ(f.GetInt(u"Set", u"LedType", 0), 2);
  f.WriteInt(u"Set", u"LedColor", 255);
  ASSERT_TRUE(f.Save());
  EXPECT_EQ(ReadBytes(path), U16File("; mine\n[Set]\nLedType=2\nLedColor=255\r\n"));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // A link is followed: the file it names is replaced, the link stays.
  const fs::path link = dir.path() / "link.ini";
  fs::create_symlink(path, link);
  ProfileFile viaLink(link.string());
  ASSERT_TRUE(viaLink.Load());
  viaLink.WriteInt(u"Set", u"LedType", 3);
  ASSERT_TRUE(viaLink.Save());
  EXPECT_TRUE(fs::is_symlink(link));
  ProfileFile again(path.string());
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.GetInt(u"Set", u"LedType", 0), 3);
}

TEST(ProfileFile, FailedSavesAreSilentAndLeaveTheOldFileWhole) {
  TempDir dir;
  // The folder cannot hold files: LIB is a plain file.
  WriteBytes(dir.path() / "LIB", "not a folder");
  ProfileFile noFolder((dir.path() / "LIB" / "Kirrup.ini").string());
  EXPECT_TRUE(noFolder.Load());  // missing is fine: defaults
  noFolder.WriteInt(u"Set", u"LedType", 1);
  EXPECT_FALSE(noFolder.Save());
  EXPECT_EQ(ReadBytes(dir.path() / "LIB"), "not a folder");

  // The settings path is a folder: it cannot be read, and is never replaced.
  fs::create_directory(dir.path() / "dir.ini");
  ProfileFile isDir((dir.path() / "dir.ini").string());
  EXPECT_FALSE(isDir.Load());
  isDir.WriteInt(u"Set", u"LedType", 1);
  EXPECT_FALSE(isDir.Save());
  EXPECT_TRUE(fs::is_directory(dir.path() / "dir.ini"));

  // The disk fills up while the new file is written.
  const fs::path path = dir.path() / "Kirrup.ini";
  const std::string original = U16File("[Set]\r\nLedType=2\r\n");
  WriteBytes(path, original);
  ProfileFile full(path.string());
  ASSERT_TRUE(full.Load());
  full.WriteString(u"Big", u"k", std::u16string(8000, u'x'));
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = full.Save();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
      << "no temporary file may be left behind";
}

TEST(ProfileFile, OnlyRegularFilesOfAtMostOneMebibyteAreRead) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() / "fifo.ini").c_str(), 0644), 0);  // would block a reading open
  fs::create_symlink("/dev/zero", dir.path() / "zero.ini");        // would never end
  WriteBytes(dir.path() / "feeds.ini", std::string(10 << 20, '\n'));
  WriteBytes(dir.path() / "max.ini", "[Set]\nLedType=3\n" + std::string((1 << 20) - 16, '\n'));
  const struct {
    const char* name;
    bool ok;
    const char* reason;
  } cases[] = {{"fifo.ini", false, "not a regular file"},
               {"zero.ini", false, "not a regular file"},
               {"feeds.ini", false, "larger than 1 MiB"},
               {"max.ini", true, ""},
               {"none.ini", true, "No such file or directory"}};
  for (const auto& c : cases) {
    ProfileFile f((dir.path() / c.name).string());
    EXPECT_EQ(f.Load(), c.ok) << c.name;
    EXPECT_EQ(f.loadError().reason, c.reason) << c.name;
    f.WriteInt(u"Set", u"LedType", 1);
    if (!c.ok) {
      EXPECT_FALSE(f.Save()) << c.name;  // never replaced by our keys alone
    }
  }
  ProfileFile max((dir.path() / "max.ini").string());
  ASSERT_TRUE(max.Load());
  EXPECT_EQ(max.GetInt(u"Set", u"LedType", 0), 3);
}

}  // namespace
}  // namespace kirrup::platform
