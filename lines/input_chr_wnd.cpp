// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/input_chr_wnd.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <array>
#include <optional>

#include "app/accessible_texts.h"
#include "app/languages.h"
#include "widgets/accessibility.h"
#include "widgets/raster_image.h"

namespace kirrup {
namespace {

// The record format under the names that make it "ZEQBinaryData" on every platform:
// Qt's form for a registered Windows clipboard format, and the plain name, which is
// the X11 selection target and the Wayland mime type as it stands.
const QString kWindowsRecordMime = QStringLiteral("application/x-qt-windows-mime;value=\"ZEQBinaryData\"");
const QString kPlainRecordMime = QStringLiteral("ZEQBinaryData");

// The menu resource's own captions, shown when no language table is given.
const std::array<const char16_t*, 8> kResourceCaptions = {
    u"撤消(&U)", u"重复(&R)", u"剪切(&X)", u"复制(&C)", u"粘贴字符图形(&P)", u"粘贴自文本(&T)", u"删除(&D)", u"全选(&A)"};

platform::Color ToColor(const QColor& c) {
  return platform::Rgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                       static_cast<uint8_t>(c.blue()));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The editor's view of the window

class CInputChrWnd::Host final : public LineEditorHost {
 public:
  explicit Host(CInputChrWnd& w) : w_(w) {}

  void NotifyChange() override {
    w_.AnnounceTextChanges();
    emit w_.lineChanged(w_.lineId_);
  }
  void LineFocused() override { emit w_.lineFocused(w_.lineId_); }
  void CharacterRefused(uint16_t code) override { emit w_.characterRefused(w_.lineId_, code); }
  void Invalidate(bool) override {
    w_.AnnounceTextChanges();
    w_.update();
  }
  void RedrawNow() override {
    w_.AnnounceTextChanges();
    w_.repaint();
  }
  bool HasFocus() const override { return w_.hasFocus(); }
  void TakeFocus() override { w_.setFocus(Qt::MouseFocusReason); }
  void CreateCaret(int width, int height) override {
    w_.caretExists_ = true;
    w_.caret_.setSize(QSize(width, height));
    Show();
  }
  void DestroyCaret() override {
    if (!w_.caretExists_) return;
    w_.caretExists_ = false;
    w_.blink_.stop();
    w_.update(w_.caret_);
  }
  void SetCaretPos(int x, int y) override {
    w_.AnnounceTextChanges();
    w_.update(w_.caret_);
    w_.caret_.moveTo(x, y);
    if (w_.caretExists_) Show();
  }
  void CaptureMouse() override { w_.grabMouse(Qt::IBeamCursor); }
  void ReleaseMouse() override { w_.releaseMouse(); }

 private:
  // Shows the caret and starts its blink over.
  void Show() {
    w_.caretOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
      w_.blink_.start(flash / 2);
    else
      w_.blink_.stop();
    w_.update(w_.caret_);
  }
  CInputChrWnd& w_;
};

// ---------------------------------------------------------------------------------------
// The system clipboard

class CInputChrWnd::Clipboard final : public LineClipboard {
 public:
  bool Put(std::span<const uint8_t> records, std::span<const char16_t> text) override {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return false;
    auto data = std::make_unique<QMimeData>();
    const QByteArray bytes(reinterpret_cast<const char*>(records.data()), static_cast<qsizetype>(records.size()));
    data->setData(kWindowsRecordMime, bytes);
    data->setData(kPlainRecordMime, bytes);
    // Qt's text is counted, not terminated: the 0 unit stays out of what other programs get.
    size_t n = text.size();
    while (n > 0 && text[n - 1] == 0) --n;
    data->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(n)));
    cb->setMimeData(data.release());
    return true;
  }
  bool HasRecords() const override {
    const QMimeData* d = Data();
    return d && (d->hasFormat(kPlainRecordMime) || d->hasFormat(kWindowsRecordMime));
  }
  bool HasText() const override {
    const QMimeData* d = Data();
    return d && d->hasText();
  }
  std::optional<std::vector<uint8_t>> Records() const override {
    const QMimeData* d = Data();
    if (!d) return std::nullopt;
    QByteArray bytes;
    if (d->hasFormat(kPlainRecordMime))
      bytes = d->data(kPlainRecordMime);
    else if (d->hasFormat(kWindowsRecordMime))
      bytes = d->data(kWindowsRecordMime);
    else
      return std::nullopt;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  }
  std::optional<std::u16string> Text() const override {
    const QMimeData* d = Data();
    if (!d || !d->hasText()) return std::nullopt;
    const QString s = d->text();
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
  }

