// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// LineEditor: everything a line input window does with its MessageLine, without a
// toolkit. The window turns its events into the calls below (key codes, hit positions
// in pixels, the drag decision) and shows what Paint draws; the editor tells it what to
// do on screen through LineEditorHost and reaches the clipboard through LineClipboard.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lines/message_line.h"
#include "platform/raster.h"

namespace kirrup {

// Keys that act at key-down; every other key is left to the character messages.
enum class LineKey { End, Home, Left, Up, Right, Down, Delete };

// Commands of the context menu "popup_edit", by menu id.
enum LineCommand : int {
  kLineUndo = 8028,
  kLineRedo = 8029,
  kLineCut = 8026,
  kLineCopy = 8024,
  kLinePasteGraph = 57637,
  kLinePasteText = 8007,
  kLineDelete = 8027,
  kLineSelectAll = 8040,
};
// In menu order; separators follow Redo and Delete.
inline constexpr std::array<int, 8> kLineMenuCommands = {
    kLineUndo, kLineRedo, kLineCut, kLineCopy, kLinePasteGraph, kLinePasteText, kLineDelete, kLineSelectAll};

// The clipboard format that carries character records between lines and programs.
inline constexpr std::string_view kLineRecordFormat = "ZEQBinaryData";
// The change notification's code, as the parent receives it.
inline constexpr int kLineChangeCode = 768;

// Line window colours (0x00BBGGRR).
namespace line_colors {
inline constexpr platform::Color kBackground = platform::Rgb(245, 245, 245);
inline constexpr platform::Color kFrame = platform::Rgb(49, 106, 197);
inline constexpr platform::Color kTextArea = platform::Rgb(255, 255, 255);
inline constexpr platform::Color kBarEven = platform::Rgb(140, 150, 200);
inline constexpr platform::Color kBarOdd = platform::Rgb(180, 200, 220);
inline constexpr platform::Color kBarRest = platform::Rgb(220, 240, 240);
}  // namespace line_colors

// The clipboard as the line editor sees it.
class LineClipboard {
 public:
  virtual ~LineClipboard() = default;
  // Replaces the clipboard's content by both blocks at once: the records under
  // "ZEQBinaryData" and the codes as Unicode text (ending in a 0 unit). False when the
  // clipboard could not take them; then nothing was placed.
  virtual bool Put(std::span<const uint8_t> records, std::span<const char16_t> text) = 0;
  virtual bool HasRecords() const = 0;
  virtual bool HasText() const = 0;
  // The blocks; nullopt when the clipboard cannot be read or lacks the format.
  virtual std::optional<std::vector<uint8_t>> Records() const = 0;
  virtual std::optional<std::u16string> Text() const = 0;
};

// What the editor asks of its window. Sizes and positions are in pixels.
class LineEditorHost {
 public:
  virtual ~LineEditorHost() = default;
  virtual void NotifyChange() {}
  virtual void LineFocused() {}
  // A typed character was not inserted (the line is unchanged by it).
  virtual void CharacterRefused(uint16_t /*code*/) {}
  virtual void Invalidate(bool /*erase*/) {}
  virtual void RedrawNow() {}
  virtual bool HasFocus() const { return false; }
  virtual void TakeFocus() {}
  virtual void CreateCaret(int /*width*/, int /*height*/) {}
  virtual void DestroyCaret() {}
  // Moves the caret and shows it (nothing shows while no caret exists).
  virtual void SetCaretPos(int /*x*/, int /*y*/) {}
  virtual void CaptureMouse() {}
  virtual void ReleaseMouse() {}
};

// A clipboard record worth inserting: one a line or the glyph renderer could have made.
// Anything else (no columns, an impossible height, a byte count that disagrees with its
// size) is refused like a record that does not fit.
bool SensibleRecord(const CharColumns& record);

class LineEditor final : public LineView {
 public:
  // Attaches itself to the line as its view; the line must outlive the editor.
  explicit LineEditor(MessageLine& line, LineEditorHost* host = nullptr);
  ~LineEditor() override;
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  void SetHost(LineEditorHost* host) { host_ = host; }
  void SetClipboard(LineClipboard* clipboard) { clipboard_ = clipboard; }
  MessageLine& line() { return *line_; }
  const MessageLine& line() const { return *line_; }

  // The client area changed size: recomputes textRect for the whole height.
  void Resize(int width, int height);
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }

  // LineView: what the line model asks of its window.
  void NotifyChange() override;
  void PlaceCaret() override;
  void Invalidate(bool erase) override;
  void RedrawNow() override;
  void Layout(int heightPixels) override;
  int TextWidth() const override { return textRect_.Width(); }
  bool HasFocus() const override { return host_ && host_->HasFocus(); }

  // Where the line's columns are drawn, in dots.
  const platform::Rect& textRect() const { return textRect_; }
  // The caret offset a click at x pixels gives.
  int HitTest(int x) const;
  // Where PlaceCaret puts the caret, in pixels.
  int CaretX() const;
  int CaretY() const;
  int caretHeight() const { return caretHeight_; }
  bool dragging() const { return dragging_; }
  bool dragPending() const { return dragPending_; }

  // Keyboard. KeyDown returns false for keys it leaves alone.
  bool KeyDown(LineKey key, bool shift);
  // One character message (a UTF-16 unit); ctrl: the Ctrl key is held.
  void Char(uint16_t code, bool ctrl);

  // Mouse, x in pixels. A press without Shift places the caret and then waits for the
  // window's drag detection: DragDecided(true) once the pointer left the drag rectangle
  // with the button held, DragDecided(false) when the button came up first.
  void MouseDown(int x, bool shift);
  void DragDecided(bool started);
  void MouseMove(int x, bool leftHeld);
  void MouseUp();
  void DoubleClick();

  void FocusIn();
  void FocusOut();

  // Context menu commands.
  bool CommandEnabled(int command) const;
  // Runs a command; false for an id that is not one of the eight.
  bool Command(int command);

  // The edits behind the commands and keys.
  bool Copy();
  void Cut();
  void Paste(int mode);  // 1: character graphics, text as fallback; 2: text only
  void DeleteSelection();
  void SelectAll();
  void Undo();
  void Redo();
  void Backspace();
  void Type(uint16_t code);
  // Selects characters anchor .. end (either order; clamped) and puts the caret at end;
  // equal bounds leave no selection. For a reader that sets the caret or the selection.
  void Select(int anchor, int end);

  // Where character i is drawn, in pixels (empty when it is out of view or no character).
  platform::Rect CharacterRect(int i) const;
  // The character drawn at x pixels, or -1.
  int CharacterAt(int x) const;
  void PushUndo() { line_->undo.Push(*line_); }

  // Draws the window into out (made the client size): each dot a zoomX x zoomY block.
  // The disabled look uses the system button-face and gray-text colours given.
  void Paint(platform::RgbImage& out, bool enabled, platform::Color buttonFace,
             platform::Color grayText) const;

 private:
  // First column of character i; LineEnd for i = itemCount.
  int ColumnOf(int i) const;
  int zoomX() const { return line_->ledType().zoomX; }
  int zoomY() const { return line_->ledType().zoomY; }
  void ImportClipboardRecords(std::span<const uint8_t> bytes);

  MessageLine* line_;
  LineEditorHost* host_;
  LineClipboard* clipboard_ = nullptr;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  platform::Rect textRect_{};
  int caretHeight_ = 0;
  bool dragging_ = false;
  bool dragPending_ = false;
};

}  // namespace kirrup
