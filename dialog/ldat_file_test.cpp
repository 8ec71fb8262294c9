// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/ldat_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;
using testing::MakeRecord;
using testing::PatternDot;

class RecordingSink : public platform::MessageSink {
 public:
  std::vector<std::string> texts;
  void Show(platform::MessageIcon, const std::string&, const std::string& text) override { texts.push_back(text); }
};

std::vector<uint8_t> Hex(const std::string& hex) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char c : hex)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

// A record of hand-chosen columns, stored order, zero-padded to 84 bytes.
std::vector<uint8_t> RecordBytes(const std::string& headHex, const std::string& columnsHex) {
  std::vector<uint8_t> r = Hex(headHex);
  const std::vector<uint8_t> cols = Hex(columnsHex);
  r.insert(r.end(), cols.begin(), cols.end());
  r.resize(84, 0);
  return r;
}

std::unique_ptr<MessageRows> Rows(int type) { return std::make_unique<MessageRows>(type); }

void Append(MessageLine& line, const CharColumns& r) {
  line.MoveCaret(+100, false);
  ASSERT_TRUE(line.InsertRecord(r));
  line.MoveCaret(+1, false);
}

std::vector<std::string> AllDots(const MessageRows& rows) {
  std::vector<std::string> out;
  for (const MessageRow& row : rows.rows()) {
    std::string s = row.enabled ? "on:" : "off:";
    for (const std::string& r : testing::LineDots(row.line)) s += r + "|";
    s += std::to_string(row.openOption) + "," + std::to_string(row.middleOption) + "," +
         std::to_string(row.closeOption);
    out.push_back(s);
  }
  return out;
}

class LdatFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kirrup-ldat-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST(LdatFile, TwoLettersOnSevenLedsByteForByte) {
  auto rows = Rows(kLed7);
  // "A": left column only the top row, right column only the bottom row.
  // "B": one column, rows 0 and 6 lit.
  Append((*rows)[0].line, MakeRecord('A', 2, 7, [](int i, int j) { return (i == 0 && j == 0) || (i == 1 && j == 6); }));
  Append((*rows)[0].line, MakeRecord('B', 1, 7, [](int, int j) { return j == 0 || j == 6; }));
  (*rows)[1].enabled = true;  // typing enabled the next row
  const std::vector<uint8_t> bytes = SerializeLdat(*rows);

  std::vector<uint8_t> want = Hex("45 23 11 20  00 00  6C 00  07 00  02 00");
  want.resize(140, 0);
  want[76] = 2;  // count of line 0; line 1 has 0 records
  const auto a = RecordBytes("41 00 02 00 00 00 07 00 00 00 00 02", "80 02");
  const auto b = RecordBytes("42 00 01 00 00 00 07 00 00 00 00 01", "82");
  want.insert(want.end(), a.begin(), a.end());
  want.insert(want.end(), b.begin(), b.end());
  ASSERT_EQ(bytes.size(), 308u);
  EXPECT_EQ(bytes, want);
}

TEST(LdatFile, MiddleOptionsOnElevenLedsByteForByte) {
  auto rows = Rows(kLed11);
  rows->useMiddleOption = 1;
  MessageRow& row = (*rows)[0];
  Append(row.line, MakeRecord('|', 1, 11, [](int, int) { return true; }));
  row.openOption = 3, row.middleOption = 2, row.closeOption = 5;
  std::vector<uint8_t> want = Hex("45 23 11 30  01 00  8E 00  0B 00  01 00  23 05");
  want.resize(140, 0);
  want[76] = 1;
  const auto rec = RecordBytes("7C 00 01 00 00 00 0B 00 00 00 00 02", "FF E0");
  want.insert(want.end(), rec.begin(), rec.end());
  EXPECT_EQ(SerializeLdat(*rows), want);

  rows->useMiddleOption = 0;
  EXPECT_EQ(EffectWord(3, 2, 5, false), 0x0503);
  EXPECT_EQ(EffectWord(3, 2, 5, true), 0x0523);
}

TEST(LdatFile, EffectWordsDecodeIntoRange) {
  EXPECT_EQ(DecodeEffectWord(0x0603, false).openOption, 3);
  EXPECT_EQ(DecodeEffectWord(0x0603, false).closeOption, 6);
  EXPECT_EQ(DecodeEffectWord(0x0523, true).middleOption, 2);
  // Beyond the lists: the first item.
  EXPECT_EQ(DecodeEffectWord(0x0709, false).openOption, 0);
  EXPECT_EQ(DecodeEffectWord(0x0709, false).closeOption, 0);
  EXPECT_EQ(DecodeEffectWord(0xFF4A, true).openOption, 0);
  EXPECT_EQ(DecodeEffectWord(0xFF4A, true).middleOption, 0);
  EXPECT_EQ(DecodeEffectWord(0x0038, true).middleOption, 3);
  EXPECT_EQ(DecodeEffectWord(0x0038, true).openOption, 8);
}

