// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/led_type.h"

#include <algorithm>

namespace kirrup {
namespace {

constexpr LedTypeTableRows kDefault = {{
    {0, {u'7', u'L', u'E', u'D'}, 5, 7, 1, 18, 108, 2, 2},
    {1, {u'1', u'1', u'L', u'E', u'D'}, 11, 11, 1, 12, 142, 1, 1},
    {2, {u'1', u'6', u'L', u'E', u'D'}, 16, 16, 0, 9, 144, 1, 1},
}};

LedTypeTableRows g_table = kDefault;

}  // namespace

const LedTypeTableRows& DefaultLedTypeTable() { return kDefault; }
const LedTypeTableRows& LedTypeTable() { return g_table; }

const LedTypeInfo& LedTypeRow(int type) {
  return g_table[(type >= 0 && type <= 2) ? type : 0];
}

void ApplyLed11Settings(int gap, int maxWidth) {
  g_table[kLed11].gap = gap;
  g_table[kLed11].maxWidth = maxWidth;
}

void ResetLedTypeTable() { g_table = kDefault; }

int MaxLineWidth() {
  int w = 0;
  for (const auto& r : g_table) w = std::max(w, r.maxWidth);
  return w;
}

int MaxLineHeight() {
  int h = 0;
  for (const auto& r : g_table) h = std::max(h, r.height);
  return h;
}

}  // namespace kirrup
