// Load and save of a maximal configuration file (65535 allowed and 65535 denied patterns,
// 255 records) against a plain read and write of the same bytes in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "config/config_codec.h"
#include "config/config_file.h"
#include "config/error_message.h"
#include "config/file_system.h"

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
    return folder;
}

std::vector<std::uint8_t> ReadPlain(const char* path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* f = std::fopen(path, "rb");
    std::uint8_t chunk[16384];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(f);
    return bytes;
}

// The physical limit of a load: open, ask the size, one read.
std::vector<std::uint8_t> ReadRaw(const char* path) {
    int fd = open(path, O_RDONLY);
    struct stat info;
    fstat(fd, &info);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    ssize_t got = read(fd, bytes.data(), bytes.size());
    close(fd);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

void WritePlain(const char* path, const std::vector<std::uint8_t>& bytes, bool durable) {
    std::FILE* f = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    if (durable) fsync(fileno(f));
    std::fclose(f);
}

void BM_LoadConfig(benchmark::State& state) {
    BenchFolder();
    for (auto _ : state) benchmark::DoNotOptimize(LoadConfig());
    state.SetBytesProcessed(state.iterations() * std::filesystem::file_size("Data/GameConfig.dat"));
}

void BM_PlainRead(benchmark::State& state) {
    BenchFolder();
    for (auto _ : state) benchmark::DoNotOptimize(ReadPlain("Data/GameConfig.dat"));
}

void BM_RawRead(benchmark::State& state) {
    BenchFolder();
    for (auto _ : state) benchmark::DoNotOptimize(ReadRaw("Data/GameConfig.dat"));
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
    std::vector<std::uint8_t> bytes = ReadPlain("Data/GameConfig.dat");
    for (auto _ : state) WritePlain("Data/plain.dat", bytes, state.range(0) != 0);
}

}  // namespace

BENCHMARK(BM_LoadConfig)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveConfig)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
