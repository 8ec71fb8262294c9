// SPDX-License-Identifier: GPL-2.0-or-later
// A 2047-byte image (the largest the toy takes) through the emulated toy, without a bus
// delay (the program's own cost plus the emulator's) and with one report per millisecond.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "device/usb_transfer.h"

namespace {

using kirrup::TransferImage;
using kirrup::TransferResult;
using kirrup::UsbLink;

struct NullSink : kirrup::platform::MessageSink {
  int shown = 0;
  void Show(kirrup::platform::MessageIcon, const std::string&, const std::string&) override { ++shown; }
};

std::vector<uint8_t> LargestImage() {
  std::vector<uint8_t> image(2047);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 31 + 7);
  return image;
}

// The emulator, loaded once like the program loads its link library.
const UsbLink& Emulator() {
  static UsbLink link = [] {
    UsbLink l;
    const std::string path = std::string(KIRRUP_BIN_DIR) + "/LIB/VexoUSB-emu.so";
    if (void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      l.OpenUSBDevice = reinterpret_cast<UsbLink::OpenFn>(dlsym(h, "OpenUSBDevice"));
      l.CloseUSBDevice = reinterpret_cast<UsbLink::CloseFn>(dlsym(h, "CloseUSBDevice"));
      l.WriteUSB = reinterpret_cast<UsbLink::WriteFn>(dlsym(h, "WriteUSB"));
      l.ReadUSB = reinterpret_cast<UsbLink::ReadFn>(dlsym(h, "ReadUSB"));
    }
    return l;
  }();
  return link;
}

void Transfer(benchmark::State& state, const UsbLink& link, int ledType) {
  const auto image = LargestImage();
  NullSink sink;
  int position = 0;
  kirrup::TransferProgress progress;
  progress.SetRange = [](int, int) {};
  progress.SetPosition = [&position](int p) { position = p; };
  const size_t packets = kirrup::DataPacketCount(image.size()) + (ledType == 1 ? 2 : 1);
  for (auto _ : state) {
    if (TransferImage(link, image, ledType, sink, progress) != TransferResult::Sent) {
      state.SkipWithError("transfer failed");
      break;
    }
    benchmark::DoNotOptimize(position);
  }
  state.counters["packets"] = static_cast<double>(packets);
  state.counters["per_packet"] = benchmark::Counter(static_cast<double>(packets * state.iterations()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The program alone: a link whose entry points do nothing but accept.
int32_t NopOpen(int32_t, int32_t) { return 1; }
void NopClose(int32_t) {}
uint8_t NopWrite(int32_t, const uint8_t*, uint32_t count, uint32_t* moved) { *moved = count; return 1; }
uint8_t NopRead(int32_t, uint8_t* buffer, uint32_t count, uint32_t* moved) {
  buffer[0] = 0; buffer[1] = '$'; buffer[2] = 0x80;
  *moved = count;
  return 1;
}

void BM_TransferProgramOnly(benchmark::State& state) {
  UsbLink link;
  link.OpenUSBDevice = NopOpen;
  link.CloseUSBDevice = NopClose;
  link.WriteUSB = NopWrite;
  link.ReadUSB = NopRead;
  Transfer(state, link, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_TransferProgramOnly)->ArgName("led")->Arg(0)->Arg(1);

void BM_TransferThroughEmulator(benchmark::State& state) {
  if (!Emulator().Present()) {
    state.SkipWithError("LIB/VexoUSB-emu.so not built");
    return;
  }
  const std::string delay = std::to_string(state.range(0));
  setenv("VEXOUSB_EMU_DELAY_US", delay.c_str(), 1);
  Transfer(state, Emulator(), 1);
  unsetenv("VEXOUSB_EMU_DELAY_US");
  // Bus time: one WriteUSB and one ReadUSB per packet, each taking the delay.
  const double packets = state.counters["packets"];
  state.counters["bus_ms"] = packets * 2 * static_cast<double>(state.range(0)) / 1000.0;
}
BENCHMARK(BM_TransferThroughEmulator)->ArgName("delay_us")->Arg(0)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TransferThroughEmulator)
    ->ArgName("delay_us")->Arg(1000)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
