// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The names and states that assistive technology (a screen reader) reads for the
// program's own windows. Like the program's other additions to the language tables they
// are English, or Chinese while the interface is in Chinese; a word the current table
// has (a column caption) is taken from it.
#include <cstdint>
#include <string>
#include <string_view>

namespace kirrup {

// Rows are 0-based; the names count from 1 as the row labels do.
std::u16string LineName(int row, bool chinese);
std::u16string TxtButtonName(int row, bool chinese);
// An effect list of a row: its column caption, the row and the effect chosen.
std::u16string EffectChoiceName(std::u16string_view caption, int row, std::u16string_view chosen, bool chinese);

// The connection indicator: what its tool tip says, on one line.
std::u16string IndicatorName(std::string_view toolTip, bool chinese);

std::u16string SymbolPickerName(bool chinese);
// A cell of the symbol picker: the character it shows (a symbol's word too) and its code.
std::u16string PickerCellName(uint16_t code, int ledType, bool chinese);

std::u16string SimulationName(bool playing, bool chinese);

// The character editor's board: the line on it (row -1: none yet) and its size in cells.
std::u16string BoardName(int row, int width, int height, bool chinese);
// The board's keyboard cell: where it is and whether its dot is lit.
std::u16string BoardCellText(int column, int row, bool lit, bool chinese);

}  // namespace kirrup
