// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What `kirrup-cli show` prints of an LED data file: the header, then each stored line with
// its effects and, for the lines that reach the twelve rows, the columns they use and the
// characters Open would put there as dot art and a list; last the size of the device image
// Send would build from them. Records Open would not take are counted, not drawn, so the
// text stays small whatever the file's counts say.
#include <string>

#include "dialog/ldat_file.h"
#include "lines/message_rows.h"

namespace kirrup::cli {

std::string LdatText(const LdatData& data);
// The same with the rows the file was already opened into (ApplyLdat of data).
std::string LdatText(const LdatData& data, const MessageRows& opened);

}  // namespace kirrup::cli
