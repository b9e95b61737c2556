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
static_assert(offsetof(OptionBlock, screen_size) == 0);
static_assert(offsetof(OptionBlock, full_screen) == 4);
static_assert(offsetof(OptionBlock, fps_60) == 8);
static_assert(offsetof(OptionBlock, barrier_near_character) == 12);
static_assert(offsetof(OptionBlock, reduce_load) == 16);
static_assert(offsetof(OptionBlock, screen_shake) == 20);
static_assert(offsetof(OptionBlock, extra_option) == 24);
static_assert(offsetof(OptionBlock, bgm_volume) == 28);
static_assert(offsetof(OptionBlock, se_volume) == 32);
static_assert(offsetof(OptionBlock, voice_volume) == 36);
static_assert(offsetof(OptionBlock, input_method) == 40);
static_assert(offsetof(OptionBlock, key_map) == 48);
static_assert(offsetof(OptionBlock, story_difficulty) == 68);
static_assert(offsetof(OptionBlock, movie_playback) == 72);
static_assert(offsetof(OptionBlock, run_when_inactive) == 76);
static_assert(offsetof(OptionBlock, loading_illustration) == 80);

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
