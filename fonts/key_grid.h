// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The symbol picker without the toolkit: the glyphs of codes 1..255 collected once, the
// 16-column grid they are shown in, hit testing, scrolling by rows, the hover and press
// rules and the painting of cells into a colour raster. CKeyWnd turns Qt events into the
// calls below and shows what Paint draws.
#include <array>
#include <optional>

#include "fonts/glyph_source.h"
#include "lines/char_columns.h"
#include "platform/raster.h"

namespace kirrup {

inline constexpr int kKeyCellWidth = 28;
inline constexpr int kKeyCellHeight = 28;
inline constexpr int kKeyCellGap = 2;
inline constexpr int kKeyColumns = 16;
inline constexpr int kKeyScrollBarWidth = 20;
inline constexpr int kKeyInset = 2;  // the cell area's margin inside the client area
inline constexpr int kMaxKeyGlyphs = 256;
inline constexpr platform::Color kKeyBackground = 0xFFFFFF;
inline constexpr platform::Color kKeyHotInk = 0xFA32FA;
inline constexpr platform::Color kKeyFocusFrame = platform::Rgb(0x2F, 0x6F, 0xD6);

// The cell backgrounds: a button face in its normal and its highlighted state.
const platform::RgbImage& KeyCellPicture(bool hot);

// Paints a glyph centred into the cell rectangle of target, over what is there: lit dots
// in ink, unlit dots left alone (white is transparent). 7-LED glyphs are shown at twice
// their size. A glyph wider or taller than the cell is narrowed (or flattened) by merging
// neighbouring columns (rows): a dot is lit when any dot merged into it is, so no stroke
// disappears and the character keeps its shape.
void DrawGlyphInCell(const CharColumns& glyph, int ledType, platform::Color ink, platform::RgbImage& target,
                     const platform::Rect& cell);

enum class KeyScroll { LineUp, LineDown, PageUp, PageDown, ThumbTrack, Other };
// Moves of the keyboard's cell: by one, by a page of visible rows, to the ends of its row
// and to the first and last glyph.
enum class KeyMove { Left, Right, Up, Down, PageUp, PageDown, RowStart, RowEnd, First, Last };

class KeyGrid {
 public:
  // The scroll bar as the layout leaves it.
  struct ScrollBarState {
    platform::Rect rect;
    int maximum = 0;  // range 0..maximum (rows - 1)
    int page = 0;     // visible rows
    int position = 0;
    bool enabled = false;
  };

  // What a mouse event asks of the window.
  struct MouseResult {
    bool repaint = false;                 // a cell changed its look
    std::optional<CharColumns> insert;    // the record to send to the dialog
  };

  // Collects the glyphs of codes 1..count (at most 256) for the LED type as glyphs renders
  // them: codes without a glyph of their own, empty glyphs (except the space) and repeats of
  // an earlier glyph are left out.
  // Then lays the grid out again for the last client size and clears the hot cell.
  void Fill(GlyphSource& glyphs, int count, int ledType);

  // A new client size: scroll bar at the right edge, the cells left of it.
  void Layout(int clientWidth, int clientHeight);

  int glyphCount() const { return count_; }
  const CharColumns& glyph(int index) const { return glyphs_[static_cast<size_t>(index)]; }
  int ledType() const { return ledType_; }
  int rows() const { return rows_; }
  int visibleRows() const { return visibleRows_; }
  int firstRow() const { return firstRow_; }
  int hotCell() const { return hot_; }
  int drawnHotCell() const { return drawnHot_; }
  const platform::Rect& cellArea() const { return cellArea_; }
  const ScrollBarState& scrollBar() const { return scrollBar_; }

  // The rectangle of grid column c and visible row r.
  platform::Rect CellRect(int column, int visibleRow) const;
  // The glyph index under a client point, or -1.
  int HitTest(int x, int y) const;

  // True when the first row changed.
  bool Scroll(KeyScroll code, int thumb = 0);

  MouseResult MouseMove(int x, int y);
  MouseResult LeftDown(int x, int y);
  MouseResult LeftUp(int x, int y);
  MouseResult MouseLeave();
  bool tracked() const { return tracked_; }

  // The client area left of the scroll bar, as the window shows it (target takes the
  // client size).
  void Paint(platform::RgbImage& target) const;

  // The keyboard's cell (key_grid_keys.cpp): always a glyph while there are glyphs.
  int focusCell() const;
  // True when the keyboard's cell or the first row changed; the cell's row is scrolled
  // into view.
  bool MoveFocus(KeyMove move);
  bool SetFocusCell(int index);
  // The glyph Enter or Space inserts, or none without glyphs.
  std::optional<CharColumns> FocusGlyph() const;
  // Frames the keyboard's cell when it is in view (over what Paint drew).
  void PaintFocus(platform::RgbImage& target) const;

 private:
  void PaintCell(platform::RgbImage& target, int index, bool hot) const;

  std::array<CharColumns, kMaxKeyGlyphs> glyphs_{};
  int count_ = 0;
  int ledType_ = 0;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  platform::Rect cellArea_{};
  ScrollBarState scrollBar_{};
  int rows_ = 0;
  int visibleRows_ = 4;
  int firstRow_ = 0;
  int hot_ = -1;       // the hot cell of the rules
  int drawnHot_ = -1;  // the cell shown in the hot state now
  bool tracked_ = false;
  int focus_ = 0;
};

}  // namespace kirrup
