// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's file messages ("Open file error!", "Write file error!") as the first words,
// followed by the path and the reason, which a shell user needs and a message box does not.
#include <string>

#include "dialog/ldat_file.h"
#include "platform/message_box.h"

namespace kirrup::cli {

// Reads an LED data file as Open does; on failure prints
// "Kirrup: Open file error! PATH: REASON".
bool OpenLdatFile(const std::string& path, LdatData& out, platform::MessageSink& sink);
// Writes an LED data file as Save does; on failure "Kirrup: Write file error! PATH: REASON".
bool SaveLdatFile(const std::string& path, const MessageRows& rows, platform::MessageSink& sink);
// "Write file error! PATH: REASON" for any other output file.
void WriteFileError(platform::MessageSink& sink, const std::string& path, const platform::FileError& why);

}  // namespace kirrup::cli
