// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up: the real program against a bare Qt dialog program, each started afresh, timed
// to its window mapped and to the last change of the window's pixels (the complete first
// picture), and against a plain dialog with the program's first controls and none of its
// work. The programs take turns, so all see the same load of a busy machine; the figures
// are the medians of each, and the ratios of the medians to the bare dialog's. Needs an X display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/kirrup_bench --benchmark_filter=StartUp
//     --benchmark_repetitions=5
// KIRRUP_BENCH_TRACE=1 prints, for every start, when the window's pixels changed and where.
// KIRRUP_BENCH_COMPARE=/path/to/kirrup[:/path/to/another] times other builds of the program in
// the same turns.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

// A window's picture stays the same this long: it is complete.
constexpr auto kQuiet = std::chrono::milliseconds(400);
constexpr auto kReadEvery = std::chrono::milliseconds(3);

// A window that goes away while it is read gives an X error: that read is just empty.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Waits for a mapped top-level window with this name; 0 after the time-out.
Window WaitForMappedWindow(Display* display, const char* name, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (Clock::now() < end) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify) continue;
      char* title = nullptr;
      const bool match = XFetchName(display, event.xmap.window, &title) && title && std::strcmp(title, name) == 0;
      if (title) XFree(title);
      if (match) return event.xmap.window;
    }
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, 5);
  }
  return 0;
}

// How a window's pixels lie in memory.
struct Shape {
  int width = 0, height = 0, bytesPerLine = 0, bytesPerPixel = 0;
  bool operator==(const Shape&) const = default;
};

// The window's pixels as the server holds them.
struct Picture {
  Shape shape;
  std::string_view bytes;  // the reader's, until its next read
};

// The last picture seen, kept across reads in one buffer.
struct KeptPicture {
  Shape shape;
  std::vector<char> bytes;
  bool Same(const Picture& p) const {
    return p.shape == shape && p.bytes.size() == bytes.size() &&
           std::memcmp(p.bytes.data(), bytes.data(), bytes.size()) == 0;
  }
  void Keep(const Picture& p) {
    shape = p.shape;
    bytes.assign(p.bytes.begin(), p.bytes.end());
  }
};

// Reads a window's pixels through shared memory: the server copies them once, nothing
// crosses the socket, and they are compared where they lie, so reading every few
// milliseconds hardly slows the program that is starting (a large window's pixels are
// neither copied again nor allocated anew per read). Without the extension the pixels come
// the ordinary way.
class PictureReader {
 public:
  explicit PictureReader(Display* display) : display_(display), shm_(XShmQueryExtension(display)) {}
  ~PictureReader() {
    Release();
    if (plain_) XDestroyImage(plain_);
  }
  PictureReader(const PictureReader&) = delete;
  PictureReader& operator=(const PictureReader&) = delete;

  // Nothing while the window cannot be read.
  std::optional<Picture> Read(Window window) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display_, window, &a) || a.map_state != IsViewable) return std::nullopt;
    if (plain_) XDestroyImage(plain_), plain_ = nullptr;
    XImage* image = nullptr;
    if (shm_ && Prepare(a)) {
      if (XShmGetImage(display_, window, image_, 0, 0, AllPlanes)) image = image_;
    } else {
      image = plain_ = XGetImage(display_, window, 0, 0, static_cast<unsigned>(a.width),
                                 static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    }
    if (!image) return std::nullopt;
    return Picture{{a.width, a.height, image->bytes_per_line, std::max(1, image->bits_per_pixel / 8)},
                   {image->data, static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(a.height)}};
  }

 private:
  // A shared image of the window's size, made again when the size changes.
  bool Prepare(const XWindowAttributes& a) {
    if (image_ && image_->width == a.width && image_->height == a.height) return true;
    Release();
    image_ = XShmCreateImage(display_, a.visual, static_cast<unsigned>(a.depth), ZPixmap, nullptr, &info_,
                             static_cast<unsigned>(a.width), static_cast<unsigned>(a.height));
    if (!image_) return false;
    info_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(a.height),
                         IPC_CREAT | 0600);
    info_.shmaddr = image_->data = static_cast<char*>(shmat(info_.shmid, nullptr, 0));
    info_.readOnly = False;
    const bool attached = info_.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(display_, &info_);
    XSync(display_, False);
    shmctl(info_.shmid, IPC_RMID, nullptr);  // gone once both sides detach
    if (!attached) {
      shm_ = false;  // read the ordinary way from now on
      Release();
    }
    return attached;
  }
  void Release() {
    if (!image_) return;
    if (info_.shmaddr && info_.shmaddr != reinterpret_cast<char*>(-1)) {
      XShmDetach(display_, &info_);
      XSync(display_, False);
      shmdt(info_.shmaddr);
    }
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
    info_ = XShmSegmentInfo{};
  }

  Display* display_;
  bool shm_;
  XImage* image_ = nullptr;
  XImage* plain_ = nullptr;  // the last ordinary read, kept until the next
  XShmSegmentInfo info_{};
};

