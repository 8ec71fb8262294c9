// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A shared library loaded by path; unloaded when the object goes away or on Unload.
#include <string>
#include <utility>

namespace kirrup::platform {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary() { Unload(); }
  DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_), error_(std::move(other.error_)) {
    other.handle_ = nullptr;
  }
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Unloads what was loaded before; false (and nothing loaded) when the file cannot be loaded.
  bool Load(const std::string& path);
  void Unload();
  bool loaded() const { return handle_ != nullptr; }
  // Why the last Load failed, as the loader said it.
  const std::string& error() const { return error_; }
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace kirrup::platform
