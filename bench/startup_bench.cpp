// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up to the dialog shown: the real program against a bare Qt dialog program, each
// started afresh and timed until the X server maps its window. Needs an X display
// (run under xvfb-run); the ratio of the two is the figure.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace {

// Waits for a mapped top-level window with this name; false after the time-out.
bool WaitForMappedWindow(Display* display, const char* name, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify) continue;
      char* title = nullptr;
      const bool match = XFetchName(display, event.xmap.window, &title) && title && std::strcmp(title, name) == 0;
      if (title) XFree(title);
      if (match) return true;
    }
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, 5);
  }
  return false;
}

void StartUpToDialog(benchmark::State& state, const std::string& program, const char* title) {
  // A server without -noreset restarts when its last client leaves: try for a while.
  Display* display = nullptr;
  for (int i = 0; i < 100 && !display && std::getenv("DISPLAY"); ++i) {
    display = XOpenDisplay(nullptr);
    if (!display) usleep(20000);
  }
  if (!display) {
    state.SkipWithError("no X display: run under xvfb-run");
    return;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, True);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot start the program");
      break;
    }
    const bool shown = WaitForMappedWindow(display, title, std::chrono::seconds(20));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    if (!shown) {
      state.SkipWithError("the window did not appear");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
  }
  XCloseDisplay(display);
}

void BM_StartUpToDialog_Kirrup(benchmark::State& state) {
  StartUpToDialog(state, std::string(KIRRUP_BIN_DIR) + "/kirrup", "Kirrup");
}
void BM_StartUpToDialog_BareQtDialog(benchmark::State& state) {
  StartUpToDialog(state, KIRRUP_BARE_DIALOG, "Bare");
}

BENCHMARK(BM_StartUpToDialog_BareQtDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartUpToDialog_Kirrup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
