// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_combo_box.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace {

std::weak_ptr<kirrup::FontList> g_shared;
int g_boxes = 0;

constexpr int kIconSize = 16;
constexpr int kTextIndent = 22;

// Draws an entry: background by state, the type icon at the left, the text in its face.
class FontItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    const int type = index.data(CFontComboBox::kFontTypeRole).toInt();
    if (type & (kirrup::kDeviceFontType | kirrup::kTrueTypeFontType)) {
      const int image = (type & kirrup::kDeviceFontType) ? 1 : 0;
      const QRect icon(option.rect.left() + 2, option.rect.top() + (option.rect.height() - kIconSize) / 2, kIconSize,
                       kIconSize);
      CFontComboBox::FontTypeIcon(image).paint(painter, icon);
    }
    painter->setFont(CFontComboBox::EntryFont(option.font, index.data(CFontComboBox::kFaceRole).toString(),
                                              index.data(CFontComboBox::kCharSetRole).toInt()));
    painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
    const QRect text = option.rect.adjusted(kTextIndent, 0, -2, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      painter->fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                        text.width()));
    if (option.state & QStyle::State_HasFocus) {
      painter->setPen(QPen(option.palette.text().color(), 1, Qt::DotLine));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    // Room for the face drawn four pixels larger than the interface font.
    const QFontMetrics fm(option.font);
    return QSize(option.rect.width(), std::max(kIconSize, fm.height() + 6));
  }
};

}  // namespace

CFontComboBox::CFontComboBox(QWidget* parent, bool fillNow) : QComboBox(parent) {
  shared_ = true;
  ++g_boxes;
  Init(fillNow);
}

void CFontComboBox::ShareList() {
  if (list_) return;
  list_ = g_shared.lock();
  if (!list_) {
    list_ = std::make_shared<kirrup::FontList>();
    list_->AddInstalledFamilies();
    g_shared = list_;
  }
}

const kirrup::FontList& CFontComboBox::fontList() {
  ShareList();
  return *list_;
}

CFontComboBox::CFontComboBox(std::shared_ptr<kirrup::FontList> list, QWidget* parent, bool fillNow)
    : QComboBox(parent), list_(std::move(list)) {
  Init(fillNow);
}

CFontComboBox::~CFontComboBox() {
  if (shared_) --g_boxes;
}

int CFontComboBox::SharedBoxes() { return g_boxes; }

void CFontComboBox::Init(bool fillNow) {
  setObjectName("CFontComboBox");
  setItemDelegate(new FontItemDelegate(this));
  setMaxVisibleItems(14);
  if (fillNow) Fill();
}

void CFontComboBox::Fill() {
  ShareList();
  filled_ = true;
  const QSignalBlocker block(this);
  clear();
  entries_ = list_->Fill(fontTypeMask);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const kirrup::FontEntry& e = entries_[i];
    addItem(QString::fromStdU16String(e.text));
    const int row = static_cast<int>(i);
    setItemData(row, QString::fromStdU16String(e.font->faceName), kFaceRole);
    setItemData(row, e.font->charSet, kCharSetRole);
    setItemData(row, e.font->fontType, kFontTypeRole);
  }
  setCurrentIndex(-1);
}

bool CFontComboBox::SelectFontByName(const QString& name) {
  const int index = kirrup::FindFontEntry(entries_, name.toStdU16String());
  if (index < 0) return false;
  const QSignalBlocker block(this);
  setCurrentIndex(index);
  return true;
}

const CFontInfo* CFontComboBox::FontInfoAt(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return nullptr;
  return entries_[static_cast<size_t>(index)].font;
}

QFont CFontComboBox::EntryFont(const QFont& interfaceFont, const QString& face, int charSet) {
  if (charSet == kirrup::kSymbolCharSet) return interfaceFont;
  QFont f = interfaceFont;
  f.setFamilies({face});
  const int px = interfaceFont.pixelSize() > 0 ? interfaceFont.pixelSize() : QFontInfo(interfaceFont).pixelSize();
  f.setPixelSize(px + 4);
  return f;
}

QIcon CFontComboBox::FontTypeIcon(int image) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    QPixmap p(QSize(kIconSize, kIconSize) * ratio);
    p.setDevicePixelRatio(ratio);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    if (image == 0) {
      // Two overlapping serif Ts, grey behind blue: an outline font.
      QFont f(QStringLiteral("DejaVu Serif"));
      f.setPixelSize(13);
      f.setBold(true);
      painter.setFont(f);
      painter.setPen(QColor(0x8a, 0x93, 0xa3));
      painter.drawText(QRectF(0, -1, 11, 13), Qt::AlignCenter, QStringLiteral("T"));
      painter.setPen(QColor(0x2f, 0x6f, 0xd6));
      painter.drawText(QRectF(5, 3, 11, 13), Qt::AlignCenter, QStringLiteral("T"));
    } else {
      // A printer: a device font.
      painter.setPen(QPen(QColor(0x4a, 0x55, 0x68), 1));
      painter.setBrush(QColor(0xe8, 0xec, 0xf2));
      painter.drawRect(QRectF(4.5, 1.5, 7, 5));
      painter.setBrush(QColor(0x7b, 0x86, 0x98));
      painter.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
      painter.setBrush(QColor(0xff, 0xff, 0xff));
      painter.drawRect(QRectF(4.5, 10.5, 7, 4));
    }
    icon.addPixmap(p);
  }
  return icon;
}
