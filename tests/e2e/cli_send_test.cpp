// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli compose -> send through the emulated toy, in a program folder of its own whose
// LIB/VexoUSB.so is the emulator. What the toy receives is checked against the LED data
// file, worked out here independently: the file's records give the dots, the dots give
// the device image, the image gives the packets.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using ::testing::HasSubstr;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
Bytes SlurpBytes(const fs::path& path) {
  const std::string s = Slurp(path);
  return Bytes(s.begin(), s.end());
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// ---- the LED data file, read independently -------------------------------------------

struct Record {
  int width = 0;
  int height = 0;
  Bytes columns;  // stored order: rightmost column first
};
struct LdatFile {
  uint32_t magic = 0;
  int ledType = 0;
  int lineCount = 0;
  std::vector<uint16_t> effects;
  std::vector<std::vector<Record>> lines;
};

int Le16(const Bytes& b, size_t at) { return int16_t(b[at] | (b[at + 1] << 8)); }
int Le32(const Bytes& b, size_t at) {
  return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}

LdatFile ReadLdat(const fs::path& path) {
  const Bytes b = SlurpBytes(path);
  LdatFile f;
  EXPECT_GE(b.size(), 140u);
  if (b.size() < 140) return f;
  f.magic = uint32_t(Le32(b, 0));
  f.ledType = Le16(b, 4);
  f.lineCount = Le16(b, 10);
  size_t at = 140;
  for (int i = 0; i < f.lineCount; ++i) {
    f.effects.push_back(uint16_t(Le16(b, 12 + 2 * i)));
    std::vector<Record> line(size_t(Le16(b, 76 + 2 * i)));
    for (Record& r : line) {
      EXPECT_LE(at + 84, b.size());
      if (at + 84 > b.size()) return f;
      r.width = Le32(b, at + 2);
      r.height = Le32(b, at + 6);
      r.columns.assign(b.begin() + long(at) + 12, b.begin() + long(at) + 84);
      at += 84;
    }
    f.lines.push_back(std::move(line));
  }
  EXPECT_EQ(at, b.size());
  return f;
}

// ---- what the toy should receive -----------------------------------------------------

Bytes ExpectedImage(const LdatFile& f) {
  const bool middle = f.magic == 0x30112345;
  int n = 0;
  for (int i = 0; i < f.lineCount && i < 12; ++i) n += f.lines[size_t(i)].empty() ? 0 : 1;
  Bytes image;
  if (f.ledType == 1) {
    image = {0x00, uint8_t(n | 0x80)};
  } else {
    image = {uint8_t(n)};
  }
  for (int i = 0; i < f.lineCount && i < 12; ++i) {
    const auto& line = f.lines[size_t(i)];
    if (line.empty()) continue;
    int columns = 0;
    for (const Record& r : line) columns += r.width;
    const int word = f.effects[size_t(i)];
    int open = word & 0xFF, close = word >> 8, mid = 0;
    if (middle) {
      mid = (open >> 4) & 0x0F;
      open &= 0x0F;
    }
    image.push_back(uint8_t(columns));
    if (middle) {
      image.push_back(uint8_t(open * 16 + mid + 17));
      image.push_back(uint8_t(close + 1));
    } else {
      const int o = open == 0 ? 1 : open == 1 ? 0 : open == 7 ? 8 : open == 8 ? 7 : open;
      const int c = close == 0 ? 1 : close == 1 ? 0 : close;
      image.push_back(uint8_t(o * 16 + c + 17));
    }
    for (const Record& r : line) {
      const int perColumn = (r.height + 7) / 8;
      for (int col = r.width - 1; col >= 0; --col) {  // device order: leftmost first
        const uint8_t* c = r.columns.data() + col * perColumn;
        if (f.ledType == 0) {
          image.push_back(uint8_t((c[0] & 0xF8) | ((c[0] >> 1) & 0x07)));
        } else if (f.ledType == 1) {
          const unsigned v = ((unsigned(c[0]) << 8) | c[1]) >> 5;
          image.push_back(uint8_t(v >> 8));
          image.push_back(uint8_t(v));
        } else {
          image.push_back(c[0]);
          image.push_back(c[1]);
        }
      }
    }
  }
  return image;
}

std::string HexPacket(std::vector<uint8_t> p) {
  unsigned sum = 0;
  for (size_t i = 1; i < 8; ++i) sum += p[i];
  p.push_back(uint8_t(sum));
  std::string s;
  char buf[3];
  for (uint8_t b : p) {
    std::snprintf(buf, sizeof buf, "%02x", b);
    s += buf;
  }
  return s + "\n";
}

std::string ExpectedLog(const Bytes& image, bool elevenLed) {
  const size_t L = image.size();
  const uint8_t c = L < 256 ? 1 : L < 512 ? 2 : L < 1024 ? 3 : 4;
  std::string log;
  if (elevenLed) log += HexPacket({0x00, 0x40, 0x40, c, 0x0A, 0x00, 0x00, 0x00});
  log += HexPacket({0x00, 0x40, 0x40, c, uint8_t(L), uint8_t(L >> 8), 0x00, 0x00});
  for (size_t i = 0; i <= L / 5; ++i) {
    std::vector<uint8_t> p{0x00, 0x40, 0x23};
    for (size_t k = 0; k < 5; ++k) {
      const size_t at = i * 5 + k;
      p.push_back(at < L ? uint8_t(elevenLed ? 0xA4 - image[at] : image[at]) : 0);
    }
    log += HexPacket(p);
  }
  return log;
}

// ---- LED data files made by hand, nothing but the file format ---------------

struct HandLine {
  int open = 0, middle = 0, close = 0;
  std::vector<int> widths;  // one record per width, dots from a fixed pseudo-random sequence
};

void PutLe(Bytes& b, size_t at, uint32_t v, int size) {
  for (int i = 0; i < size; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

void WriteHandLdat(const fs::path& path, int ledType, bool middle, const std::vector<HandLine>& lines) {
  const int height = ledType == 0 ? 7 : ledType == 1 ? 11 : 16;
  const int maxWidth = ledType == 0 ? 108 : ledType == 1 ? 156 : 144;
  Bytes b(140);
  PutLe(b, 0, middle ? 0x30112345 : 0x20112345, 4);
  PutLe(b, 4, uint32_t(ledType), 2);
  PutLe(b, 6, uint32_t(maxWidth), 2);
  PutLe(b, 8, uint32_t(height), 2);
  PutLe(b, 10, uint32_t(lines.size()), 2);
  uint32_t seed = 12345;
  for (size_t i = 0; i < lines.size(); ++i) {
    const HandLine& l = lines[i];
    PutLe(b, 12 + 2 * i, middle ? uint32_t(l.open | l.middle << 4 | l.close << 8) : uint32_t(l.open | l.close << 8), 2);
    PutLe(b, 76 + 2 * i, uint32_t(l.widths.size()), 2);
  }
  for (const HandLine& l : lines) {
    for (int w : l.widths) {
      Bytes r(84);
      PutLe(r, 0, 0x41, 2);
      PutLe(r, 2, uint32_t(w), 4);
      PutLe(r, 6, uint32_t(height), 4);
      const int bytes = w * ((height + 7) / 8);
      r[11] = uint8_t(bytes);
      for (int k = 0; k < bytes; ++k) {
        seed = seed * 1103515245u + 12345u;
        r[12 + size_t(k)] = uint8_t(seed >> 16);
      }
      b.insert(b.end(), r.begin(), r.end());
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), long(b.size()));
}

// Lines of records at most 36 columns wide (72 bytes on two-byte types) that make an image
// of exactly `target` bytes, as few lines as will do, the columns spread evenly over them.
// Nothing when no number of lines makes that length with this middle-option flag.
std::optional<std::vector<HandLine>> LinesForLength(int ledType, bool middle, size_t target) {
  const size_t perColumn = ledType == 0 ? 1 : 2;
  const size_t maxWidth = ledType == 0 ? 108 : ledType == 1 ? 156 : 144;
  const size_t overhead = middle ? 3 : 2;
  const size_t header = ledType == 1 ? 2 : 1;
  for (size_t m = 1; m <= 12; ++m) {
    if (target < header + m * overhead) break;
    const size_t rest = target - header - m * overhead;
    if (rest % perColumn) continue;
    const size_t columns = rest / perColumn;
    if (columns < m || columns > m * maxWidth) continue;
    std::vector<HandLine> lines;
    for (size_t i = 0; i < m; ++i) {
      HandLine l;
      l.open = int(i % 9);
      l.middle = int(i % 4);
      l.close = int(i % 7);
      for (size_t left = columns / m + (i < columns % m ? 1 : 0); left > 0;) {
        const size_t w = std::min<size_t>(36, left);
        l.widths.push_back(int(w));
        left -= w;
      }
      lines.push_back(l);
    }
    return lines;
  }
  return std::nullopt;
}

// ---- the fixture: a program folder with the emulator as its link library -------------

class CliSendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() /
           ("kirrup-send-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    folder = root / "prog";
    work = root / "work";
    fs::create_directories(folder / "LIB");
    fs::create_directories(work);
    const fs::path bin = KIRRUP_BIN_DIR;
    fs::copy_file(bin / "kirrup-cli", folder / "kirrup-cli");
    for (const auto& e : fs::directory_iterator(bin / "LIB")) {
      const std::string name = e.path().filename();
      if (name == "VexoUSB.so" || name == "VexoUSB-emu.so" || name == "Kirrup.ini") continue;
      fs::copy(e.path(), folder / "LIB" / name, fs::copy_options::recursive);
    }
    UseLinkLibrary(bin / "LIB" / "VexoUSB-emu.so");
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(root);
  }

  void UseLinkLibrary(const fs::path& library) {
    fs::remove(folder / "LIB" / "VexoUSB.so");
    if (!library.empty()) fs::copy_file(library, folder / "LIB" / "VexoUSB.so");
  }

  CliRun Cli(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    std::string cmd = "cd " + Quote(work) + " && env -u VEXOUSB_EMU_FAIL -u VEXOUSB_EMU_CONNECTED";
    cmd += " VEXOUSB_EMU_LOG=" + Quote(root / "log") + " VEXOUSB_EMU_IMAGE=" + Quote(root / "image");
    for (const std::string& e : env) cmd += " " + Quote(e);
    cmd += " " + Quote(folder / "kirrup-cli");
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote(root / "out") + " 2>" + Quote(root / "err") + " </dev/null";
    CliRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(root / "out");
    r.err = Slurp(root / "err");
    return r;
  }

  // compose with the given arguments into work/in.LDAT; the parsed file.
  LdatFile Compose(std::vector<std::string> args) {
    args.insert(args.begin(), "compose");
    args.push_back("-o");
    args.push_back((work / "in.LDAT").string());
    const CliRun r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return ReadLdat(work / "in.LDAT");
  }

  LdatFile HandMade(int ledType, bool middle, const std::vector<HandLine>& lines) {
    WriteHandLdat(work / "in.LDAT", ledType, middle, lines);
    return ReadLdat(work / "in.LDAT");
  }

  CliRun Send(const std::vector<std::string>& env = {}) {
    fs::remove(root / "log");
    fs::remove(root / "image");
    fs::remove(work / "USBSendData.bin");
    return Cli({"send", (work / "in.LDAT").string()}, env);
  }

  // A successful send delivers exactly the expected image in exactly the expected packets.
  void ExpectDelivered(const LdatFile& file, const std::string& what) {
    const Bytes expected = ExpectedImage(file);
    const CliRun r = Send();
    EXPECT_EQ(r.status, 0) << what << "\n" << r.err;
    EXPECT_EQ(r.err, "") << what;  // standard error is no terminal: no progress bar
    EXPECT_EQ(SlurpBytes(work / "USBSendData.bin"), expected) << what;
    EXPECT_EQ(SlurpBytes(root / "image"), expected) << what;
    EXPECT_EQ(Slurp(root / "log"), ExpectedLog(expected, file.ledType == 1)) << what;
  }

  fs::path root, folder, work;
};

const char* LedArg(int type) { return type == 0 ? "7" : type == 1 ? "11" : "16"; }

// Typed text through compose: needs the built-in font data in LIB/.
TEST_F(CliSendTest, ComposedLinesOfEveryTypeWithAndWithoutMiddleOptions) {
  for (int type : {0, 1, 2}) {
    for (bool middle : {false, true}) {
      std::vector<std::string> args{"--led", LedArg(type)};
      if (middle) args.push_back("--middle");
      const std::vector<std::string> lines{"--line", "Hi", "--open", "7", "--middle-effect", "2", "--close", "1",
                                           "--line", "", "--line", "-x9", "--open", "1", "--close", "6",
                                           "--line", "A", "--open", "8", "--middle-effect", "3", "--close", "0"};
      for (size_t i = 0; i < lines.size(); ++i) {
        // compose refuses middle effects for a file without middle options.
        if (!middle && lines[i] == "--middle-effect") {
          ++i;
          continue;
        }
        args.push_back(lines[i]);
      }
      const LdatFile file = Compose(args);
      ASSERT_EQ(file.ledType, type);
      ASSERT_EQ(file.magic, middle ? 0x30112345u : 0x20112345u);
      ASSERT_EQ(file.lineCount, 4);
      if (file.lines[0].empty()) GTEST_SKIP() << "no built-in font data in LIB/: compose typed nothing";
      ASSERT_EQ(file.lines[0].size(), 2u);
      ASSERT_EQ(file.lines[2].size(), 3u);
      ExpectDelivered(file, std::string(LedArg(type)) + (middle ? " middle" : ""));
    }
  }
}

// Files made byte by byte: dots, widths and effects the fonts could not give.
TEST_F(CliSendTest, HandMadeLinesOfEveryTypeWithAndWithoutMiddleOptions) {
  const std::vector<HandLine> lines{
      {7, 2, 1, {5, 1, 36}},
      {0, 0, 0, {}},  // an enabled line without characters is left out
      {1, 3, 6, {3}},
      {8, 1, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (int type : {0, 1, 2}) {
    for (bool middle : {false, true}) {
      const LdatFile file = HandMade(type, middle, lines);
      ExpectDelivered(file, std::string(LedArg(type)) + (middle ? " middle" : ""));
    }
  }
}

TEST_F(CliSendTest, TenByteImageOnSevenLedsLooksLikeAnAnnouncementAndStillArrives) {
  // 1 + 2 + 7 = 10 bytes: the length packet has the bytes of the 11-LED announcement.
  const LdatFile file = HandMade(0, false, {{0, 0, 0, {4, 3}}});
  ASSERT_EQ(ExpectedImage(file).size(), 10u);
  ExpectDelivered(file, "7 LEDs, 10 bytes");
  const LdatFile eleven = HandMade(1, true, {{0, 0, 0, {2}}});
  ASSERT_EQ(ExpectedImage(eleven).size(), 9u);
  ExpectDelivered(eleven, "11 LEDs, 9 bytes");
}

TEST_F(CliSendTest, ImagesJustUnderTheRomSize) {
  // Some lengths need middle options (an odd line record size); the first flag that can
  // make the length is used.
  const auto make = [&](int type, size_t length) {
    for (bool middle : {false, true}) {
      if (auto lines = LinesForLength(type, middle, length)) return HandMade(type, middle, *lines);
    }
    ADD_FAILURE() << "cannot make " << length << " bytes on type " << type;
    return LdatFile{};
  };
  for (int type : {1, 2}) {
    for (size_t length : {2047u, 2046u, 2045u, 1024u, 1023u, 512u, 511u, 256u, 255u}) {
      const LdatFile file = make(type, length);
      ASSERT_EQ(ExpectedImage(file).size(), length);
      ExpectDelivered(file, std::string(LedArg(type)) + " " + std::to_string(length));
    }
    // 2048 bytes: refused before the toy is opened; the image file is written all the same.
    const LdatFile file = make(type, 2048);
    const Bytes image = ExpectedImage(file);
    ASSERT_EQ(image.size(), 2048u);
    const CliRun r = Send();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Kirrup: IC ROM Over: 2048 bytes, the toy holds at most 2047\n");
    EXPECT_FALSE(fs::exists(root / "log"));
    EXPECT_EQ(SlurpBytes(work / "USBSendData.bin"), image);
  }
  // Twelve full lines on 7 LEDs are the largest 7-LED image there is.
  const LdatFile full = make(0, 1 + 12 * 111);
  ASSERT_EQ(full.lineCount, 12);
  ExpectDelivered(full, "7 LEDs, twelve full lines");
}

TEST_F(CliSendTest, EveryFailureMessage) {
  HandMade(1, false, {{0, 0, 0, {9, 9}}});
  struct Case {
    std::string env;
    std::vector<std::string> messages;
  };
  const std::string sys = "System Error or Application Program Destruction! Error ID:";
  const Case cases[] = {
      {"VEXOUSB_EMU_CONNECTED=0", {"USB Device Connect Failure!!!"}},
      {"VEXOUSB_EMU_FAIL=1:write", {"USB Write Data Error", "USB Write Data Failure!"}},
      {"VEXOUSB_EMU_FAIL=2:read", {"USB Read Data Error", "USB Write Data Failure!"}},
      {"VEXOUSB_EMU_FAIL=3:status=2A", {"USB Write Data Failure!"}},
      {"VEXOUSB_EMU_FAIL=3:status=85", {"USB Write Data Failure!"}},
      {"VEXOUSB_EMU_FAIL=4:status=41", {sys + "A", "USB Write Data Failure!"}},
      {"VEXOUSB_EMU_FAIL=4:answer=2341", {sys + "!$A", "USB Write Data Failure!"}},
  };
  for (const Case& c : cases) {
    const CliRun r = Send({c.env});
    EXPECT_EQ(r.status, 1) << c.env;
    size_t at = 0;
    for (const std::string& m : c.messages) {
      const size_t found = r.err.find(m, at);
      EXPECT_NE(found, std::string::npos) << c.env << ": " << m << " in\n" << r.err;
      at = found == std::string::npos ? at : found + m.size();
    }
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), long(c.messages.size())) << c.env << "\n" << r.err;
    EXPECT_FALSE(fs::exists(root / "image")) << c.env;
    EXPECT_TRUE(fs::exists(work / "USBSendData.bin")) << c.env;
  }
}

TEST_F(CliSendTest, SendWithoutAUsableLinkLibrary) {
  HandMade(2, false, {{0, 0, 0, {5}}});
  UseLinkLibrary({});
  CliRun r = Send();
  EXPECT_EQ(r.status, 1);
  const size_t cant = r.err.find("Can't Load ");
  const size_t error = r.err.find(" file error!");
  const size_t connect = r.err.find("USB Device Connect Failure!!!");
  EXPECT_NE(cant, std::string::npos) << r.err;
  EXPECT_LT(cant, error) << r.err;
  EXPECT_LT(error, connect) << r.err;
  EXPECT_NE(connect, std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(work / "USBSendData.bin"));

  UseLinkLibrary(fs::path(KIRRUP_TEST_BIN_DIR) / "fake_usb_no_read.so");
  r = Send();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find("Can't Load "), std::string::npos) << r.err;
  EXPECT_LT(r.err.find(" file error!"), r.err.find("USB Device Connect Failure!!!")) << r.err;
  EXPECT_NE(r.err.find("USB Device Connect Failure!!!"), std::string::npos) << r.err;

  r = Cli({"status"});
  EXPECT_EQ(r.status, 3);
  EXPECT_THAT(r.out, HasSubstr("no usable link library"));
}

TEST_F(CliSendTest, StatusAndBadArguments) {
  CliRun r = Cli({"status"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "connected\n");
  r = Cli({"status"}, {"VEXOUSB_EMU_CONNECTED=0"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "disconnected\n");
  EXPECT_EQ(r.err, "");
  // Plugged in but not this user's to open: said once, with the rule that mends it.
  r = Cli({"status"}, {"VEXOUSB_EMU_CONNECTED=denied"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "disconnected\n");
  EXPECT_THAT(r.err, HasSubstr("this user may not open it; install the udev rule 60-kirrup.rules"));
  EXPECT_EQ(Cli({"status", "extra"}).status, 2);
  EXPECT_EQ(Cli({"send"}).status, 2);
  EXPECT_EQ(Cli({"send", "a.LDAT", "b.LDAT"}).status, 2);

  r = Cli({"send", (work / "missing.LDAT").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, HasSubstr("Open file error!"));
  EXPECT_FALSE(fs::exists(root / "log"));
}

TEST_F(CliSendTest, ProgressBarOnATerminal) {
  HandMade(2, false, *LinesForLength(2, false, 1501));
  // `script` gives the command a terminal; the bar ends full.
  const std::string cmd = "cd " + Quote(work) + " && script -qec " +
                          Quote(Quote(folder / "kirrup-cli") + " send in.LDAT") + " /dev/null > " +
                          Quote(root / "tty");
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const std::string tty = Slurp(root / "tty");
  const Bytes expected = ExpectedImage(ReadLdat(work / "in.LDAT"));
  const std::string last = std::to_string(expected.size() / 5) + "/" + std::to_string(expected.size() / 5);
  EXPECT_THAT(tty, HasSubstr("[" + std::string(40, '#') + "] " + last));

  // A failure half-way: its messages start on lines of their own, not after the bar.
  const std::string failing = "cd " + Quote(work) + " && VEXOUSB_EMU_FAIL=20:status=41 script -qec " +
                              Quote(Quote(folder / "kirrup-cli") + " send in.LDAT") + " /dev/null > " +
                              Quote(root / "tty");
  std::system(failing.c_str());
  const std::string broken = Slurp(root / "tty");
  EXPECT_THAT(broken, HasSubstr("[#"));  // the bar was drawn before the failure
  for (const char* m : {"Kirrup: System Error", "Kirrup: USB Write Data Failure!"}) {
    const size_t at = broken.find(m);
    ASSERT_NE(at, std::string::npos) << m << " in " << broken;
    ASSERT_GT(at, 0u);
    EXPECT_EQ(broken[at - 1], '\n') << m << " in " << broken;
  }
}

}  // namespace
