// The in-memory configuration record: every field of Data\GameConfig.dat, with its
// widths, value sets and the two sets of defaults.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Ten action slots, each holding the joypad button (0 to 11) that triggers the action.
using KeyMap = std::array<std::uint8_t, 10>;

// The 84-byte option image, read and written as one block. Every field sits at its
// natural alignment, so the struct has no padding and matches the file byte for byte;
// the codec still reads and writes it field by field in little-endian order.
struct OptionBlock {
    std::uint8_t screen_size;            // 0 = 640x480, 1 = 800x600, 2 = 1024x768
    std::uint8_t gap_after_screen_size[3];
    std::int32_t full_screen;
    std::int32_t fps_60;                 // 1 = 60 fps, 0 = 30 fps
    std::int32_t barrier_near_character;
    std::int32_t reduce_load;
    std::int32_t screen_shake;
    std::int32_t extra_option;           // shown on no page; carried unchanged
    std::int32_t bgm_volume;             // -10000 (lowest) to 0 (highest)
    std::int32_t se_volume;
    std::int32_t voice_volume;
    std::int32_t input_method[2];        // 1 = keyboard, 0 = joypad
    KeyMap key_map[2];
    std::uint8_t story_difficulty;       // 0 Easy .. 3 Nightmare
    std::uint8_t gap_after_difficulty[3];
    std::int32_t movie_playback;
    std::int32_t run_when_inactive;
    std::int32_t loading_illustration;   // 1 default, 2 illustrations, 3 all
};

static_assert(sizeof(OptionBlock) == 84);

// Where a field of the block takes a value from when the defaults are applied.
enum class OptionDefault : std::uint8_t {
    kKept,      // none: the defaults leave it as it is
    kFull,      // the full defaults set it; the options page's reset does not
    kReset,     // the full defaults and the options page's reset set it
};

// The last version of the oldest layout: its option block ends after the key maps, and
// its file after the connect-to table, without the allowed-only flag and the lists.
inline constexpr std::uint16_t kOldestLayoutLastVersion = 259;

// A field's `missing_up_to` for a field that files of every version hold.
inline constexpr std::uint16_t kEveryVersion = 0;

// One field of the option block, in block order: its place and width in the file (a
// width of 1 or 4 is a little-endian value; a run of bytes is carried as it is), its
// full default, and the value it takes when a file's version is too old to hold it.
struct OptionField {
    const char* name;
    std::size_t offset;
    std::size_t width;
    bool is_value;
    OptionDefault defaulted;
    std::int32_t full_default;
    std::uint16_t missing_up_to;
    std::int32_t migration_default;
};

enum OptionFieldId {
    kScreenSizeField, kGapAfterScreenSize, kFullScreenField, kFps60Field, kBarrierField, kReduceLoadField,
    kScreenShakeField, kExtraOptionField, kBgmVolumeField, kSeVolumeField, kVoiceVolumeField, kInputMethod1,
    kInputMethod2, kKeyMap1, kKeyMap2, kDifficultyField, kGapAfterDifficulty, kMovieField, kInactiveField,
    kLoadingField, kOptionFieldCount
};

#define QOR_OPTION_AT(member) #member, offsetof(OptionBlock, member), sizeof(OptionBlock::member)
inline constexpr OptionField option_fields[kOptionFieldCount] = {
    {QOR_OPTION_AT(screen_size), true, OptionDefault::kReset, 0, kEveryVersion, 0},
    {QOR_OPTION_AT(gap_after_screen_size), false, OptionDefault::kKept, 0, kEveryVersion, 0},
    {QOR_OPTION_AT(full_screen), true, OptionDefault::kReset, 0, kEveryVersion, 0},
    {QOR_OPTION_AT(fps_60), true, OptionDefault::kReset, 1, kEveryVersion, 0},
    {QOR_OPTION_AT(barrier_near_character), true, OptionDefault::kReset, 1, kEveryVersion, 0},
    {QOR_OPTION_AT(reduce_load), true, OptionDefault::kReset, 0, kEveryVersion, 0},
    {QOR_OPTION_AT(screen_shake), true, OptionDefault::kReset, 1, kEveryVersion, 0},
    {QOR_OPTION_AT(extra_option), true, OptionDefault::kFull, 0, kEveryVersion, 0},
    {QOR_OPTION_AT(bgm_volume), true, OptionDefault::kReset, -1600, kEveryVersion, 0},
    {QOR_OPTION_AT(se_volume), true, OptionDefault::kReset, -1600, kEveryVersion, 0},
    {QOR_OPTION_AT(voice_volume), true, OptionDefault::kReset, 0, kEveryVersion, 0},
    {"input_method_1", offsetof(OptionBlock, input_method), 4, true, OptionDefault::kKept, 0, kEveryVersion, 0},
    {"input_method_2", offsetof(OptionBlock, input_method) + 4, 4, true, OptionDefault::kKept, 0, kEveryVersion, 0},
    {"key_map_1", offsetof(OptionBlock, key_map), sizeof(KeyMap), false, OptionDefault::kKept, 0, kEveryVersion, 0},
    {"key_map_2", offsetof(OptionBlock, key_map) + sizeof(KeyMap), sizeof(KeyMap), false, OptionDefault::kKept, 0,
     kEveryVersion, 0},
    {QOR_OPTION_AT(story_difficulty), true, OptionDefault::kReset, 1, kOldestLayoutLastVersion, 1},
    {QOR_OPTION_AT(gap_after_difficulty), false, OptionDefault::kKept, 0, kOldestLayoutLastVersion, 0},
    {QOR_OPTION_AT(movie_playback), true, OptionDefault::kReset, 1, kOldestLayoutLastVersion, 1},
    {QOR_OPTION_AT(run_when_inactive), true, OptionDefault::kReset, 0, kOldestLayoutLastVersion + 1, 0},
    {QOR_OPTION_AT(loading_illustration), true, OptionDefault::kReset, 3, kOldestLayoutLastVersion + 2, 3},
};
#undef QOR_OPTION_AT

