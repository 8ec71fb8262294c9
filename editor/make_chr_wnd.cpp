// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/make_chr_wnd.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

#include "editor/board_view_input.h"
#include "editor/edit_chr_view.h"
#include "editor/edit_chr_wnd.h"
#include "lines/message_line.h"
#include "widgets/accessibility.h"
#include "widgets/svg_image.h"

namespace kirrup {

namespace {

constexpr QSize kButtonSize(24, 22);

QString IconName(int id) {
  switch (id) {
    case kCmdSelect:
      return QStringLiteral("tool_select");
    case kCmdPoint:
      return QStringLiteral("tool_point");
    case kCmdLine:
      return QStringLiteral("tool_line");
    case kCmdRectangle:
      return QStringLiteral("tool_rect");
    case kCmdFilledRectangle:
      return QStringLiteral("tool_filled_rect");
    case kCmdEllipse:
      return QStringLiteral("tool_ellipse");
    case kCmdFilledEllipse:
      return QStringLiteral("tool_filled_ellipse");
    case kCmdFill:
      return QStringLiteral("tool_fill");
    case kCmdEraser:
      return QStringLiteral("tool_eraser");
    case kCmdEraser2:
      return QStringLiteral("tool_eraser2");
    case kCmdEraser4:
      return QStringLiteral("tool_eraser4");
    case kCmdOpaque:
      return QStringLiteral("tool_opaque");
    case kCmdTransparent:
      return QStringLiteral("tool_transparent");
    case kCmdDrawBlack:
      return QStringLiteral("tool_draw_black");
    case kCmdDrawWhite:
      return QStringLiteral("tool_draw_white");
    case kCmdBackBlack:
      return QStringLiteral("tool_back_black");
    default:
      return QStringLiteral("tool_back_white");
  }
}

}  // namespace

CMakeChrWnd::CMakeChrWnd(QWidget* owner, QSize outerSize, platform::MessageSink* messages)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      editor_(messages),
      frameSize_({outerSize.width(), outerSize.height()}) {
  setObjectName(QStringLiteral("charEditor"));
  setWindowTitle(QStringLiteral(" "));
  setFocusPolicy(Qt::StrongFocus);
  editor_.SetWindow(this);
  CreateToolbar();
  rulers_ = new CEditChrWnd(editor_.board(), editor_.geometry(), this);
  rulers_->setObjectName(QStringLiteral("rulerWindow"));
  boardInput_ = new CBoardViewInput(editor_, view(), this);
  hint_ = new QLabel(this);
  hint_->setObjectName(QStringLiteral("emptyLineHint"));
  hint_->setWordWrap(true);
  hint_->setAlignment(Qt::AlignCenter);
  hint_->setMargin(12);
  hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
  hint_->hide();
  resize(outerSize);
  frameWait_ = new QTimer(this);
  frameWait_->setInterval(25);
  connect(frameWait_, &QTimer::timeout, this, &CMakeChrWnd::CheckFrame);
  ToolbarChanged();
  RefreshTexts();
}

CMakeChrWnd::~CMakeChrWnd() {
  editor_.SetWindow(nullptr);
  // The view works on the editor's board: it goes before the editor does.
  delete rulers_;
  rulers_ = nullptr;
}

CEditChrView* CMakeChrWnd::view() const { return rulers_->view(); }

void CMakeChrWnd::CreateToolbar() {
  toolbar_ = new QWidget(this);
  toolbar_->setObjectName(QStringLiteral("toolbar7700"));
  toolbar_->setAutoFillBackground(true);
  int index = 0;
  const int left = (kToolbarWidth - 2 * kButtonSize.width()) / 2;
  int y = 4;
  for (const ToolbarButton& b : Toolbar7700()) {
    const int column = index % 2;
    if (b.id != 0) {
      auto* button = new QToolButton(toolbar_);
      button->setObjectName(QStringLiteral("tool%1").arg(b.id));
      button->setAutoRaise(true);
      button->setCheckable(true);
      // Tab reaches the tools, Space presses them; the board takes the focus after each.
      button->setFocusPolicy(Qt::TabFocus);
      button->setIcon(SvgIcon(IconName(b.id)));
      button->setIconSize(QSize(16, 16));
      button->setGeometry(left + column * kButtonSize.width(), y, kButtonSize.width(), kButtonSize.height());
      const int id = b.id;
      // Toggled, not clicked: a reader's toggle action must run the command as a click does.
      connect(button, &QToolButton::toggled, this, [this, id] {
        editor_.Command(id);
        ToolbarChanged();  // a refused command leaves the buttons as they were
      });
      button->installEventFilter(this);
      buttons_.insert(b.id, button);
    }
    if (column == 1) {
      y += kButtonSize.height();
      if (b.id == 0) {
        // The separator ends the tools' rows: a groove before the settings.
        auto* line = new QFrame(toolbar_);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(left, y + 1, 2 * kButtonSize.width(), 3);
        y += 6;
      }
    }
    ++index;
  }
}

void CMakeChrWnd::RefreshTexts() {
  const bool chinese = editor_.ChineseUi();
  hint_->setText(QString::fromStdString(EmptyLineHint(chinese)));
  // Names for a reader only while one listens (the frame is made at start-up; its tips are
  // set again whenever it is shown).
  const bool reader = ReaderListening();
  for (const ToolbarButton& b : Toolbar7700()) {
    if (QToolButton* button = buttons_.value(b.id, nullptr)) {
      button->setToolTip(QString::fromStdString(ToolTipText(b, chinese)));
      const QString name = QString::fromStdString(ToolButtonName(b, chinese));
      if (reader && button->accessibleName() != name) button->setAccessibleName(name);
    }
  }
  if (reader) NotifyAccessible(view(), QAccessible::NameChanged);
}

void CMakeChrWnd::LoadLine(int row, MessageLine& line) {
  editor_.SetSectionsFor(line);
  editor_.LoadLine(row, line);
  // An empty line gives a board of no columns: say why instead of showing nothing.
  if (line.LineEnd() == 0) {
    RefreshTexts();
    PlaceHint();
    hint_->show();
    hint_->raise();
  } else {
    hint_->hide();
  }
}

void CMakeChrWnd::PlaceHint() { hint_->setGeometry(rulers_->geometry()); }

QSize CMakeChrWnd::OuterSize() const {
  const QSize frame = frameGeometry().size() - size();
  const WindowSize s = frameSize_.ToStore({width(), height()}, {frame.width(), frame.height()});
  return {s.width, s.height};
}

void CMakeChrWnd::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
  // A new line is on the board: its name tells the line and the size.
  if (isVisible()) NotifyAccessible(view(), QAccessible::NameChanged);
}

