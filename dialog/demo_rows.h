// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What Start takes from the twelve rows: a snapshot of every line with its effects.
#include <vector>

#include "dialog/demo_engine.h"
#include "lines/message_rows.h"

namespace kirrup {

// One DemoRowInput per row, in row order; each line's GetLineBitmap is taken now, so
// later edits show only after the next Start.
std::vector<DemoRowInput> DemoRowsFrom(MessageRows& rows);

}  // namespace kirrup
