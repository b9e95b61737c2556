// The byte format of the configuration file: bytes to record and record to bytes, for
// every format version. Knows nothing of files, windows or messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
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

// The format version a file's bytes start with (two bytes, little-endian); none for
// fewer than two bytes.
std::optional<std::uint16_t> ConfigFileVersion(std::span<const std::uint8_t> bytes);

// How many bytes of the option block a file of this version holds: older versions end
// the block early, and the fields they lack take their migration defaults.
std::size_t OptionPrefixBytes(std::uint16_t version);

// One item of a file's layout, in file order.
struct ConfigLayoutItem {
    const char* name;
    std::size_t size;
};

// The items a file of `version` holds, with its lists' and records' counts.
std::vector<ConfigLayoutItem> ConfigLayout(std::uint16_t version, std::size_t allowed, std::size_t denied,
                                           std::size_t records);

// In words, what a file of an older `version` gains when it is read: the migration
// defaults of the options it lacks and the empty items it lacks.
std::string MigrationDefaultsText(std::uint16_t version);
