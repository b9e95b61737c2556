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

// How an item of the file is stored.
enum class FileItemKind : std::uint8_t {
    kVersion,      // the format version, 16 bits little-endian
    kOptionBlock,  // the option block, field by field; older versions hold a prefix of it
    kBytes,        // a run of bytes, carried as they are
    kWord,         // a 32-bit little-endian value
    kList,         // a count (16 bits for the address lists, 8 for the records) and its entries
};

// The lists of the file, each with its count.
enum class FileList : std::uint8_t { kNone, kAllowed, kDenied, kRecords };

// One item of the file, in file order: the decoder, the encoder, the layout that `check`
// measures a file against, the clearing of a record and the words for what an older
// file lacks all walk these rows, so that an item of the file is written down once.
struct FileItem {
    const char* name;             // "connect-to ID"; for a list, its entries
    FileItemKind kind;
    std::uint16_t since;          // the first version that holds it (kEveryVersion: all)
    std::size_t size;             // the bytes of a fixed item; of one entry of a list
    FileList list;                // kList: which one
    const char* count_name;       // kList: the name of its count
    const char* when_missing;     // what a file of an older version is read with instead
    // kBytes and kWord: where the item's bytes are in the record.
    void* (*at)(GameConfig&);
};

enum FileItemId {
    kVersionItem, kOptionBlockItem, kConnectIdItem, kConnectAddressesItem, kOpaqueWord1Item, kAllowedOnlyItem,
    kAllowedItem, kDeniedItem, kOpaqueRecordsItem, kOpaqueWord2Item, kMessagesItem, kFileItemCount
};

inline constexpr std::uint16_t kFirstListsVersion = kOldestLayoutLastVersion + 1;

inline constexpr FileItem file_items[kFileItemCount] = {
    {"version", FileItemKind::kVersion, kEveryVersion, 2, FileList::kNone, nullptr, nullptr, nullptr},
    {"option block", FileItemKind::kOptionBlock, kEveryVersion, sizeof(OptionBlock), FileList::kNone, nullptr, nullptr,
     nullptr},
    {"connect-to ID", FileItemKind::kBytes, kEveryVersion, kConnectIdBytes, FileList::kNone, nullptr, nullptr,
     [](GameConfig& c) -> void* { return c.connect_id; }},
    {"connect-to addresses", FileItemKind::kBytes, kEveryVersion, sizeof(ConnectAddress) * kConnectSlots,
     FileList::kNone, nullptr, nullptr, [](GameConfig& c) -> void* { return c.connect_addresses; }},
    {"opaque word 1", FileItemKind::kWord, kEveryVersion, 4, FileList::kNone, nullptr, nullptr,
     [](GameConfig& c) -> void* { return &c.opaque_word_1; }},
    {"allowed-only flag", FileItemKind::kWord, kFirstListsVersion, 4, FileList::kNone, nullptr, "allowed-only off",
     [](GameConfig& c) -> void* { return &c.allowed_only; }},
    {"allowed addresses", FileItemKind::kList, kFirstListsVersion, sizeof(AddressPattern), FileList::kAllowed,
     "allowed count", "an empty allowed list", nullptr},
    {"denied addresses", FileItemKind::kList, kFirstListsVersion, sizeof(AddressPattern), FileList::kDenied,
     "denied count", "an empty denied list", nullptr},
    {"opaque records", FileItemKind::kList, kCurrentConfigVersion, sizeof(OpaqueRecord), FileList::kRecords,
     "opaque-record count", "no opaque records", nullptr},
    {"opaque word 2", FileItemKind::kWord, kCurrentConfigVersion, 4, FileList::kNone, nullptr, "opaque word 2 zero",
     [](GameConfig& c) -> void* { return &c.opaque_word_2; }},
    {"function messages", FileItemKind::kBytes, kCurrentConfigVersion, sizeof(FunctionMessage) * kFunctionMessages,
     FileList::kNone, nullptr, "empty messages", [](GameConfig& c) -> void* { return c.function_messages; }},
};

// Whether a file of `version` holds the item.
constexpr bool FileItemHeld(const FileItem& item, std::uint16_t version) {
    return item.since == kEveryVersion || version >= item.since;
}

// The bytes of the count that a list item's entries follow: 16 bits for the address
// lists, 8 for the records.
constexpr std::size_t FileListCountBytes(FileList list) { return list == FileList::kRecords ? 1 : 2; }

// The most entries the list's count can say.
constexpr std::size_t FileListMost(FileList list) {
    return list == FileList::kRecords ? kMaxOpaqueRecords : kMaxPatterns;
}

// The record's structs hold the file's bytes without padding, so a run of them is the
// file's run of bytes.
static_assert(sizeof(ConnectAddress) == 4 && sizeof(FunctionMessage) == 42 && sizeof(OpaqueRecord) == 12 &&
              sizeof(AddressPattern) == 8);

// The items of a version appear in file order, each version's items a superset of the
// versions before it.
constexpr bool FileItemsInOrder() {
    for (int id = 1; id < kFileItemCount; ++id)
        if (file_items[id].since < file_items[id - 1].since) return false;
    return file_items[kVersionItem].kind == FileItemKind::kVersion &&
           file_items[kOptionBlockItem].kind == FileItemKind::kOptionBlock;
}
static_assert(FileItemsInOrder());

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
// defaults of the options it lacks ("screen_shake 1") and the empty items it lacks, one
// part each; and the same as one English text.
std::vector<std::string> MigrationDefaults(std::uint16_t version);
std::string MigrationDefaultsText(std::uint16_t version);
