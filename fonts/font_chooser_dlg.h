// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CFontChooserDlg: a small dialog that lists the families of a CFontComboBox (the same
// model), each with a preview of a few characters in its own face, with a search field.
// The dialog only chooses; the caller selects the choice in the combo box.
#include <QDialog>

class CFontComboBox;
class QLineEdit;
class QListView;
class QSortFilterProxyModel;

class CFontChooserDlg : public QDialog {
  Q_OBJECT

 public:
  // chinese: the dialog's own texts in Chinese, else English.
  CFontChooserDlg(CFontComboBox& fonts, bool chinese, QWidget* parent = nullptr);

  // The row of the combo box chosen, or -1.
  int chosenRow() const;
  QLineEdit* searchField() const { return search_; }
  QListView* list() const { return list_; }
  // Shows only the families whose name holds the text (case ignored).
  void SetSearch(const QString& text);
  // Marks the entry of the combo box's row as the current one.
  void SelectRow(int comboRow);

 private:
  QLineEdit* search_ = nullptr;
  QListView* list_ = nullptr;
  QSortFilterProxyModel* filter_ = nullptr;
};
