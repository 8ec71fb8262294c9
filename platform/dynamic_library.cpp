// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace kirrup::platform {

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

bool DynamicLibrary::Load(const std::string& path) {
  Unload();
  // RTLD_LOCAL keeps the library's symbols out of everyone else's way.
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = ::dlerror();
    error_ = why ? why : "cannot be loaded";
  } else {
    error_.clear();
  }
  return handle_ != nullptr;
}

void DynamicLibrary::Unload() {
  if (handle_) ::dlclose(handle_);
  handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace kirrup::platform