// Where two pictures of the same size differ, for the trace.
std::string ChangedArea(const KeptPicture& before, const Picture& after) {
  const Shape& s = after.shape;
  if (!(before.shape == s)) return "whole window (new size)";
  int left = s.width, top = s.height, right = -1, bottom = -1;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const size_t k = static_cast<size_t>(y * s.bytesPerLine + x * s.bytesPerPixel);
      if (std::memcmp(&before.bytes[k], &after.bytes[k], static_cast<size_t>(s.bytesPerPixel)) == 0) continue;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  char text[80];
  std::snprintf(text, sizeof text, "x %d..%d, y %d..%d", left, right, top, bottom);
  return text;
}

struct StartTimes {
  double mapped = 0;    // ms from the start to the window mapped
  double complete = 0;  // ms from the start to the last change of its pixels
};

// Starts the program, waits for its window and reads its pixels until they have been
// still for kQuiet; the program is killed after.
std::optional<StartTimes> TimeOneStart(Display* display, PictureReader& reader, const std::string& program,
                                       const char* title, bool trace) {
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  XSync(display, True);  // forget the maps of earlier starts
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return std::nullopt;
  std::optional<StartTimes> times;
  if (const Window window = WaitForMappedWindow(display, title, std::chrono::seconds(20))) {
    StartTimes t;
    t.mapped = Ms(Clock::now() - start).count();
    if (trace) std::fprintf(stderr, "%s: mapped at %.1f ms\n", title, t.mapped);
    KeptPicture last;
    bool seen = false;
    auto lastChange = Clock::now();
    t.complete = t.mapped;
    const auto giveUp = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() - lastChange < kQuiet && Clock::now() < giveUp) {
      const std::optional<Picture> now = reader.Read(window);
      const auto readAt = Clock::now();
      if (now && (!seen || !last.Same(*now))) {
        lastChange = readAt;
        t.complete = Ms(readAt - start).count();
        if (trace)
          std::fprintf(stderr, "%s: changed at %.1f ms, %s\n", title, t.complete,
                       seen ? ChangedArea(last, *now).c_str() : "first picture");
        last.Keep(*now);
        seen = true;
      }
      usleep(static_cast<useconds_t>(std::chrono::microseconds(kReadEvery).count()));
    }
    if (seen) times = t;
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return times;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_StartUpToDialog(benchmark::State& state) {
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
  XSetErrorHandler(IgnoreXError);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  const bool trace = std::getenv("KIRRUP_BENCH_TRACE") != nullptr;
  std::optional<PictureReader> reader(std::in_place, display);
  // The program, the bare dialog and the other builds of the program KIRRUP_BENCH_COMPARE
  // names (main's, say): a change's before and after under the same load.
  struct Program {
    std::string path;
    const char* title;
    std::string counter;  // prefix of its counters
    std::vector<double> mapped, complete;
  };
  std::vector<Program> programs = {{std::string(KIRRUP_BIN_DIR) + "/kirrup", "Kirrup", "", {}, {}},
                                   {KIRRUP_BARE_DIALOG, "Bare", "bare_", {}, {}},
                                   {KIRRUP_CONTROLS_DIALOG, "Controls", "controls_", {}, {}}};
  if (const char* others = std::getenv("KIRRUP_BENCH_COMPARE")) {
    std::string list = others;
    for (size_t at = 0, k = 1; at < list.size(); ++k) {
      const size_t end = std::min(list.find(':', at), list.size());
      const std::string number = k == 1 && list.find(':') == std::string::npos ? "" : std::to_string(k);
      if (end > at) programs.push_back({list.substr(at, end - at), "Kirrup", "compared" + number + "_", {}, {}});
      at = end + 1;
    }
  }
  size_t first = 0;
  for (auto _ : state) {
    // Turn about, so that no program always starts on the heels of the same other one.
    first = (first + 1) % programs.size();
    std::vector<std::optional<StartTimes>> times(programs.size());
    bool missing = false;
    for (size_t turn = 0; turn < programs.size() && !missing; ++turn) {
      const size_t k = (first + turn) % programs.size();
      if (trace) std::fprintf(stderr, "%s\n", programs[k].path.c_str());
      times[k] = TimeOneStart(display, *reader, programs[k].path, programs[k].title, trace);
      if (!times[k]) {
        state.SkipWithError((programs[k].path + ": its window did not appear").c_str());
        missing = true;
      }
    }
    if (missing) break;
    for (size_t k = 0; k < programs.size(); ++k)
      programs[k].mapped.push_back(times[k]->mapped), programs[k].complete.push_back(times[k]->complete);
    state.SetIterationTime(times[0]->complete / 1000.0);
  }
  reader.reset();
  XCloseDisplay(display);
  if (programs[0].mapped.empty()) return;
  const double mb = Median(programs[1].mapped), cb = Median(programs[1].complete);
  for (const Program& p : programs) {
    const std::string prefix = p.counter;
    const double m = Median(p.mapped), c = Median(p.complete);
    state.counters[prefix + "mapped_ms"] = m;
    state.counters[prefix + "complete_ms"] = c;
    if (&p == &programs[1]) continue;
    state.counters[prefix + "mapped_ratio"] = mb > 0 ? m / mb : 0;
    state.counters[prefix + "complete_ratio"] = cb > 0 ? c / cb : 0;
  }
}

BENCHMARK(BM_StartUpToDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
