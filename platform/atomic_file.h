// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writing a whole file so that a failure part-way never destroys the file it replaces:
// the bytes go to an unnamed temporary file in the target's folder (O_TMPFILE), which is
// given a name and renamed over the target only after everything was written and flushed.
// Where the file system has no unnamed files a named temporary "<target>.~PID-N" is used,
// and temporaries that dead processes left in the folder are removed on the next write.
#include <cstdint>
#include <span>
#include <string>

#include "platform/read_file.h"

namespace kirrup::platform {

// False when the target may not be written or the temporary file cannot be created, written
// or renamed; the target is then unchanged and no temporary file is left behind.
//  - An existing target keeps its permissions; a new one gets those the umask leaves of 0666.
//  - An existing target the user may not write (mode 0444, say) is refused, as opening it
//    for writing would be, although the folder would allow a rename over it.
//  - A symbolic link is followed; a target that exists but is not a regular file is refused.
//  - In a folder the user may not write, a writable existing target is written in place.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, FileError* why = nullptr);

// The checks WriteFileAtomically makes before it writes anything (the folder exists, the
// target is a regular file the user may write), for writers that produce their bytes slowly.
bool MayWriteFile(const std::string& path, FileError* why = nullptr);

// Removes "<name>.~PID-N" files of processes that no longer run from a folder.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace kirrup::platform
