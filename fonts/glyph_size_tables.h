// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two glyph size tables of the user fonts, built into the program (generated from the
// font sources together with the glyph files). Entry c is two bytes at 2c: width, height.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kirrup {

constexpr size_t kGlyphSizeTableBytes = 131072;
constexpr int kSizeTable11 = 168;  // resource id of the 11-LED user font's table
constexpr int kSizeTable16 = 167;  // resource id of the 16-LED user font's table

// The table with that resource id; empty when there is none.
std::span<const uint8_t> GlyphSizeTableResource(int id);

}  // namespace kirrup
