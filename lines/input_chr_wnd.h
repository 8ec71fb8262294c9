// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CInputChrWnd: the window in which the user types one message line. It turns Qt's
// events into LineEditor calls and shows what the editor paints; all editing rules live
// in LineEditor.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "lines/line_editor.h"
#include "lines/line_text.h"
#include "lines/message_line.h"
#include "platform/raster.h"

class QAccessibleInterface;
class QMenu;

namespace kirrup {

class GlyphSource;
struct LanguageList;
struct LanguageTable;

class CInputChrWnd : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int lineId READ lineId WRITE setLineId)

 public:
  // The window owns a line of its own, reset to 16 LEDs; setLine binds another one.
  explicit CInputChrWnd(QWidget* parent = nullptr, int lineId = 3001);
  ~CInputChrWnd() override;

  // The control id (3001..3012) the signals carry.
  int lineId() const { return lineId_; }
  void setLineId(int id) { lineId_ = id; }

  // The line this window edits: its own, or one held elsewhere (a row of MessageRows)
  // bound with setLine, which must outlive the window or be unbound first.
  MessageLine& line() { return *line_; }
  const MessageLine& line() const { return *line_; }
  void setLine(MessageLine& line);
  LineEditor& editor() { return *editor_; }

  void setGlyphSource(GlyphSource* glyphs) { line_->SetGlyphSource(glyphs); }
  // The menu takes the current language's texts each time it opens; without a list it
  // shows its own captions.
  void setLanguages(const LanguageList* languages) { languages_ = languages; }

  // The size the dialog gives the window for the line's LED type: the whole line fits.
  int PreferredHeight() const { return line_->PreferredHeight(); }
  int PreferredWidth() const;
  QSize sizeHint() const override;

  // The context menu "popup_edit" as it would open now (texts and enabled states).
  std::unique_ptr<QMenu> CreateContextMenu();
  // Opens it at a point of the window and runs the chosen command.
  void OpenContextMenu(const QPoint& pos);

  // The caret as drawn now (empty while the window has no caret), in pixels.
  QRect caretRect() const;
  // The last painted picture of the line, before the caret is drawn over it.
  const platform::RgbImage& picture() const { return picture_; }

  // What a screen reader reads: the name of the row, and the line as text
  // (input_chr_accessible.cpp).
  QString AccessibleName() const;
  static QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

 signals:
  // The line's content changed (the change notification, code 768).
  void lineChanged(int id);
  // The window gained the keyboard focus.
  void lineFocused(int id);
  // A typed character was refused (the line is as it was).
  void characterRefused(int id, int code);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class Host;
  class Clipboard;
  friend class Host;

  void BindEditor();
  // The character code a key event types, or -1 (Ctrl chords from key and modifiers).
  static int CharCode(const QKeyEvent& event);
  static bool IsLineKey(int key);
  const LanguageTable* Language() const;
  // Tells a listening reader what changed in the text, the caret and the selection since
  // it was told last: once the edit under way is done, so that it never hears a half-made
  // state (a selection begun, the caret not yet moved).
  void AnnounceTextChanges();
  void FlushAnnouncements();

  int lineId_;
  std::unique_ptr<MessageLine> ownLine_;
  MessageLine* line_;
  std::unique_ptr<Host> host_;
  std::unique_ptr<Clipboard> clipboard_;
  std::unique_ptr<LineEditor> editor_;
  const LanguageList* languages_ = nullptr;

  platform::RgbImage picture_;
  QImage image_;  // what picture_ shows on the screen; kept to save its allocation
  // The caret: exists while focused, blinks while it exists.
  bool caretExists_ = false;
  bool caretOn_ = false;
  QRect caret_;
  QTimer blink_;
  QPoint pressPos_;
  LineText announced_;
  bool announcing_ = false;
};

}  // namespace kirrup
