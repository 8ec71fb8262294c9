// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/message_box.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kirrup::platform {
namespace {

std::string Format(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::vsnprintf(buf.data(), buf.size(), fmt, args);
  return std::string(buf.data(), static_cast<size_t>(n));
}

}  // namespace

void WarningBox(MessageSink& sink, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::string text = Format(fmt, args);
  va_end(args);
  sink.Show(MessageIcon::Warning, kProgramCaption, text);
}

void ErrorBox(MessageSink& sink, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::string text = Format(fmt, args);
  va_end(args);
  sink.Show(MessageIcon::Error, kProgramCaption, text);
}

void InformationBox(MessageSink& sink, const char* caption, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::string text = Format(fmt, args);
  va_end(args);
  sink.Show(MessageIcon::Information, caption, text);
}

void StderrMessageSink::Show(MessageIcon, const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace kirrup::platform
