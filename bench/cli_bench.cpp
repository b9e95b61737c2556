// qorcfg's heavy commands against the physical limits in the same run: an import of a
// 65535-line list with its save against one read of the text and of the configuration
// file plus one durable write of the resulting file, and `show --json` of a maximal
// file against one read of the file plus one write of as many bytes as the JSON holds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/physical_limits.h"
#include "cli/qorcfg.h"
#include "config/config_codec.h"

namespace {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Encoded(const GameConfig& c) {
    std::vector<std::uint8_t> bytes;
    EncodeConfig(c, bytes);
    return bytes;
}

GameConfig DefaultConfig() {
    GameConfig c;
    NewFileConfig(c);
    return c;
}

// A game folder with an empty configuration and a list of 65535 distinct addresses.
const std::filesystem::path& ImportFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / "qor-cli-bench-import";
        std::filesystem::remove_all(p);
        std::filesystem::create_directories(p / "Data");
        WriteBytes(p / "Data" / "GameConfig.dat", Encoded(DefaultConfig()));
        std::ofstream list(p / "list.txt", std::ios::binary);
        for (int i = 0; i < 65535; ++i) list << "192.168." << (i >> 8) << '.' << (i & 255) << '\n';
        return p;
    }();
    std::filesystem::current_path(folder);
    return folder;
}

// A game folder with a maximal configuration: 2 x 65535 patterns, 255 records.
const std::filesystem::path& ShowFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / "qor-cli-bench-show";
        std::filesystem::remove_all(p);
        std::filesystem::create_directories(p / "Data");
        GameConfig c = DefaultConfig();
        for (std::uint32_t i = 0; i < kMaxPatterns; ++i) {
            auto o = [&](int shift) { return static_cast<std::uint16_t>((i >> shift) & 0xff); };
            c.allowed_patterns.push_back(AddressPattern{{10, o(8), o(0), kWildcardOctet}});
            c.denied_patterns.push_back(AddressPattern{{192, 168, o(8), o(0)}});
        }
        c.opaque_records.resize(kMaxOpaqueRecords);
        WriteBytes(p / "Data" / "GameConfig.dat", Encoded(c));
        return p;
    }();
    std::filesystem::current_path(folder);
    return folder;
}

int Run(std::vector<std::string> args, std::FILE* out, std::FILE* err) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return RunQorcfg(static_cast<int>(argv.size()), argv.data(), out, err);
}

void BM_ImportDenied(benchmark::State& state) {
    ImportFolder();
    const std::vector<std::uint8_t> empty = Encoded(DefaultConfig());
    std::FILE* null = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        state.PauseTiming();
        WriteOnce("Data/GameConfig.dat", empty.data(), empty.size());
        state.ResumeTiming();
        if (Run({"qorcfg", "import", "denied", "list.txt"}, null, null) != 0) state.SkipWithError("import failed");
    }
    std::fclose(null);
}

// The limit: the text and the configuration file each read once, the resulting file
// written once and pushed to the disk, as the import's save must.
void BM_ImportBaseline(benchmark::State& state) {
    ImportFolder();
    const std::size_t result_size = EncodedConfigSize(0, kMaxPatterns, 0);
    const std::vector<std::uint8_t> result(result_size, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadOnce("list.txt"));
        benchmark::DoNotOptimize(ReadOnce("Data/GameConfig.dat"));
        WriteOnce("result.dat", result.data(), result.size(), true);
    }
}

void BM_ShowJson(benchmark::State& state) {
    ShowFolder();
    for (auto _ : state) {
        std::FILE* out = std::fopen("show.json", "wb");
        if (Run({"qorcfg", "show", "--json"}, out, stderr) != 0) state.SkipWithError("show failed");
        std::fclose(out);
    }
    state.counters["json_bytes"] = static_cast<double>(std::filesystem::file_size("show.json"));
}

// The limit: the file read once, as many bytes as the JSON holds written once.
void BM_ShowJsonBaseline(benchmark::State& state) {
    ShowFolder();
    std::FILE* out = std::fopen("show.json", "wb");
    Run({"qorcfg", "show", "--json"}, out, stderr);
    std::fclose(out);
    const std::vector<std::uint8_t> json(std::filesystem::file_size("show.json"), '.');
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadOnce("Data/GameConfig.dat"));
        WriteOnce("plain.json", json.data(), json.size());
    }
}

// `apply` of the largest document (show --json of the maximal file) to a file with the
// defaults, which it changes whole and saves.
void BM_Apply(benchmark::State& state) {
    ShowFolder();
    const std::vector<std::uint8_t> largest = ReadOnce("Data/GameConfig.dat");
    std::FILE* out = std::fopen("largest.json", "wb");
    Run({"qorcfg", "show", "--json"}, out, stderr);
    std::fclose(out);
    const std::vector<std::uint8_t> defaults = Encoded(DefaultConfig());
    std::FILE* null = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        state.PauseTiming();
        WriteOnce("Data/GameConfig.dat", defaults.data(), defaults.size());
        state.ResumeTiming();
        if (Run({"qorcfg", "apply", "largest.json"}, null, null) != 0) state.SkipWithError("apply failed");
    }
    std::fclose(null);
    WriteOnce("Data/GameConfig.dat", largest.data(), largest.size());
}

// The limit: the document and the configuration file each read once, the resulting file
// written once and pushed to the disk.
void BM_ApplyBaseline(benchmark::State& state) {
    ShowFolder();
    std::FILE* out = std::fopen("largest.json", "wb");
    Run({"qorcfg", "show", "--json"}, out, stderr);
    std::fclose(out);
    const std::vector<std::uint8_t> result = ReadOnce("Data/GameConfig.dat");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadOnce("largest.json"));
        benchmark::DoNotOptimize(ReadOnce("Data/GameConfig.dat"));
        WriteOnce("result.dat", result.data(), result.size(), true);
    }
}

}  // namespace

BENCHMARK(BM_Apply)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportDenied)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowJsonBaseline)->Unit(benchmark::kMicrosecond);