void CMakeChrWnd::ToolbarChanged() {
  for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
    const QSignalBlocker quiet(it.value());
    it.value()->setEnabled(editor_.ButtonEnabled(it.key()));
    it.value()->setChecked(editor_.ButtonChecked(it.key()));
  }
}

void CMakeChrWnd::FocusBoard() { view()->setFocus(Qt::OtherFocusReason); }

void CMakeChrWnd::ScrollBoardToLeft() {
  CEditChrView* v = view();
  if (v->scrollModel().horzBarShown()) v->ScrollToPoint(0, v->ScrollPosition().y);
}

void CMakeChrWnd::resizeEvent(QResizeEvent*) {
  frameSize_.ClientResized({width(), height()});
  toolbar_->setGeometry(0, 0, kToolbarWidth, height());
  rulers_->setGeometry(kToolbarWidth, 0, std::max(width() - kToolbarWidth, 0), height());
  PlaceHint();
}

void CMakeChrWnd::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RefreshTexts();
  if (frameSize_.waiting()) {
    // The window manager frames the window some time after it is mapped; a busy machine may
    // take seconds. Without one no frame ever comes, and the window keeps its size.
    frameChecks_ = 0;
    frameWait_->start();
  }
}

void CMakeChrWnd::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  CheckFrame();  // reparenting into the frame moves the window
}

void CMakeChrWnd::CheckFrame() {
  if (!frameSize_.waiting() || !isVisible() || ++frameChecks_ > 400) {
    frameWait_->stop();
    return;
  }
  const QSize frame = frameGeometry().size() - size();
  if (const std::optional<WindowSize> client = frameSize_.FrameReported({frame.width(), frame.height()})) {
    frameWait_->stop();
    resize(client->width, client->height);
  }
}

void CMakeChrWnd::focusInEvent(QFocusEvent*) { FocusBoard(); }

void CMakeChrWnd::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

bool CMakeChrWnd::eventFilter(QObject* watched, QEvent* event) {
  // The language may have changed since the tips were set.
  if (event->type() == QEvent::ToolTip) RefreshTexts();
  return QWidget::eventFilter(watched, event);
}

}  // namespace kirrup
