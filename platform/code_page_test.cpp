// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace kirrup::platform {
namespace {

TEST(CodePage, WesternCharactersMapToTheirBytes) {
  EXPECT_EQ(ToAnsiCodePage(u"Az09~"), "Az09~");
  EXPECT_EQ(ToAnsiCodePage(u"\u00E9\u20AC\u201C\u0152"), "\xE9\x80\x93\x8C");
  EXPECT_EQ(ToAnsiCodePage(std::u16string(1, u'\0')), std::string(1, '\0'));
  EXPECT_EQ(ToAnsiCodePage(u"\u0012\u001B"), "\x12\x1B");
  // The five bytes the code page leaves undefined pass straight through.
  EXPECT_EQ(ToAnsiCodePage(u"\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
}

TEST(CodePage, OthersBecomeSimilarCharactersOrQuestionMarks) {
  EXPECT_EQ(ToAnsiCodePage(u"\u0101\u015D"), "as");  // ā ŝ
  EXPECT_EQ(ToAnsiCodePage(u"\u4E2D"), "?");
  EXPECT_EQ(ToAnsiCodePage(u"\uAC00x"), "?x");
}

TEST(CodePage, LoneSurrogatesFail) {
  EXPECT_FALSE(ToAnsiCodePage(u"\xD800").has_value());
  EXPECT_FALSE(ToAnsiCodePage(u"a\xDC00").has_value());
  // A whole pair is one character outside the code page.
  EXPECT_EQ(ToAnsiCodePage(u"\U0001F600"), "?");
}

}  // namespace
}  // namespace kirrup::platform
