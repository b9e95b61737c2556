// Reading a list text of 65535 plain addresses, held in memory, in three shapes: one
// network after another (lines that begin alike), addresses spread over the whole space
// in address order, and the same in no order. The limit is one pass over the same bytes,
// as the C library makes it looking for a byte the text does not hold.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cli/list_text.h"

namespace {

const std::string& Text(std::int64_t shape) {
    static const std::vector<std::string> texts = [] {
        std::vector<std::uint32_t> dense, spread;
        std::mt19937 random(7);
        for (std::uint32_t i = 0; i < 65535; ++i) {
            dense.push_back(0xC0A80000u + i);
            spread.push_back(static_cast<std::uint32_t>(random()));
        }
        std::vector<std::uint32_t> ordered = spread;
        std::sort(ordered.begin(), ordered.end());
        std::vector<std::string> out;
        for (const auto* addresses : {&dense, &ordered, &spread}) {
            std::string text;
            for (std::uint32_t a : *addresses)
                text += std::to_string(a >> 24) + "." + std::to_string(a >> 16 & 255) + "." + std::to_string(a >> 8 & 255) +
                        "." + std::to_string(a & 255) + "\n";
            out.push_back(std::move(text));
        }
        return out;
    }();
    return texts[static_cast<std::size_t>(shape)];
}

void BM_ReadListText(benchmark::State& state) {
    const std::string& text = Text(state.range(0));
    for (auto _ : state) {
        ListTextRead read;
        ReadListText(text, AddressList::kDenied, 1, read);
        benchmark::DoNotOptimize(read.addresses.data());
    }
}

void BM_ListTextBaseline(benchmark::State& state) {
    const std::string& text = Text(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(std::memchr(text.data(), '\0', text.size()));
}

}  // namespace

// 0: one network after another; 1: spread, in address order; 2: spread, in no order.
BENCHMARK(BM_ReadListText)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListTextBaseline)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