// The rows cover the block, each where the previous one ends, so the struct and the
// file agree byte for byte.
constexpr bool OptionFieldsTileTheBlock() {
    std::size_t end = 0;
    for (const OptionField& field : option_fields) {
        if (field.offset != end || (field.is_value && field.width != 1 && field.width != 4)) return false;
        end += field.width;
    }
    return end == sizeof(OptionBlock);
}
static_assert(OptionFieldsTileTheBlock());

// Whether a file of `version` holds the field.
constexpr bool OptionFieldHeld(const OptionField& field, std::uint16_t version) {
    return field.missing_up_to == kEveryVersion || version > field.missing_up_to;
}

// A value field's value, and setting it (a one-byte field is written as one byte: the gap
// bytes after it are not ours).
std::int32_t OptionFieldValue(const OptionBlock& block, OptionFieldId field);
void SetOptionFieldValue(OptionBlock& block, OptionFieldId field, std::int32_t value);

// An IPv4 address a.b.c.d to connect to; 0.0.0.0 marks an empty slot.
struct ConnectAddress {
    std::uint8_t octets[4];
};

// Octet value that stands for the "*" wildcard in an address pattern.
inline constexpr std::uint16_t kWildcardOctet = 256;

// An address pattern: four octets a, b, c, d, each 0 to 255 or the wildcard 256.
struct AddressPattern {
    std::uint16_t octets[4];
};

inline constexpr std::size_t kMessageTextBytes = 41;  // 40 bytes of text and a NUL
inline constexpr std::size_t kMessageTextLimit = 40;

// A chat macro sent with one of F1 to F8.
struct FunctionMessage {
    char text[kMessageTextBytes];
    std::uint8_t target;                 // 0 = everyone, 1 = own team
};

// 12 bytes the tool never interprets but carries from file to file.
struct OpaqueRecord {
    std::uint8_t bytes[12];
};

inline constexpr std::size_t kConnectIdBytes = 17;
inline constexpr std::size_t kConnectSlots = 24;
inline constexpr std::size_t kFunctionMessages = 8;
// The records the format was made for (a 600-byte buffer); a file may hold more.
inline constexpr std::size_t kFormatOpaqueRecords = 50;
// The file's record count is one byte, so a file can hold at most this many records.
inline constexpr std::size_t kMaxOpaqueRecords = 255;
// The file's list counts are 16-bit.
inline constexpr std::size_t kMaxPatterns = 65535;

struct GameConfig {
    OptionBlock options;
    char connect_id[kConnectIdBytes];
    ConnectAddress connect_addresses[kConnectSlots];
    std::uint32_t opaque_word_1;
    std::int32_t allowed_only;
    // The counts written to the file are the vector sizes; both stay within kMaxPatterns.
    std::vector<AddressPattern> allowed_patterns;
    std::vector<AddressPattern> denied_patterns;
    // Every record the file held (at most kMaxOpaqueRecords), carried unchanged.
    std::vector<OpaqueRecord> opaque_records;
    std::uint32_t opaque_word_2;
    FunctionMessage function_messages[kFunctionMessages];
};

// The one configuration record of the process.
extern GameConfig game_config;

// Clears every field to zero bytes and drops the lists and records.
void ClearConfig(GameConfig& config);

// Full defaults for every field except input_method and key_map, which keep their values.
// The gap bytes also keep their values.
void SetConfigDefaults(GameConfig& config = game_config);

// The option values that the options page's reset button restores; extra_option,
// input methods, key maps and everything outside the options stay as they are.
void ResetOptionPage(GameConfig& config = game_config);

// The identity key map 0, 1, ..., 9.
KeyMap IdentityKeyMap();

// The record of a new file: the defaults, with both players on the joypad and the
// identity key maps.
void NewFileConfig(GameConfig& config);

// Frees the heap parts of the record (at program exit).
void ReleaseConfig(GameConfig& config = game_config);
