// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/main_dialog_model.h"

#include <algorithm>
#include <string>

namespace kirrup {

bool RowScroll::Scroll(ScrollCode code, int thumb) {
  const int old = first;
  switch (code) {
    case ScrollCode::LineUp:
      if (first > 0) --first;
      break;
    case ScrollCode::LineDown:
      if (first + page < kTotal) ++first;
      break;
    case ScrollCode::PageUp:
      first = std::max(first - page, 0);
      break;
    case ScrollCode::PageDown:
      if (first + page < kTotal) first = std::max(std::min(first + page, kTotal - page), 0);
      break;
    case ScrollCode::ThumbTrack:
      first = std::clamp(thumb, 0, std::max(kTotal - page, 0));
      break;
    default:
      break;
  }
  return first != old;
}

int RowsPerPage(int innerHeight, int comboHeight) {
  if (comboHeight + 5 <= 0) return 0;
  return std::max((innerHeight + 5) / (comboHeight + 5), 0);
}

TopBandLayout LayOutTopBand(const TopBandInput& in) {
  TopBandLayout out;
  const int bandHeight = in.logo.height + 4;
  out.band = MakeRect(0, 0, in.clientWidth, bandHeight);
  out.logo = MakeRect(2, 2, in.logo.width, in.logo.height);
  const int indicatorTop = (bandHeight - in.indicator.height) / 2;
  out.indicator = MakeRect(in.clientWidth - 2 - in.indicator.width, indicatorTop, in.indicator.width,
                           in.indicator.height);
  out.indicatorFrame = {out.indicator.left - 2, out.indicator.top - 2, out.indicator.right + 2,
                        out.indicator.bottom + 2};
  out.divider = MakeRect(in.dividerLeft, 0, 0, bandHeight);
  const int left = in.dividerLeft + 8;
  const int width = std::max(out.indicatorFrame.left - 8 - left, 0);
  out.label = MakeRect(left, (bandHeight - in.labelHeight) / 2, width, in.labelHeight);
  out.combo = MakeRect(left, (bandHeight - in.comboHeight) / 2, width, in.comboHeight);
  return out;
}

BandChoices LayOutBandChoices(int left, int right, int bandHeight, int labelWidth, int rowHeight,
                              int maxControlWidth) {
  constexpr int kGap = 4;  // between label and control, and between the rows
  BandChoices out;
  const int top = (bandHeight - 2 * rowHeight - kGap) / 2;
  const int controlLeft = left + labelWidth + kGap;
  const int controlWidth = std::clamp(right - controlLeft, 0, maxControlWidth);
  out.ledLabel = MakeRect(left, top, labelWidth, rowHeight);
  out.ledChoice = MakeRect(controlLeft, top, controlWidth, rowHeight);
  out.fontLabel = MakeRect(left, top + rowHeight + kGap, labelWidth, rowHeight);
  out.fontChoice = MakeRect(controlLeft, top + rowHeight + kGap, controlWidth, rowHeight);
  return out;
}

std::u16string LedTypeChoiceText(int type) {
  const int leds = LedTypeRow(type).height;
  std::u16string text;
  for (char c : std::to_string(leds) + " LEDs") text += static_cast<char16_t>(c);
  return text;
}

std::u16string WithMnemonic(std::u16string caption, char16_t key) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  for (size_t i = 0; i < caption.size(); ++i) {
    if (lower(caption[i]) == lower(key)) return caption.insert(i, 1, u'&');
  }
  const char16_t upper = key >= u'a' && key <= u'z' ? static_cast<char16_t>(key - 32) : key;
  return caption + u"(&" + upper + u")";
}

std::u16string FontChoiceText(bool builtIn, const std::u16string& systemFont, bool chinese) {
  if (!builtIn) return systemFont;
  return chinese ? u"内置点阵字库" : u"Built-in dot font";
}

std::u16string NoteParagraphs(const std::u16string& note) {
  std::u16string out = u"<p style=\"margin:0 0 4px 0; white-space:pre-wrap\">";
  for (size_t i = 0; i < note.size(); ++i) {
    if (note.compare(i, 4, u"\r\n\r\n") == 0) {
      out += u"</p><p style=\"margin:0 0 4px 0; white-space:pre-wrap\">";
      i += 3;
      continue;
    }
    switch (note[i]) {
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'&': out += u"&amp;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\r': break;  // a lone line break stays one ("\n" under pre-wrap)
      default: out += note[i]; break;
    }
  }
  return out + u"</p>";
}

