#pragma once
// Writing a whole file so that a failure part-way never destroys the file it replaces:
// the bytes go to a temporary file beside the target, which is renamed over it only
// after everything was written and flushed.
#include <cstdint>
#include <span>
#include <string>

namespace kirrup::platform {

// False when the temporary file cannot be created, written or renamed; the target is then
// unchanged and no temporary file is left behind. An existing target keeps its permissions.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace kirrup::platform
