// SPDX-License-Identifier: GPL-2.0-or-later
// What the main dialog tells about the toy's memory and the rows' room: the meter of the
// image Send would build, each row's columns in its tool tip, the cue on a row that
// refused a character, and the notice of a successful Send.
#include <algorithm>

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>

#include "dialog/capacity_meter.h"
#include "dialog/rotavu_dlg.h"
#include "lines/input_chr_wnd.h"

using kirrup::MessageRows;

namespace {

// Set when first shown: nothing of them is on the start-up path.
const char* const kCueStyle =
    "QLabel { background: #fff4e5; color: #7a3b00; border: 1px solid #e8a13a; border-radius: 4px; padding: 1px 6px; }";
const char* const kNoticeStyle =
    "QLabel { background: #e7f6ec; color: #1d6b38; border: 1px solid #8fd0a5; border-radius: 4px; padding: 0px 6px; }";

void StyleOnce(QLabel* label, const char* style) {
  if (label->styleSheet().isEmpty()) label->setStyleSheet(QString::fromLatin1(style));
}

}  // namespace

void CRotavuDlg::RefreshCapacity() {
  meter_->Show(capacity_->Measure(*rows_), ChineseTexts());
}

void CRotavuDlg::RefreshRowRoom(int row) {
  rowControls_[row].line->setToolTip(QString::fromStdString(kirrup::ColumnsText((*rows_)[row].line, ChineseTexts())));
}

void CRotavuDlg::RefreshRowRooms() {
  for (int i = 0; i < MessageRows::kCount; ++i) RefreshRowRoom(i);
}

void CRotavuDlg::ShowRefusalCue(int row, kirrup::Refusal why) {
  if (row < 0 || row >= MessageRows::kCount || !kirrup::NoRoom(why)) return;
  const QString text = QString::fromStdString(kirrup::RefusalCue(why, (*rows_)[row].line, ChineseTexts()));
  StyleOnce(refusalCue_, kCueStyle);
  refusalCue_->setText(text);
  refusalCue_->setAccessibleName(text);
  refusalCue_->adjustSize();
  // Under the end of the row's line window (over the next row), above it for the last row.
  const QRect line = rowControls_[row].line->geometry();
  int y = line.bottom() + 2;
  if (y + refusalCue_->height() > listFrame_->geometry().bottom()) y = line.top() - 2 - refusalCue_->height();
  refusalCue_->move(std::max(line.right() + 1 - refusalCue_->width(), line.left()), y);
  refusalCue_->show();
  refusalCue_->raise();
  QAccessibleEvent alert(refusalCue_, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
  refusalTimer_.start(kirrup::kRefusalCueMs);
}

void CRotavuDlg::ShowSentNotice(int bytes) {
  const QString text = QString::fromStdString(kirrup::SentNotice(bytes, ChineseTexts()));
  StyleOnce(sentNotice_, kNoticeStyle);
  sentNotice_->setText(text);
  sentNotice_->setAccessibleName(text);
  progress_->hide();
  sentNotice_->show();
  sentNotice_->raise();
  QAccessibleEvent alert(sentNotice_, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
  noticeTimer_.start(kirrup::kSentNoticeMs);
}