// Header with the given counts, followed by the given number of records.
std::vector<uint8_t> FileWith(int16_t n, const std::vector<int16_t>& counts, size_t records, int16_t type = 1,
                              uint32_t magic = LdatHeader::kMagic) {
  LdatHeader h;
  h.magic = magic;
  h.ledType = type;
  h.lineCount = n;
  for (size_t i = 0; i < counts.size(); ++i) {
    h.counts[i] = counts[i];
    h.effects[i] = static_cast<uint16_t>(0x0201 + i);
  }
  std::vector<uint8_t> bytes(140);
  h.Write(std::span<uint8_t, 140>(bytes.data(), 140));
  for (size_t i = 0; i < records; ++i) {
    CharColumns r = MakeRecord(static_cast<uint16_t>('a' + i % 26), 3, 11,
                               [i](int x, int y) { return PatternDot(static_cast<uint32_t>(i), x, y); });
    std::array<uint8_t, 84> raw{};
    r.Write(raw);
    bytes.insert(bytes.end(), raw.begin(), raw.end());
  }
  return bytes;
}

TEST(LdatFile, LineCountsAreLimitedAndOnlyTwelveRowsFill) {
  std::vector<int16_t> counts(32, 1);
  LdatData data;
  ASSERT_TRUE(ParseLdat(FileWith(40, counts, 32), data));
  EXPECT_EQ(data.lineCount(), 32);
  EXPECT_EQ(data.records.size(), 32u);
  EXPECT_EQ(data.firstRecord[31], 31);
  auto rows = Rows(kLed7);
  ApplyLdat(data, *rows);
  EXPECT_EQ(rows->ledType(), kLed11);
  for (int i = 0; i < 12; ++i) {
    EXPECT_TRUE((*rows)[i].enabled);
    ASSERT_EQ((*rows)[i].line.itemCount(), 1);
    EXPECT_EQ((*rows)[i].line.item(0).code, 'a' + i);
    EXPECT_EQ((*rows)[i].openOption, 1 + i < 9 ? 1 + i : 0);  // 10..12 are beyond the list
    EXPECT_EQ((*rows)[i].closeOption, 2);
  }

  // n = 0: all rows empty and disabled; Clear enables row 1 again.
  ASSERT_TRUE(ParseLdat(FileWith(0, {}, 0), data));
  ApplyLdat(data, *rows);
  for (const MessageRow& row : rows->rows()) {
    EXPECT_FALSE(row.enabled);
    EXPECT_EQ(row.line.itemCount(), 0);
    EXPECT_EQ(row.openOption + row.middleOption + row.closeOption, 0);
  }
  rows->Clear();
  EXPECT_TRUE((*rows)[0].enabled);
  EXPECT_FALSE((*rows)[1].enabled);

  // Exactly 140 bytes whose counts are all 0.
  ASSERT_TRUE(ParseLdat(FileWith(3, {0, 0, 0}, 0), data));
  ApplyLdat(data, *rows);
  EXPECT_EQ(rows->EnabledPrefix(), 3);
}

TEST(LdatFile, RefusalsTouchNothing) {
  LdatData held;
  ASSERT_TRUE(ParseLdat(FileWith(2, {1, 2}, 3), held));
  const LdatData before = held;
  auto eq = [&before](const LdatData& d) {
    return d.header == before.header && d.records == before.records && d.firstRecord == before.firstRecord;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      std::vector<uint8_t>(139, 0),
      FileWith(2, {1, 2}, 2),                     // fewer records than promised
      FileWith(2, {-1, 2}, 1),                    // a negative count
      FileWith(3, {2, -2, 1}, 3),                 // sums to what the file holds, still refused
      FileWith(1, {32767}, 2),                    // huge
      FileWith(1, {1}, 1, 1, 0x20112346),         // another magic
  };
  for (const auto& bytes : bad) {
    EXPECT_FALSE(ParseLdat(bytes, held));
    EXPECT_TRUE(eq(held));
  }
  // A negative count beyond n is not read at all.
  EXPECT_TRUE(ParseLdat(FileWith(1, {1, -5}, 1), held));
  // Trailing bytes after the records are ignored.
  auto longer = FileWith(1, {1}, 1);
  longer.resize(longer.size() + 50, 0xAB);
  EXPECT_TRUE(ParseLdat(longer, held));
}

