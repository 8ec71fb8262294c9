// SPDX-License-Identifier: GPL-2.0-or-later
// The main dialog's symbol picker and system font chooser: where they are made, how they
// follow the font source, the system font and the LED type, the record a picked symbol
// inserts, and the entries that reach the LED type and the fonts although their controls
// have no size in this layout: the system menu's submenus and the top band's choices.
#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "app/application.h"
#include "app/languages.h"
#include "dialog/rotavu_dlg.h"
#include "fonts/font_chooser_dlg.h"
#include "fonts/font_combo_box.h"
#include "fonts/key_wnd.h"
#include "lines/input_chr_wnd.h"

using kirrup::MessageRows;

void CRotavuDlg::CreateSymbolPicker() {
  keyWnd_ = new CKeyWnd(this);
  PlaceSymbolPicker();
  connect(keyWnd_, &CKeyWnd::insertRecord, this, &CRotavuDlg::OnInsertRecord);
  keyWnd_->show();
  // Tab reaches the picker under the rows, before the side column.
  setTabOrder(rowControls_.back().close, keyWnd_);
  setTabOrder(keyWnd_, Control(kStart));
}

void CRotavuDlg::PlaceSymbolPicker() {
  // As wide as sixteen cells and the scroll bar need, centred in its place, which widens
  // with the rows.
  const QRect place = Control(kSymbolPlace)->geometry();
  const int width = std::min(place.width(), CKeyWnd::OuterWidthFor(kirrup::kKeyColumns));
  keyWnd_->setGeometry(place.x() + (place.width() - width) / 2, place.y(), width, place.height());
}

void CRotavuDlg::FillSymbolPicker() {
  if (keyWnd_) keyWnd_->Fill(app_->fonts, 255, rows_->ledType());
}

void CRotavuDlg::FollowLedType(int type) {
  // Before the families are listed, listing selects the font.
  if (fontChooser_->filled()) fontChooser_->SelectFontByName(QString::fromStdU16String(app_->fonts.systemFontName));
  emit ledTypeFollowing(type);
}

void CRotavuDlg::ListFonts() {
  if (fontChooser_->filled()) return;
  fontChooser_->Fill();
  fontChooser_->SelectFontByName(QString::fromStdU16String(app_->fonts.systemFontName));
}

CFontComboBox* CRotavuDlg::fontChooser() {
  ListFonts();
  return fontChooser_;
}

void CRotavuDlg::OnFontSource() {
  app_->fonts.builtInSwitch = userFont_->isChecked() ? 1 : 0;
  fontChooser_->setEnabled(app_->fonts.builtInSwitch == 0);
  FillSymbolPicker();
  SyncBandChoices();
}

void CRotavuDlg::OnFontChosen() {
  app_->fonts.systemFontName = fontChooser_->currentText().toStdU16String();
  app_->fonts.CreateLedFont(rows_->ledType());
  FillSymbolPicker();
  SyncBandChoices();
  emit companionCommand(kFontChooser);
}

void CRotavuDlg::OnInsertRecord(const kirrup::CharColumns& record) {
  int row = state_.currentRow;
  // A row that is no longer enabled (the LED type changed, a file was opened) must stay
  // empty: the first row takes the symbol then.
  if (row < 0 || row >= MessageRows::kCount || !(*rows_)[row].enabled) row = 0;
  kirrup::CInputChrWnd* line = rowControls_[row].line;
  line->setFocus(Qt::OtherFocusReason);
  state_.currentRow = row;
  const kirrup::CharColumns copy = record;
  // A symbol that replaces a selection finds the room the selection leaves.
  const kirrup::Refusal why =
      line->line().HasSelection() ? kirrup::Refusal::None : kirrup::WhyRecordRefused(line->line(), copy);
  // Undoable like a typed character.
  line->editor().PushUndo();
  line->line().ImportRecords(std::span<const kirrup::CharColumns>(&copy, 1));
  ShowRefusalCue(row, why);
}

bool CRotavuDlg::ChineseTexts() const {
  return kirrup::IsChineseTable(app_->languages.Current());
}

void CRotavuDlg::AddCompanionMenus() {
  QAction* first = systemMenu_->actions().value(0, nullptr);
  ledTypeSubmenu_ = new QMenu(systemMenu_);
  ledTypeSubmenu_->setObjectName("ledTypeSubmenu");
  auto* types = new QActionGroup(ledTypeSubmenu_);
  const char* const names[3] = {"&7LED", "1&1LED", "1&6LED"};
  for (int k = 0; k < 3; ++k) {
    QAction* a = ledTypeSubmenu_->addAction(QString::fromLatin1(names[k]));
    a->setData(kLed7Command + k);
    a->setCheckable(true);
    types->addAction(a);
    connect(a, &QAction::triggered, this, [this, id = kLed7Command + k] { OnCommand(id); });
  }
  systemMenu_->insertMenu(first, ledTypeSubmenu_);

  fontSubmenu_ = new QMenu(systemMenu_);
  fontSubmenu_->setObjectName("fontSubmenu");
  auto* sources = new QActionGroup(fontSubmenu_);
  for (int id : {kUserFont, kSysFont}) {
    QAction* a = fontSubmenu_->addAction(QString());
    a->setData(id);
    a->setCheckable(true);
    sources->addAction(a);
    connect(a, &QAction::triggered, this, [this, id] {
      (id == kUserFont ? userFont_ : sysFont_)->setChecked(true);
      OnCommand(id);
    });
  }
  fontSubmenu_->addSeparator();
  QAction* choose = fontSubmenu_->addAction(QString());
  choose->setObjectName("chooseFont");
  connect(choose, &QAction::triggered, this, &CRotavuDlg::ChooseSystemFont);
  systemMenu_->insertMenu(first, fontSubmenu_);
  connect(systemMenu_, &QMenu::aboutToShow, this, &CRotavuDlg::RefreshCompanionMenus);
  // The band's font choice opens the same entries.
  fontChoice_->setMenu(fontSubmenu_);
  connect(fontSubmenu_, &QMenu::aboutToShow, this, &CRotavuDlg::RefreshCompanionMenus);
  RefreshCompanionMenus();
}

