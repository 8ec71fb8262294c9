// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/accessible_texts.h"

#include "app/languages.h"
#include "lines/line_text.h"

namespace kirrup {

namespace {

std::u16string Num(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

}  // namespace

std::u16string LineName(int row, bool chinese) {
  return chinese ? u"第" + Num(row + 1) + u"行" : u"Line " + Num(row + 1);
}

std::u16string TxtButtonName(int row, bool chinese) {
  return chinese ? u"编辑第" + Num(row + 1) + u"行的点阵" : u"Edit the dots of line " + Num(row + 1);
}

std::u16string EffectChoiceName(std::u16string_view caption, int row, std::u16string_view chosen, bool chinese) {
  std::u16string name = chinese ? LineName(row, true) + std::u16string(caption) + u"：" + std::u16string(chosen)
                                : std::u16string(caption) + u", line " + Num(row + 1) + u": " + std::u16string(chosen);
  return name;
}

std::u16string IndicatorName(std::string_view toolTip, bool chinese) {
  std::u16string name = chinese ? u"连接：" : u"Toy connection: ";
  // The tip is ASCII; its line breaks become spaces.
  for (char c : toolTip) name.push_back(c == '\n' ? u' ' : static_cast<char16_t>(static_cast<unsigned char>(c)));
  return name;
}

std::u16string SymbolPickerName(bool chinese) { return chinese ? u"符号" : u"Symbols"; }

std::u16string PickerCellName(uint16_t code, int ledType, bool chinese) {
  std::u16string shown;
  if (code == u' ') {
    shown = chinese ? u"空格" : u"space";
  } else {
    shown.push_back(DisplayCharacter(ledType, code));
    const std::u16string word = SymbolWord(ledType, code);
    if (!word.empty() && !chinese) shown += u" " + word;
  }
  return shown + (chinese ? u"，代码 " : u", code ") + Num(code);
}

std::u16string SimulationName(bool playing, bool chinese) {
  if (chinese) return playing ? u"模拟显示，播放中" : u"模拟显示，已停止";
  return playing ? u"Simulation, playing" : u"Simulation, stopped";
}

std::u16string BoardName(int row, int width, int height, bool chinese) {
  const std::u16string size = Num(width) + (chinese ? u"×" : u" by ") + Num(height);
  if (row < 0) return chinese ? u"点阵图板，" + size + u"格" : u"Dot board, " + size + u" cells";
  return chinese ? LineName(row, true) + u"的点阵，" + size + u"格"
                 : u"Dots of line " + Num(row + 1) + u", " + size + u" cells";
}

std::u16string BoardCellText(int column, int row, bool lit, bool chinese) {
  if (chinese) return u"第" + Num(column + 1) + u"列第" + Num(row + 1) + (lit ? u"行，亮" : u"行，暗");
  return u"Column " + Num(column + 1) + u", row " + Num(row + 1) + (lit ? u", lit" : u", unlit");
}

}  // namespace kirrup
