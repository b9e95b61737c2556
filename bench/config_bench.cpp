// Load and save of a maximal configuration file (65535 allowed and 65535 denied patterns,
// 255 records) against the physical limits measured in the same run: one read of the
// whole file into a buffer of its size, one write of the same bytes (with and without
// waiting for the disk).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/physical_limits.h"
#include "config/config_store.h"
#include "config/config_codec.h"
#include "ui/config_file.h"
#include "config/file_system.h"
#include "message/error_message.h"

namespace {

std::filesystem::path BenchFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / "qor-config-bench";
        std::filesystem::remove_all(p);
        std::filesystem::create_directories(p / "Data");
        std::filesystem::current_path(p);
        GameConfig c;
        ClearConfig(c);
        SetConfigDefaults(c);
        for (std::uint32_t i = 0; i < kMaxPatterns; ++i) {
            auto o = [&](int shift) { return static_cast<std::uint16_t>((i >> shift) & 0xff); };
            c.allowed_patterns.push_back(AddressPattern{{10, o(8), o(0), kWildcardOctet}});
            c.denied_patterns.push_back(AddressPattern{{192, 168, o(8), o(0)}});
        }
        c.opaque_records.resize(kMaxOpaqueRecords);
        std::vector<std::uint8_t> bytes;
        EncodeConfig(c, bytes);
        std::ofstream(p / "Data" / "GameConfig.dat", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p;
    }();
    // Other benchmarks of this program work in folders of their own.
    std::filesystem::current_path(folder);
    return folder;
}

void BM_LoadConfig(benchmark::State& state) {
    BenchFolder();
    for (auto _ : state) benchmark::DoNotOptimize(LoadConfig());
    state.SetBytesProcessed(state.iterations() * std::filesystem::file_size("Data/GameConfig.dat"));
}

// The store's load, as qorcfg uses it: one read of the file into a buffer of its size, then
// the decode.
void BM_ReadConfigFile(benchmark::State& state) {
    BenchFolder();
    std::vector<std::uint8_t> bytes;
    GameConfig config;
    for (auto _ : state) benchmark::DoNotOptimize(LoadConfigFile("Data/GameConfig.dat", config, &bytes));
}

void BM_PlainRead(benchmark::State& state) {
    BenchFolder();
    for (auto _ : state) benchmark::DoNotOptimize(ReadOnce("Data/GameConfig.dat"));
}

// The load's own read, without the decoding.
void BM_ReadFileBytes(benchmark::State& state) {
    BenchFolder();
    for (auto _ : state) {
        FileBytes bytes;
        benchmark::DoNotOptimize(ReadFileBytes("Data/GameConfig.dat", bytes));
    }
}

void BM_SaveConfig(benchmark::State& state) {
    BenchFolder();
    LoadConfig();
    for (auto _ : state) benchmark::DoNotOptimize(WriteConfigFile());
}

// The same bytes written in place; the durable variant also waits for the disk, as a
// save does before it replaces the old file.
void BM_PlainWrite(benchmark::State& state) {
    BenchFolder();
    std::vector<std::uint8_t> bytes = ReadOnce("Data/GameConfig.dat");
    for (auto _ : state) WriteOnce("Data/plain.dat", bytes.data(), bytes.size(), state.range(0) != 0);
}

}  // namespace

BENCHMARK(BM_LoadConfig)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadConfigFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveConfig)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