ListArea ListAreaOf(const Rect& frame, int scrollBarWidth) {
  ListArea a;
  a.list = {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  a.inner = {a.list.left, a.list.top + 4, a.list.right, a.list.bottom - 4};
  a.scrollBar = {a.list.right - scrollBarWidth, a.list.top, a.list.right, a.list.bottom};
  return a;
}

int LineWindowWidth(const LedTypeInfo& type, int barWidth) {
  return type.zoomX * (type.maxWidth + 2 * barWidth + 4) + 2;
}

std::optional<RowsLayout> LayOutRows(const RowLayoutInput& in) {
  const int page = in.scroll.page;
  if (page <= 0) return std::nullopt;
  RowsLayout out;
  const int h = in.comboHeight;
  const double gap = page > 1 ? double(in.inner.Height() - page * h) / double(page - 1) : 0.0;
  const int combos = in.useMiddle ? 3 : 2;
  const int available = in.scrollBarLeft - in.inner.left - 8;
  const int comboWidth = (available - in.labelWidth - in.lineWidth - in.txtWidth - 12) / combos;

  // Columns are the same on every row.
  const int labelLeft = in.inner.left;
  const int lineLeft = labelLeft + in.labelWidth + 4;
  const int txtLeft = lineLeft + in.lineWidth + 4;
  const int openLeft = txtLeft + in.txtWidth + 4;
  const int middleLeft = openLeft + comboWidth + 4;
  const int closeLeft = in.useMiddle ? middleLeft + comboWidth + 4 : middleLeft;

  for (int i = 0; i < MessageRows::kCount; ++i) {
    RowPlacement& r = out.rows[i];
    r.visible = in.scroll.Visible(i);
    if (!r.visible) continue;
    const int k = i - in.scroll.first;
    const int top = static_cast<int>((h + gap) * k + in.inner.top);
    r.label = MakeRect(labelLeft, top, in.labelWidth, in.labelHeight);
    r.line = MakeRect(lineLeft, top - 2, in.lineWidth, in.lineHeight);
    r.txt = MakeRect(txtLeft, top, in.txtWidth, in.txtHeight);
    r.open = MakeRect(openLeft, top, comboWidth, h);
    if (in.useMiddle) r.middle = MakeRect(middleLeft, top, comboWidth, h);
    r.close = MakeRect(closeLeft, top, comboWidth, h);
  }

  HeaderSpans& s = out.headers;
  s.dataLeft = labelLeft;
  s.dataRight = txtLeft + in.txtWidth;
  s.openLeft = s.dataRight;
  s.openRight = openLeft + comboWidth;
  int left = s.openRight;
  if (in.useMiddle) {
    s.middleLeft = left;
    s.middleRight = middleLeft + comboWidth;
    left = s.middleRight;
  }
  s.closeLeft = left;
  s.closeRight = closeLeft + comboWidth;
  return out;
}

int ListFrameWidthFor(int comboWidth, int labelWidth, int lineWidth, int txtWidth) {
  // LayOutRows: the available width is the frame's less 10 (1 + 1 for the frame, 8),
  // shared out after the fixed controls and 12 pixels of gaps.
  return 3 * comboWidth + labelWidth + lineWidth + txtWidth + 12 + 10;
}

bool SavePromptNeeded(bool modified, const MessageRows& rows) {
  if (!modified) return false;
  for (const MessageRow& row : rows.rows()) {
    if (row.enabled && row.line.itemCount() > 0) return true;
  }
  return false;
}

int MainDialogState::LineChanged(MessageRows& rows, int row) {
  modified = true;
  return EditorOpened(rows, row);
}

int MainDialogState::EditorOpened(MessageRows& rows, int row) {
  if (row < 0 || row >= MessageRows::kCount - 1) return -1;
  MessageRow& next = rows[row + 1];
  if (next.enabled) return -1;
  next.enabled = true;
  return row + 1;
}

void MainDialogState::LineFocused(int controlId) {
  const int row = controlId - kFirstLineId;
  if (row >= 0 && row < MessageRows::kCount) currentRow = row;
}

const AboutTexts& AboutTextsFor(bool chinese) {
  static const AboutTexts kChinese{"关于 Kirrup(&A)...", "关于 Kirrup", "Kirrup，V2.0", "确定"};
  static const AboutTexts kEnglish{"&About Kirrup...", "About Kirrup", "Kirrup, V2.0", "OK"};
  return chinese ? kChinese : kEnglish;
}

const std::string& MainDialogState::OfferedPath() {
  if (lastFilePath.empty()) lastFilePath = kLdatPattern;
  return lastFilePath;
}

}  // namespace kirrup
