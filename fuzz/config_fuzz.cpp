// Parses arbitrary bytes as a configuration file of any version and writes the result
// back; a decoded file must re-encode to bytes that decode to the same file again.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "config/config_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GameConfig config;
    ClearConfig(config);
    if (DecodeConfig({data, size}, config) != DecodeStatus::kOk) return 0;
    std::vector<std::uint8_t> first;
    if (!EncodeConfig(config, first)) std::abort();
    GameConfig again;
    ClearConfig(again);
    if (DecodeConfig(first, again) != DecodeStatus::kOk) std::abort();
    std::vector<std::uint8_t> second;
    if (!EncodeConfig(again, second) || second != first) std::abort();
    return 0;
}
