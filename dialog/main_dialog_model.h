// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main dialog's decisions without the toolkit: row scrolling, the arithmetic of the
// top band and the row list, the save prompt's rule and what a line change does to the
// rows. CRotavuDlg only moves widgets to where these say.
#include <array>
#include <optional>
#include <string>

#include "lines/led_type.h"
#include "lines/message_rows.h"
#include "platform/raster.h"

namespace kirrup {

using platform::Rect;

inline Rect MakeRect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// --- Row scrolling -------------------------------------------------------------------

enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll };

struct RowScroll {
  static constexpr int kTotal = MessageRows::kCount;
  int first = 0;  // first visible row
  int page = 0;   // rows per page

  // Moves the first visible row as the scroll bar's code asks; true when it changed.
  // thumb: the thumb position, used by ThumbTrack only.
  bool Scroll(ScrollCode code, int thumb = 0);
  bool Visible(int row) const { return row >= first && row < first + page; }
};

// Rows that fit the inner height with 5 pixels between rows of the combo box's height.
int RowsPerPage(int innerHeight, int comboHeight);

// --- Top band ------------------------------------------------------------------------

struct Size {
  int width = 0;
  int height = 0;
};

struct TopBandInput {
  int clientWidth = 0;
  Size logo;
  Size indicator;
  int dividerLeft = 0;  // the divider's place in the band
  int labelHeight = 0;  // the language label's own height
  int comboHeight = 0;  // the language combo box's own height
};

struct TopBandLayout {
  Rect band;            // 1027: full width, logo height + 4
  Rect logo;            // 1025: 2 pixels in from the top left corner
  Rect indicator;       // 1026: own size, 2 pixels in from the right edge
  Rect indicatorFrame;  // 1041: 2 pixels larger around the indicator
  Rect divider;         // 1031: zero width, the band's height
  Rect label;           // 1040 and 1033: from 8 right of the divider to 8 left of 1041
  Rect combo;
};
TopBandLayout LayOutTopBand(const TopBandInput& in);

// --- The LED type and font choices in the top band -----------------------------------

// Two rows between the band's buttons and the language choice, each a label labelWidth
// wide and its control; the controls take the span's width up to maxControlWidth, and the
// pair is centred in the band.
struct BandChoices {
  Rect ledLabel, ledChoice;
  Rect fontLabel, fontChoice;
};
BandChoices LayOutBandChoices(int left, int right, int bandHeight, int labelWidth, int rowHeight,
                              int maxControlWidth);

// "7 LEDs", "11 LEDs", "16 LEDs" (a type outside 0..2 is 7 LEDs).
std::u16string LedTypeChoiceText(int type);
// The caption with a keyboard mnemonic on key: "&" before the key's first letter in the
// text (either case), else "(&K)" appended, the way Chinese captions carry theirs.
std::u16string WithMnemonic(std::u16string caption, char16_t key);
// The font the characters are drawn with: the built-in dot font, or the installed font's name.
std::u16string FontChoiceText(bool builtIn, const std::u16string& systemFont, bool chinese);

// The note text for a label that shows rich text: each paragraph ("\r\n\r\n" between them) a
// paragraph with little space after it, so long notes fit; the characters stay as they are.
std::u16string NoteParagraphs(const std::u16string& note);

// How long the cue of a refused character and the notice of a sent image stay, in ms.
inline constexpr int kRefusalCueMs = 2500;
inline constexpr int kSentNoticeMs = 4000;

// --- Row list ------------------------------------------------------------------------

// Where the rows go inside frame 2000 (frame rectangle in dialog coordinates).
struct ListArea {
  Rect list;   // the frame less 1 pixel on each side
  Rect inner;  // the list area less 4 pixels at top and bottom
  Rect scrollBar;
};
ListArea ListAreaOf(const Rect& frame, int scrollBarWidth);

// Width of a line window that shows a whole line of the type with the given bar width.
int LineWindowWidth(const LedTypeInfo& type, int barWidth);

struct RowLayoutInput {
  Rect inner;
  int scrollBarLeft = 0;
  int comboHeight = 0;
  int labelWidth = 0, labelHeight = 0;
  int txtWidth = 0, txtHeight = 0;
  int lineWidth = 0, lineHeight = 0;
  bool useMiddle = false;
  RowScroll scroll;
};

struct RowPlacement {
  bool visible = false;
  Rect label, line, txt, open, middle, close;  // middle is empty without middle options
};

// Horizontal spans of the column headers (left, right).
struct HeaderSpans {
  int dataLeft = 0, dataRight = 0;
  int openLeft = 0, openRight = 0;
  int middleLeft = 0, middleRight = 0;  // 0, 0 without middle options
  int closeLeft = 0, closeRight = 0;
};

struct RowsLayout {
  std::array<RowPlacement, MessageRows::kCount> rows;
  HeaderSpans headers;
};

// Nothing while rows per page is 0.
std::optional<RowsLayout> LayOutRows(const RowLayoutInput& in);

// The narrowest width of frame 2000 (its scroll bar of no width) at which LayOutRows gives
// each of three combo boxes at least comboWidth beside the label, a line window of
// lineWidth and the TXT button.
int ListFrameWidthFor(int comboWidth, int labelWidth, int lineWidth, int txtWidth);

// --- Rows and the save prompt -------------------------------------------------------

enum class SaveAnswer { Yes, No, Cancel };

// The prompt is asked only when the data were modified and an enabled row holds a character.
bool SavePromptNeeded(bool modified, const MessageRows& rows);

// The dialog's own state besides the widgets.
struct MainDialogState {
  bool modified = false;
  int currentRow = 0;
  RowScroll scroll;
  std::string lastFilePath;

  // A line changed (typed, or drawn on in the character editor): the next row is enabled
  // and the data count as modified. Returns the row that became enabled, or -1.
  int LineChanged(MessageRows& rows, int row);
  // The character editor opened on a row: the next row is enabled as for a line change,
  // but putting a line on the board changes no data.
  int EditorOpened(MessageRows& rows, int row);
  // A line window took the focus (id 3001..3012); others are ignored.
  void LineFocused(int controlId);
  // The name the file dialogs offer: the last path, "*.LDAT" the first time (kept).
  const std::string& OfferedPath();
};

// --- About ---------------------------------------------------------------------------

// The system menu's About item and the About box: Chinese in a Chinese interface, English in
// every other, as the editor's tool tips.
struct AboutTexts {
  const char* menuItem;
  const char* caption;
  const char* version;
  const char* ok;
};
const AboutTexts& AboutTextsFor(bool chinese);

inline constexpr int kFirstLineId = 3001;
inline constexpr const char* kLdatPattern = "*.LDAT";

}  // namespace kirrup
