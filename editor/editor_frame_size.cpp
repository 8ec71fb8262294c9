// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/editor_frame_size.h"

#include <algorithm>

#include "app/settings.h"

namespace kirrup {

std::optional<WindowSize> EditorFrameSize::FrameReported(WindowSize frame) {
  if (!waiting_ || (frame.width <= 0 && frame.height <= 0)) return std::nullopt;
  waiting_ = false;
  return WindowSize{std::max(stored_.width - frame.width, 1), std::max(stored_.height - frame.height, 1)};
}

void EditorFrameSize::ClientResized(WindowSize client) {
  if (client != stored_) waiting_ = false;
}

WindowSize EditorFrameSize::ToStore(WindowSize client, WindowSize frame) const {
  // A value the settings would read as the smallest size would collapse the editor.
  auto keep = [](int v) { return std::clamp(v, kMinEditorFrameSize, kMaxEditorFrameSize); };
  if (waiting_) return {keep(stored_.width), keep(stored_.height)};
  return {keep(client.width + frame.width), keep(client.height + frame.height)};
}

}  // namespace kirrup
