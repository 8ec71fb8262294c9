// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The three message routines every subsystem uses to tell the user about a failure.
// Core code formats the text; the program shows it in a modal box, the command-line
// tool prints it to standard error, tests record it.
#include <string>

namespace kirrup::platform {

enum class MessageIcon { Warning, Error, Information };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(MessageIcon icon, const std::string& caption, const std::string& text) = 0;
};

// printf-style; the caption defaults to the program name.
void WarningBox(MessageSink& sink, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void ErrorBox(MessageSink& sink, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void InformationBox(MessageSink& sink, const char* caption, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

inline constexpr const char* kProgramCaption = "Kirrup";

// Prints "<caption>: <text>" to standard error.
class StderrMessageSink : public MessageSink {
 public:
  void Show(MessageIcon icon, const std::string& caption, const std::string& text) override;
};

}  // namespace kirrup::platform
