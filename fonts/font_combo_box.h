// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CFontComboBox: the system font chooser (the dialog's control 1039), a sorted drop-down
// list of the installed families, each drawn in its own face beside a small icon for
// TrueType and device fonts. The families and the list's order come from FontList; all
// boxes share one list, built by enumeration when the first box is made and freed with
// the last one.
#include <QComboBox>
#include <QIcon>
#include <memory>
#include <vector>

#include "fonts/font_list.h"

// The chooser's description of one family.
using CFontInfo = kirrup::FontInfo;

class CFontComboBox : public QComboBox {
  Q_OBJECT

 public:
  // Roles of the items' data, shared with other views of the same model.
  enum Role : int {
    kFaceRole = Qt::UserRole + 1,  // QString: the family's face name
    kCharSetRole,                  // int
    kFontTypeRole,                 // int
  };

  // fillNow false: the no-self-fill flag (the owner calls Fill itself); the installed
  // families are listed only then.
  explicit CFontComboBox(QWidget* parent = nullptr, bool fillNow = true);
  // A box over another list than the shared one (tests).
  CFontComboBox(std::shared_ptr<kirrup::FontList> list, QWidget* parent = nullptr, bool fillNow = true);
  ~CFontComboBox() override;

  int fontTypeMask = 7;
  uint8_t enumerationCharSet = kirrup::kAllCharSets;

  // Empties the box and adds the listed families.
  void Fill();
  bool filled() const { return filled_; }
  // Selects the first entry whose face name is exactly name, without the selection
  // change notification; false (selection kept) when none is.
  bool SelectFontByName(const QString& name);

  const std::vector<kirrup::FontEntry>& entries() const { return entries_; }
  const kirrup::FontList& fontList();
  // The family of an entry, or null.
  const CFontInfo* FontInfoAt(int index) const;

  // The icons drawn by us: 0 TrueType, 1 device.
  static QIcon FontTypeIcon(int image);
  // The face an entry is drawn in: the family's own, four pixels larger than the
  // interface font; the interface font itself for symbol fonts.
  static QFont EntryFont(const QFont& interfaceFont, const QString& face, int charSet);

  // Boxes alive that share the list (tests).
  static int SharedBoxes();

 private:
  void Init(bool fillNow);
  void ShareList();

  std::shared_ptr<kirrup::FontList> list_;
  bool shared_ = false;
  bool filled_ = false;
  std::vector<kirrup::FontEntry> entries_;
};
