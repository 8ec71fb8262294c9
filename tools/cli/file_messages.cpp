// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/file_messages.h"

namespace kirrup::cli {

bool OpenLdatFile(const std::string& path, LdatData& out, platform::MessageSink& sink) {
  platform::FileError why;
  if (ReadLdatFile(path, out, &why)) return true;
  platform::ErrorBox(sink, "Open file error! %s: %s", path.c_str(), why.reason.c_str());
  return false;
}

bool SaveLdatFile(const std::string& path, const MessageRows& rows, platform::MessageSink& sink) {
  platform::FileError why;
  if (WriteLdatFile(path, rows, &why)) return true;
  WriteFileError(sink, path, why);
  return false;
}

void WriteFileError(platform::MessageSink& sink, const std::string& path, const platform::FileError& why) {
  platform::ErrorBox(sink, "Write file error! %s: %s", path.c_str(), why.reason.c_str());
}

}  // namespace kirrup::cli