 private:
  static const QMimeData* Data() {
    QClipboard* cb = QGuiApplication::clipboard();
    return cb ? cb->mimeData(QClipboard::Clipboard) : nullptr;
  }
};

// ---------------------------------------------------------------------------------------
// The window

CInputChrWnd::CInputChrWnd(QWidget* parent, int lineId)
    : QWidget(parent),
      lineId_(lineId),
      ownLine_(std::make_unique<MessageLine>()),
      line_(ownLine_.get()),
      host_(std::make_unique<Host>(*this)),
      clipboard_(std::make_unique<Clipboard>()) {
  setObjectName(QStringLiteral("MYINPUTCHRWND"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled);
  setFocusPolicy(Qt::TabFocus);  // a left click takes the focus itself; the right button does not
  setCursor(Qt::IBeamCursor);
  InstallAccessibleFactory(&CInputChrWnd::AccessibleFactory);
  connect(&blink_, &QTimer::timeout, this, [this] {
    caretOn_ = !caretOn_;
    update(caret_);
  });
  BindEditor();
  line_->SetLedType(kLed16, false);
}

CInputChrWnd::~CInputChrWnd() = default;

void CInputChrWnd::BindEditor() {
  editor_.reset();  // detaches from the old line first
  editor_ = std::make_unique<LineEditor>(*line_, host_.get());
  editor_->SetClipboard(clipboard_.get());
  editor_->Resize(width(), height());
}

void CInputChrWnd::setLine(MessageLine& line) {
  if (&line == line_) return;
  line_ = &line;
  BindEditor();
  AnnounceTextChanges();
  if (hasFocus()) editor_->PlaceCaret();
  update();
}

const LanguageTable* CInputChrWnd::Language() const {
  if (!languages_ || languages_->tables.empty()) return nullptr;
  return &languages_->Current();
}

QString CInputChrWnd::AccessibleName() const {
  const LanguageTable* language = Language();
  return ToQString(LineName(lineId_ - 3001, language ? IsChineseTable(*language) : AccessibleChinese()));
}

int CInputChrWnd::PreferredWidth() const {
  const LedTypeInfo& row = LedTypeRow(line_->type());
  return row.zoomX * (row.maxWidth + 2 * line_->barWidth + 4) + 2;
}

QSize CInputChrWnd::sizeHint() const { return QSize(PreferredWidth(), PreferredHeight()); }

QRect CInputChrWnd::caretRect() const { return caretExists_ ? caret_ : QRect(); }

// ---------------------------------------------------------------------------------------
// Painting

void CInputChrWnd::paintEvent(QPaintEvent*) {
  const QPalette& pal = palette();
  editor_->Paint(picture_, isEnabled(), ToColor(pal.color(QPalette::Active, QPalette::Button)),
                 ToColor(pal.color(QPalette::Disabled, QPalette::Text)));
  ToScreenImage(picture_, image_);
  if (caretExists_ && caretOn_) {
    // The caret inverts what lies under it, as a system caret does.
    const QRect r = caret_.intersected(image_.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
      for (int x = r.left(); x <= r.right(); ++x) line[x] ^= 0x00FFFFFF;
    }
  }
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

void CInputChrWnd::resizeEvent(QResizeEvent*) { editor_->Resize(width(), height()); }

void CInputChrWnd::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) update();
  QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------------------
// Keyboard

bool CInputChrWnd::IsLineKey(int key) {
  switch (key) {
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Delete: return true;
    default: return false;
  }
}

int CInputChrWnd::CharCode(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers();
  const int key = event.key();
  // Control characters come from the key and the modifiers: the event's text differs
  // between platforms and synthetic events.
  if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    switch (key) {
      case Qt::Key_BracketLeft: return 27;
      case Qt::Key_Backslash: return 28;
      case Qt::Key_BracketRight: return 29;
      case Qt::Key_Backspace: return 127;
      case Qt::Key_Return:
      case Qt::Key_Enter: return 10;
      default: return -1;
    }
  }
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    default: break;
  }
  const QString text = event.text();
  return text.size() == 1 ? text.at(0).unicode() : (text.isEmpty() ? -1 : 0x10000);
}

bool CInputChrWnd::event(QEvent* event) {
  // Every key the line acts on is the line's, before any shortcut of the dialog.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers();
    const bool alt = (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier);
    if (!alt && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab &&
        (IsLineKey(key->key()) || CharCode(*key) >= 0)) {
      event->accept();
      return true;
    }
  }
  return QWidget::event(event);
}

