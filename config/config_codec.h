// The byte format of the configuration file: bytes to record and record to bytes, for
// every format version. Knows nothing of files, windows or messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "config/game_config.h"

inline constexpr std::uint16_t kCurrentConfigVersion = 272;

enum class DecodeStatus {
    kOk,
    kTooNew,          // version above kCurrentConfigVersion; the record is untouched
    kNoVersion,       // fewer than the two bytes of the version
    kOutOfMemory,     // a list or the record buffer could not be allocated
};

// Fills `config` from the bytes of a file of any version up to the current one.
// Fields the bytes are too short to supply are zero; the migration defaults of older
// versions are applied. On any status other than kOk the record is left as it was.
DecodeStatus DecodeConfig(std::span<const std::uint8_t> bytes, GameConfig& config);

// The bytes of `config` as a current-version file. Returns false (and leaves `out`
// empty) when the buffer cannot be allocated or a list holds more entries than the
// file's count can say.
bool EncodeConfig(const GameConfig& config, std::vector<std::uint8_t>& out);

// Size in bytes of the current-version file for the given list and record counts.
std::size_t EncodedConfigSize(std::size_t allowed, std::size_t denied, std::size_t records);
