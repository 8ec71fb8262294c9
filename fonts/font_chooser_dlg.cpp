// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_chooser_dlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "fonts/font_combo_box.h"

namespace {

// Latin letters, digits and two Chinese characters: enough to judge a face for the LEDs.
const QString kPreview = QStringLiteral("AaBbQq 0123 中文");

// Name at the left in the interface font, the preview at the right in the family's face.
class PreviewDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
    const int type = index.data(CFontComboBox::kFontTypeRole).toInt();
    if (type & (kirrup::kDeviceFontType | kirrup::kTrueTypeFontType)) {
      const QRect icon(option.rect.left() + 4, option.rect.top() + (option.rect.height() - 16) / 2, 16, 16);
      CFontComboBox::FontTypeIcon((type & kirrup::kDeviceFontType) ? 1 : 0).paint(painter, icon);
    }
    const QRect name = option.rect.adjusted(26, 0, -option.rect.width() / 2, 0);
    painter->setFont(option.font);
    painter->drawText(name, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      painter->fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                        name.width() - 6));
    const QRect preview = option.rect.adjusted(option.rect.width() / 2, 0, -6, 0);
    painter->setFont(CFontComboBox::EntryFont(option.font, index.data(CFontComboBox::kFaceRole).toString(),
                                              index.data(CFontComboBox::kCharSetRole).toInt()));
    painter->drawText(preview, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, kPreview);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), QFontMetrics(option.font).height() + 12);
  }
};

}  // namespace

CFontChooserDlg::CFontChooserDlg(CFontComboBox& fonts, bool chinese, QWidget* parent) : QDialog(parent) {
  setObjectName("fontChooserDialog");
  setWindowTitle(chinese ? QStringLiteral("选择字体") : QStringLiteral("Choose Font"));
  resize(460, 420);
  auto* layout = new QVBoxLayout(this);
  search_ = new QLineEdit(this);
  search_->setObjectName("fontSearch");
  search_->setPlaceholderText(chinese ? QStringLiteral("搜索字体") : QStringLiteral("Search fonts"));
  search_->setClearButtonEnabled(true);
  search_->setAccessibleName(search_->placeholderText());
  layout->addWidget(search_);

  filter_ = new QSortFilterProxyModel(this);
  filter_->setSourceModel(fonts.model());
  filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
  list_ = new QListView(this);
  list_->setObjectName("fontList");
  list_->setModel(filter_);
  list_->setItemDelegate(new PreviewDelegate(list_));
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setAccessibleName(chinese ? QStringLiteral("字体") : QStringLiteral("Fonts"));
  layout->addWidget(list_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(chinese ? QStringLiteral("确定") : QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(chinese ? QStringLiteral("取消") : QStringLiteral("Cancel"));
  layout->addWidget(buttons);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(search_, &QLineEdit::textChanged, this, &CFontChooserDlg::SetSearch);
  connect(list_, &QListView::doubleClicked, this, &QDialog::accept);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [ok](const QModelIndex& current) { ok->setEnabled(current.isValid()); });
  SelectRow(fonts.currentIndex());
  search_->setFocus();
}

void CFontChooserDlg::SetSearch(const QString& text) {
  filter_->setFilterFixedString(text);
  if (!list_->currentIndex().isValid() && filter_->rowCount() > 0) list_->setCurrentIndex(filter_->index(0, 0));
}

void CFontChooserDlg::SelectRow(int comboRow) {
  const QModelIndex source = filter_->sourceModel()->index(comboRow, 0);
  const QModelIndex index = filter_->mapFromSource(source);
  if (!index.isValid()) return;
  list_->setCurrentIndex(index);
  list_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

int CFontChooserDlg::chosenRow() const {
  const QModelIndex index = list_->currentIndex();
  return index.isValid() ? filter_->mapToSource(index).row() : -1;
}