void CInputChrWnd::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool shift = mods & Qt::ShiftModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  const int key = event->key();
  // Alt chords are the dialog's (mnemonics), as system keys are.
  if ((mods & Qt::AltModifier) && !ctrl) {
    event->ignore();
    return;
  }
  if (IsLineKey(key)) {
    LineKey down = LineKey::Delete;
    switch (key) {
      case Qt::Key_End: down = LineKey::End; break;
      case Qt::Key_Home: down = LineKey::Home; break;
      case Qt::Key_Left: down = LineKey::Left; break;
      case Qt::Key_Up: down = LineKey::Up; break;
      case Qt::Key_Right: down = LineKey::Right; break;
      case Qt::Key_Down: down = LineKey::Down; break;
      default: break;
    }
    editor_->KeyDown(down, shift);
    event->accept();
    return;
  }
  if (key == Qt::Key_F10 && shift && !ctrl) {
    OpenContextMenu(QPoint(5, 5));
    event->accept();
    return;
  }
  const int code = CharCode(*event);
  if (code < 0) {
    event->ignore();
    return;
  }
  if (code <= 0xFFFF) {
    editor_->Char(static_cast<uint16_t>(code), ctrl);
  } else {
    // Several units at once (a character beyond the basic plane, a composed sequence).
    for (QChar unit : event->text()) editor_->Char(unit.unicode(), ctrl);
  }
  event->accept();
}

void CInputChrWnd::inputMethodEvent(QInputMethodEvent* event) {
  for (QChar unit : event->commitString()) editor_->Char(unit.unicode(), false);
  event->accept();
}

QVariant CInputChrWnd::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: return caret_;
    case Qt::ImHints: return static_cast<int>(Qt::ImhNoPredictiveText);
    default: return QWidget::inputMethodQuery(query);
  }
}

// ---------------------------------------------------------------------------------------
// Mouse

void CInputChrWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressPos_ = event->position().toPoint();
  editor_->MouseDown(pressPos_.x(), event->modifiers() & Qt::ShiftModifier);
}

void CInputChrWnd::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool held = event->buttons() & Qt::LeftButton;
  if (editor_->dragPending() && held &&
      (std::abs(pos.x() - pressPos_.x()) > QApplication::startDragDistance() ||
       std::abs(pos.y() - pressPos_.y()) > QApplication::startDragDistance()))
    editor_->DragDecided(true);
  editor_->MouseMove(pos.x(), held);
}

void CInputChrWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) editor_->MouseUp();
}

void CInputChrWnd::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) editor_->DoubleClick();
}

// ---------------------------------------------------------------------------------------
// Focus

void CInputChrWnd::focusInEvent(QFocusEvent* event) {
  // A popup menu closing hands the focus back; the window never lost it for the user.
  if (event->reason() == Qt::PopupFocusReason && caretExists_) return;
  editor_->FocusIn();
}

void CInputChrWnd::focusOutEvent(QFocusEvent* event) {
  if (event->reason() == Qt::PopupFocusReason) return;
  editor_->FocusOut();
}

// ---------------------------------------------------------------------------------------
// Context menu

std::unique_ptr<QMenu> CInputChrWnd::CreateContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  menu->setObjectName(QStringLiteral("popup_edit"));
  const LanguageTable* language = Language();
  for (size_t i = 0; i < kLineMenuCommands.size(); ++i) {
    const int id = kLineMenuCommands[i];
    QString text = QString::fromUtf16(kResourceCaptions[i]);
    if (language) {
      // Applied as every menu applies its texts, an empty one included.
      if (const std::u16string* t = MenuText(*language, id)) text = QString::fromStdU16String(*t);
    }
    QAction* action = menu->addAction(text);
    action->setData(id);
    action->setEnabled(editor_->CommandEnabled(id));
    if (id == kLineRedo || id == kLineDelete) menu->addSeparator();
  }
  return menu;
}

void CInputChrWnd::OpenContextMenu(const QPoint& pos) {
  QPointer<CInputChrWnd> self(this);
  std::unique_ptr<QMenu> menu = CreateContextMenu();
  QAction* chosen = menu->exec(mapToGlobal(pos));
  if (!self) {
    (void)menu.release();  // went with its parent
    return;
  }
  if (chosen) editor_->Command(chosen->data().toInt());
}

void CInputChrWnd::contextMenuEvent(QContextMenuEvent* event) {
  OpenContextMenu(event->reason() == QContextMenuEvent::Keyboard ? QPoint(5, 5) : event->pos());
  event->accept();
}

}  // namespace kirrup