TEST(LdatFile, ApplyingNormalisesTypeAndReportsTheMiddleFlag) {
  auto rows = Rows(kLed16);
  (*rows)[0].middleOption = 3;
  LdatData data;
  ASSERT_TRUE(ParseLdat(FileWith(1, {1}, 1, 9), data));
  EXPECT_FALSE(ApplyLdat(data, *rows));
  EXPECT_EQ(rows->ledType(), kLed7);
  EXPECT_EQ((*rows)[0].line.height(), 7);
  EXPECT_EQ((*rows)[0].middleOption, 3);  // not stored without middle options

  ASSERT_TRUE(ParseLdat(FileWith(1, {1}, 1, 2, LdatHeader::kMagicMiddle), data));
  EXPECT_TRUE(ApplyLdat(data, *rows));
  EXPECT_EQ(rows->useMiddleOption, 1);
  EXPECT_EQ((*rows)[0].openOption, 1);   // 0x0201: open 1, middle 0, close 2
  EXPECT_EQ((*rows)[0].middleOption, 0);
  EXPECT_FALSE(ApplyLdat(data, *rows));
}

TEST_F(LdatFileOnDisk, SaveAndOpenReproduceEditedDots) {
  auto rows = Rows(kLed16);
  rows->useMiddleOption = 1;
  for (int r = 0; r < 3; ++r) {
    MessageRow& row = (*rows)[r];
    row.enabled = true;
    for (int c = 0; c < 4 + r; ++c)
      Append(row.line, MakeRecord(static_cast<uint16_t>(0x4E00 + c), 5 + c, 16,
                                  [c, r](int i, int j) { return PatternDot(c * 31 + r, i, j); }));
    row.openOption = r + 6, row.middleOption = r + 1, row.closeOption = 6 - r;
  }
  (*rows)[1].line.SetStripPixel(3, 4, platform::kInk);  // drawn in the character editor
  (*rows)[1].line.SetStripPixel(4, 4, platform::kPaper);
  (*rows)[3].enabled = true;  // enabled and empty: stored with count 0
  const auto want = AllDots(*rows);

  RecordingSink sink;
  const std::string path = Path("msg.LDAT");
  ASSERT_TRUE(SaveLdat(path, *rows, sink));
  EXPECT_EQ(fs::file_size(path), 140u + (4 + 5 + 6) * 84u);
  LdatData data;
  ASSERT_TRUE(OpenLdat(path, data, sink));
  auto back = Rows(kLed7);
  EXPECT_TRUE(ApplyLdat(data, *back));
  EXPECT_EQ(back->ledType(), kLed16);
  EXPECT_EQ(AllDots(*back), want);
  EXPECT_TRUE(sink.texts.empty());
  // Saving the opened rows again gives the same file.
  EXPECT_EQ(SerializeLdat(*back), SerializeLdat(*rows));
}

TEST_F(LdatFileOnDisk, FailedSaveKeepsTheOldFileAndFailedOpenReports) {
  auto rows = Rows(kLed7);
  RecordingSink sink;
  const std::string path = Path("keep.LDAT");
  { std::ofstream(path) << "old contents"; }
  // The target is a directory: the rename fails after everything was written.
  const std::string dirTarget = Path("adir");
  fs::create_directories(dirTarget + "/inner");
  EXPECT_FALSE(SaveLdat(dirTarget, *rows, sink));
  EXPECT_FALSE(SaveLdat(Path("missing/x.LDAT"), *rows, sink));
  EXPECT_EQ(sink.texts, (std::vector<std::string>{"Write file error!", "Write file error!"}));
  EXPECT_TRUE(fs::is_directory(dirTarget + "/inner"));
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 2u);  // no temporary file left behind

  ASSERT_TRUE(SaveLdat(path, *rows, sink));
  EXPECT_EQ(fs::file_size(path), 140u + 0u);

  sink.texts.clear();
  LdatData data;
  ASSERT_TRUE(OpenLdat(path, data, sink));
  const LdatHeader before = data.header;
  { std::ofstream(Path("short.LDAT"), std::ios::binary) << std::string(100, '\0'); }
  const auto promised = FileWith(2, {3, 3}, 5);
  { std::ofstream(Path("promise.LDAT"), std::ios::binary).write(reinterpret_cast<const char*>(promised.data()), promised.size()); }
  EXPECT_FALSE(OpenLdat(Path("none.LDAT"), data, sink));
  EXPECT_FALSE(OpenLdat(Path("short.LDAT"), data, sink));
  EXPECT_FALSE(OpenLdat(Path("promise.LDAT"), data, sink));
  EXPECT_FALSE(OpenLdat(dir_.string(), data, sink));
  // The message, and beneath it the file and the reason.
  ASSERT_EQ(sink.texts.size(), 4u);
  const std::string opened[] = {Path("none.LDAT"), Path("short.LDAT"), Path("promise.LDAT"), dir_.string()};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(sink.texts[i].rfind("Open file error!\n" + opened[i] + ": ", 0), 0u) << sink.texts[i];
  EXPECT_NE(sink.texts[0].find("No such file or directory"), std::string::npos);
  EXPECT_EQ(data.header, before);
}

}  // namespace
}  // namespace kirrup