QString CRotavuDlg::Caption(int id, const char* english) const {
  const std::u16string* t = kirrup::CaptionText(app_->languages.Current(), id);
  return t && !t->empty() ? QString::fromStdU16String(*t) : QString::fromLatin1(english);
}

void CRotavuDlg::RefreshCompanionMenus() {
  const bool chinese = ChineseTexts();
  auto caption = [this](int id, const char* english) { return Caption(id, english); };
  ledTypeSubmenu_->setTitle(caption(kLedTypeButton, "LED type"));
  for (QAction* a : ledTypeSubmenu_->actions()) a->setChecked(a->data().toInt() - kLed7Command == rows_->ledType());
  fontSubmenu_->setTitle(chinese ? QStringLiteral("字体") : QStringLiteral("Font"));
  for (QAction* a : fontSubmenu_->actions()) {
    const int id = a->data().toInt();
    if (id == kUserFont || id == kSysFont) {
      a->setText(caption(id, id == kUserFont ? "UserFont" : "SysFont"));
      a->setChecked((id == kUserFont) == (app_->fonts.builtInSwitch != 0));
    } else if (a->objectName() == QLatin1String("chooseFont")) {
      a->setText(chinese ? QStringLiteral("选择字体(&F)...") : QStringLiteral("Choose &font..."));
    }
  }
}

void CRotavuDlg::ChooseSystemFont() {
  ListFonts();
  CFontChooserDlg chooser(*fontChooser_, ChineseTexts(), this);
  const int result = runFontChooser ? runFontChooser(chooser) : chooser.exec();
  const int row = chooser.chosenRow();
  if (result != QDialog::Accepted || row < 0) return;
  // A font picked here is meant to be used: the font source follows.
  if (app_->fonts.builtInSwitch != 0) {
    sysFont_->setChecked(true);
    OnCommand(kSysFont);
  }
  if (row != fontChooser_->currentIndex()) fontChooser_->setCurrentIndex(row);  // the handler of 1039
}

void CRotavuDlg::RefreshBandChoiceTexts() {
  const bool chinese = ChineseTexts();
  const QString ledType = Caption(kLedTypeButton, "LED type");
  const QString font = chinese ? QStringLiteral("字体") : QStringLiteral("Font");
  ledTypeLabel_->setText(QString::fromStdU16String(kirrup::WithMnemonic(ledType.toStdU16String(), u'L')) + ':');
  fontLabel_->setText(QString::fromStdU16String(kirrup::WithMnemonic(font.toStdU16String(), u'F')) + ':');
  ledTypeChoice_->setAccessibleName(ledType);
  fontChoice_->setAccessibleName(font);
  ledTypeChoice_->setToolTip(chinese ? QStringLiteral("玩具叶片上的 LED 个数。更换类型会清空各行。")
                                     : QStringLiteral("How many LEDs the toy's blade has. A new type empties the rows."));
  PlaceBandChoices();
  SyncBandChoices();
  RefreshCapacity();
  RefreshRowRooms();
}

void CRotavuDlg::SyncBandChoices() {
  {
    const QSignalBlocker block(ledTypeChoice_);
    ledTypeChoice_->setCurrentIndex(rows_->ledType());
  }
  const bool chinese = ChineseTexts();
  const QString font = QString::fromStdU16String(
      kirrup::FontChoiceText(app_->fonts.builtInSwitch != 0, app_->fonts.systemFontName, chinese));
  // Room for the menu's arrow; a long family name is cut, the tool tip has it whole.
  fontChoice_->setText(fontChoice_->fontMetrics().elidedText(font, Qt::ElideRight, fontChoice_->width() - 34));
  fontChoice_->setToolTip(chinese ? QStringLiteral("之后输入的字符所用的字体：%1。\n可选内置点阵字库或已安装的字体。").arg(font)
                                  : QStringLiteral("Font of the characters typed next: %1.\n"
                                                   "Choose the built-in dot font or an installed font.")
                                        .arg(font));
}

void CRotavuDlg::OnLedTypeChosen(int index) {
  if (index != rows_->ledType()) OnCommand(kLed7Command + index);
  // A Cancel at the save prompt keeps the type in force, and the choice shows it again.
  SyncBandChoices();
}
