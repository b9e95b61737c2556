// One PollInput pass over the keyboard, the mouse and 16 scripted joysticks, pads
// recomputed, with the heap allocations made during the timed polls counted.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "input/input.h"
#include "input/input_state.h"

namespace {

std::atomic<long> allocations{0};

std::uint8_t keys[256];
MouseStateData mouse;
JoystickStateData joysticks[kMaxJoysticks];
unsigned reads = 0;

// Each read changes something, so every poll has edges to compute.
const DeviceReads bench_reads = {
    [] { return std::uint8_t{kMaxJoysticks}; },
    [](std::uint8_t) { return true; },
    [](std::uint8_t* out) {
        keys[0x2C] = (++reads & 1) ? 0x80 : 0;
        std::memcpy(out, keys, sizeof keys);
        return true;
    },
    [](MouseStateData* out) {
        mouse.rgbButtons[0] = (reads & 2) ? 0x80 : 0;
        *out = mouse;
        return true;
    },
    [](std::uint8_t slot, JoystickStateData* out) {
        JoystickStateData& state = joysticks[slot];
        state.lX = (reads & 1) ? 1000 : -1000;
        state.rgbButtons[slot % 10] = (reads & 1) ? 0x80 : 0;
        *out = state;
        return true;
    },    nullptr,
};

void BM_PollInput(benchmark::State& state) {
    SetDeviceReads(&bench_reads);
    InitPads();
    PollInput();
    const long before = allocations.load();
    for (auto _ : state) {
        PollInput();
        benchmark::DoNotOptimize(pads);
        benchmark::ClobberMemory();
    }
    const long made = allocations.load() - before;
    state.counters["allocs_per_poll"] =
        benchmark::Counter(static_cast<double>(made) / static_cast<double>(state.iterations()));
    state.counters["pads"] = pad_count;
    // Non-zero: shows the counting hook is live (the harness itself allocates).
    state.counters["process_allocs"] = static_cast<double>(allocations.load());
    SetDeviceReads(nullptr);
}
BENCHMARK(BM_PollInput);

}  // namespace

// Every allocation of the process goes through here, so any made by a poll is counted.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

// The one main of the benchmark binary; every file in bench/ registers its own cases.
BENCHMARK_MAIN();
