// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/utf.h"

#include <gtest/gtest.h>

using kirrup::platform::Utf16ToUtf8;
using kirrup::platform::Utf8ToUtf16;

TEST(Utf, RoundTripsBmpAndAstral) {
  const std::string s = "A宋体\xF0\x9F\x98\x80z";  // includes U+1F600
  const std::u16string w = Utf8ToUtf16(s);
  EXPECT_EQ(w, u"A宋体\U0001F600z");
  EXPECT_EQ(Utf16ToUtf8(w), s);
}

TEST(Utf, IllFormedInputBecomesReplacement) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");            // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");            // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80x"), u"\uFFFDx");      // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xFF" "b"), u"\uFFFDb");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

// ASCII is widened eight bytes at a time: what follows a run must decode the same at every
// offset, and a byte with its high bit set inside a block must end the block.
TEST(Utf, AsciiRunsOfEveryLengthBeforeAndAroundOtherBytes) {
  const std::string ascii = "abcdefghijklmnopq";
  for (size_t n = 0; n <= ascii.size(); ++n) {
    const std::u16string run(ascii.begin(), ascii.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_EQ(Utf8ToUtf16(ascii.substr(0, n) + "\xC3\xA9" "z"), run + u"\u00E9z") << n;
    EXPECT_EQ(Utf8ToUtf16(ascii.substr(0, n) + "\x80" + ascii.substr(0, n)), run + u"\uFFFD" + run) << n;
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80" + ascii.substr(0, n)), u"\U0001F600" + run) << n;
  }
}
