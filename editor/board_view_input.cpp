// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_view_input.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QGuiApplication>
#include <QDropEvent>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

#include "editor/char_editor.h"
#include "editor/edit_chr_view.h"
#include "widgets/file_drop.h"
#include "widgets/svg_image.h"

namespace kirrup {

namespace {

constexpr QSize kIconSize(17, 16);
const QColor kMenuBackground(192, 192, 192);

// The pictures of the menu's commands (the tool bar image's buttons that menus show).
QString IconName(int command) {
  switch (command) {
    case kCmdRotateLeft: return QStringLiteral("menu_rotate_left");
    case kCmdRotateRight: return QStringLiteral("menu_rotate_right");
    case kCmdRotate180: return QStringLiteral("menu_rotate180");
    case kCmdMirrorHorizontally: return QStringLiteral("menu_mirror_h");
    case kCmdMirrorVertically: return QStringLiteral("menu_mirror_v");
    case kCmdDelete: return QStringLiteral("menu_delete");
    case kCmdCut: return QStringLiteral("menu_cut");
    case kCmdCopy: return QStringLiteral("menu_copy");
    case kCmdPaste: return QStringLiteral("menu_paste");
    case kCmdUndo: return QStringLiteral("menu_undo");
    case kCmdRedo: return QStringLiteral("menu_redo");
    default: return {};
  }
}

// Menus draw their icons in a square: the 17 x 16 picture sits in it unscaled, drawn
// for one and for two device pixels per pixel.
QIcon MenuIcon(const QString& name) {
  QIcon icon;
  for (int ratio : {1, 2}) {
    QPixmap square(QSize(kIconSize.width(), kIconSize.width()) * ratio);
    square.fill(Qt::transparent);
    const QPixmap picture = SvgPixmap(name, kIconSize, ratio);
    QPainter p(&square);
    p.drawPixmap(0, ratio, picture.width(), picture.height(), picture);  // native pixels, one row down
    p.end();
    square.setDevicePixelRatio(ratio);
    icon.addPixmap(square);
  }
  return icon;
}

class MenuStyle final : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SmallIconSize) return kIconSize.width();
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

MenuStyle& SharedMenuStyle() {
  static MenuStyle* style = [] {
    auto* s = new MenuStyle;
    s->setParent(qApp);
    return s;
  }();
  return *style;
}

void AddItems(QMenu& menu, const std::vector<BoardMenuItem>& items) {
  for (const BoardMenuItem& item : items) {
    if (item.id == 0) {
      menu.addSeparator();
      continue;
    }
    const QString text = QString::fromStdU16String(item.text);
    if (item.id < 0) {
      QMenu* sub = menu.addMenu(text);
      sub->setStyle(&SharedMenuStyle());
      sub->setPalette(menu.palette());
      AddItems(*sub, item.items);
      continue;
    }
    QAction* action = menu.addAction(text);
    action->setData(item.id);
    action->setEnabled(item.enabled);
    if (const QString icon = IconName(item.id); !icon.isEmpty()) action->setIcon(MenuIcon(icon));
    if (item.checked) {
      action->setCheckable(true);
      action->setChecked(true);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The clipboard

CPictureClipboard::CPictureClipboard(QObject* parent) : QObject(parent) {
  if (QClipboard* cb = QGuiApplication::clipboard())
    connect(cb, &QClipboard::dataChanged, this, &CPictureClipboard::changed);
}

bool CPictureClipboard::HasPicture() const {
  const QClipboard* cb = QGuiApplication::clipboard();
  const QMimeData* d = cb ? cb->mimeData(QClipboard::Clipboard) : nullptr;
  return d && d->hasImage();
}

void CPictureClipboard::PutPicture(const platform::Bitmap1& picture) {
  QClipboard* cb = QGuiApplication::clipboard();
  if (!cb || picture.width() <= 0 || picture.height() <= 0) return;
  QImage image(picture.width(), picture.height(), QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) image.setPixel(x, y, picture.Lit(x, y) ? 1 : 0);
  cb->setImage(image, QClipboard::Clipboard);
}

std::optional<platform::RgbImage> CPictureClipboard::Picture() const {
  const QClipboard* cb = QGuiApplication::clipboard();
  const QMimeData* d = cb ? cb->mimeData(QClipboard::Clipboard) : nullptr;
  if (!d || !d->hasImage()) return std::nullopt;
  return BoardPicture(qvariant_cast<QImage>(d->imageData()));
}

std::optional<platform::RgbImage> BoardPicture(const QImage& source) {
  if (source.isNull()) return std::nullopt;
  // Only the top-left part can float; transparent parts count as the white paper under them.
  const int w = std::min(source.width(), kPasteMaxWidth), h = std::min(source.height(), kPasteMaxHeight);
  QImage flat(w, h, QImage::Format_RGB32);
  flat.fill(Qt::white);
  {
    QPainter p(&flat);
    p.drawImage(0, 0, source, 0, 0, w, h);
  }
  platform::RgbImage out(w, h);
  for (int y = 0; y < h; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
    for (int x = 0; x < w; ++x)
      out.SetPixel(x, y,
                   platform::Rgb(static_cast<uint8_t>(qRed(line[x])), static_cast<uint8_t>(qGreen(line[x])),
                                 static_cast<uint8_t>(qBlue(line[x]))));
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// Keys and menus

CBoardViewInput::CBoardViewInput(CharEditor& editor, CEditChrView* view, QObject* parent)
    : QObject(parent), editor_(editor), view_(view), clipboard_(this), commands_(editor, &clipboard_) {
  commands_.focusBoard = [this] {
    if (view_) view_->setFocus(Qt::OtherFocusReason);
  };
  view_->installEventFilter(this);
  view_->viewport()->installEventFilter(this);
  view_->viewport()->setAcceptDrops(true);
}

CBoardViewInput::~CBoardViewInput() = default;

int CBoardViewInput::CtrlCode(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers();
  if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier)) return -1;
  const int key = event.key();
  return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : -1;
}

bool CBoardViewInput::Key(const QKeyEvent& event) {
  const int code = CtrlCode(event);
  if (code > 0) return commands_.CtrlChar(code);
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  if (KeyCell(event)) return true;
  if (event.key() == Qt::Key_Delete) return commands_.KeyDown(BoardCommands::Key::Delete);
  if (event.key() == Qt::Key_Escape) return commands_.KeyDown(BoardCommands::Key::Escape);
  return false;
}

bool CBoardViewInput::KeyCell(const QKeyEvent& event) {
  BoardEditor& board = editor_.board();
  int dx = 0, dy = 0;
  switch (event.key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_Space:
      if (board.SetKeyCellDot(event.modifiers() & Qt::ShiftModifier)) view_->KeyCellChanged();
      return true;
    default: return false;
  }
  if (board.MoveKeyCell(dx, dy)) view_->KeyCellChanged();
  return true;
}

std::unique_ptr<QMenu> CBoardViewInput::CreateMenu(QPoint viewPoint) {
  const BoardPopup popup = commands_.PopupAt({viewPoint.x(), viewPoint.y()});
  if (popup == kPopupNone) return nullptr;
  auto menu = std::make_unique<QMenu>(view_);
  menu->setObjectName(QStringLiteral("POP%1").arg(popup + 1));
  menu->setStyle(&SharedMenuStyle());
  QPalette palette = menu->palette();
  palette.setColor(QPalette::Window, kMenuBackground);
  palette.setColor(QPalette::Base, kMenuBackground);
  menu->setPalette(palette);
  AddItems(*menu, commands_.Menu(popup, language ? language() : nullptr));
  // A picture put on (or taken off) the clipboard while the menu is open.
  for (QAction* a : menu->actions()) {
    if (a->data().toInt() != kCmdPaste) continue;
    connect(&clipboard_, &CPictureClipboard::changed, a, [this, a] { a->setEnabled(commands_.CanPaste()); });
  }
  return menu;
}

void CBoardViewInput::OpenMenuAt(QPoint clientPoint) {
  if (commands_.DragInProgress()) return;
  const Point scroll = view_->ScrollPosition();
  std::unique_ptr<QMenu> menu = CreateMenu(clientPoint + QPoint(scroll.x, scroll.y));
  if (!menu) return;
  emit menuShown(menu.get());
  QPointer<CBoardViewInput> self(this);
  QAction* chosen = menu->exec(view_->viewport()->mapToGlobal(clientPoint));
  if (!self) {
    (void)menu.release();  // went with the view
    return;
  }
  if (chosen && chosen->data().isValid()) commands_.Run(chosen->data().toInt());
}

QString CBoardViewInput::AcceptPictureDrop(QDropEvent* event) {
  return AcceptFileDrop(event, [this](const QString& path) {
    return commands_.CanPastePicture() && !QImageReader::imageFormat(path).isEmpty();
  });
}

void CBoardViewInput::PasteFile(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);  // a photo as it is shown, turned by its orientation tag
  if (commands_.PastePicture(BoardPicture(reader.read()))) view_->setFocus(Qt::OtherFocusReason);
}

bool CBoardViewInput::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    // A picture file dropped on the board is pasted as Ctrl+V pastes the clipboard's.
    case QEvent::DragEnter:
    case QEvent::DragMove:
      if (watched != view_->viewport()) break;
      AcceptPictureDrop(static_cast<QDropEvent*>(event));
      return true;
    case QEvent::Drop:
      if (watched != view_->viewport()) break;
      if (const QString path = AcceptPictureDrop(static_cast<QDropEvent*>(event)); !path.isEmpty()) PasteFile(path);
      return true;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
      if (watched == view_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
          const int code = CtrlCode(*key);
          const bool select = editor_.settings().tool == kToolSelect;
          if (code == 22 || code == 25 || code == 26 || (select && (code == 3 || code == 24)) ||
              (select && code < 0 && (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Escape)))
            event->accept();
          return false;
        }
        if (Key(*key)) {
          event->accept();
          return true;
        }
      }
      break;
    case QEvent::ContextMenu:
      // The menu follows the right button's release; the keyboard asks for none.
      return watched == view_->viewport() || watched == view_;
    case QEvent::MouseButtonRelease:
      if (watched == view_->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        // After the board has had the release.
        QMetaObject::invokeMethod(this, [this, at] { OpenMenuAt(at); }, Qt::QueuedConnection);
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kirrup
