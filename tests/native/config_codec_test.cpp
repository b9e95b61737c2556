// The file format: every version's layout, the migration defaults, byte-exact round
// trips and truncated input.
#include <gtest/gtest.h>

#include <cstring>

#include "config/config_codec.h"
#include "support/config_layout.h"
#include "support/file_builder.h"
#include "support/scratch_dir.h"

using config_layout::FileSize;
using config_layout::kAllowedCountAt;
using config_layout::kStoryDifficultyAt;
using config_layout::Slice;
using testing_support::FileBuilder;
using testing_support::Hex;

namespace {

// An option block whose every field differs from its default, so each can be told apart.
// Offsets 0-67 (up to both key maps), 68-75, 76-79 and 80-83 are the prefixes that the
// versions 259, 260, 261 and 262+ hold.
const char kOptionBlockHex[] =
    "02 aabbcc"                          // screen_size 2, gap
    "01000000 00000000 00000000"         // full_screen 1, fps_60 0, barrier 0
    "01000000 00000000 78563412"         // reduce_load 1, screen_shake 0, extra 0x12345678
    "78ecffff f0d8ffff ffffffff"         // bgm -5000, se -10000, voice -1
    "01000000 00000000"                  // input methods: 1P keyboard, 2P joypad
    "09080706050403020100"               // key map 1P
    "000102030405060708 0b"              // key map 2P, slot 9 = 11
    "03 ddeeff"                          // story_difficulty 3, gap
    "00000000 01000000 02000000";        // movie 0, inactive 1, loading 2

std::vector<std::uint8_t> OptionBytes(std::size_t prefix) {
    std::vector<std::uint8_t> all = Hex(kOptionBlockHex);
    all.resize(prefix);
    return all;
}

// Items 3 to 5: ID "player", addresses 10.0.0.1 in slot 0 and 192.168.1.2 in slot 23,
// opaque word 1.
FileBuilder& AddressItems(FileBuilder& f) {
    f.Text("player", 17).U8(10).U8(0).U8(0).U8(1).Fill(4 * 22, 0).U8(192).U8(168).U8(1).U8(2);
    return f.I32(0x0badf00d);
}

// Items 6 to 10: allowed_only 1, two allowed patterns, three denied patterns.
FileBuilder& ListItems(FileBuilder& f) {
    f.I32(1).U16(2);
    f.U16(10).U16(0).U16(256).U16(1).U16(127).U16(0).U16(0).U16(1);
    f.U16(3);
    f.U16(1).U16(2).U16(3).U16(4).U16(256).U16(256).U16(256).U16(256).U16(300).U16(5).U16(6).U16(7);
    return f;
}

// Items 11 to 14: two records, opaque word 2, messages F1 "hello" to team, F8 to all.
FileBuilder& TailItems(FileBuilder& f) {
    f.U8(2);
    for (int i = 0; i < 24; ++i) f.U8(static_cast<std::uint8_t>(0xa0 + i));
    f.I32(-2);
    f.Text("hello", 41).U8(1);
    for (int i = 1; i < 7; ++i) f.Fill(41, 0).U8(0);
    f.Text("gg", 41).U8(0);
    return f;
}

std::vector<std::uint8_t> FullFile() {
    FileBuilder f;
    f.U16(272).Raw(OptionBytes(84));
    AddressItems(f);
    ListItems(f);
    TailItems(f);
    return f.bytes;
}

GameConfig Decoded(const std::vector<std::uint8_t>& bytes) {
    GameConfig c;
    ClearConfig(c);
    EXPECT_EQ(DecodeConfig(bytes, c), DecodeStatus::kOk);
    return c;
}

std::vector<std::uint8_t> Encoded(const GameConfig& c) {
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(EncodeConfig(c, out));
    return out;
}

}  // namespace

TEST(ConfigCodec, EveryVersionReadsItsPrefixAndDefaultsTheRest) {
    struct Case {
        std::uint16_t version;
        std::size_t prefix;
        std::uint8_t difficulty;
        std::int32_t movie, inactive, loading;
        bool has_lists, has_tail;
    };
    const Case cases[] = {
        {0, 68, 1, 1, 0, 3, false, false},
        {259, 68, 1, 1, 0, 3, false, false},
        {260, 76, 3, 0, 0, 3, true, false},
        {261, 80, 3, 0, 1, 3, true, false},
        {262, 84, 3, 0, 1, 2, true, false},
        {271, 84, 3, 0, 1, 2, true, false},
        {272, 84, 3, 0, 1, 2, true, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.version);
        FileBuilder f;
        f.U16(k.version).Raw(OptionBytes(k.prefix));
        AddressItems(f);
        if (k.has_lists) ListItems(f);
        if (k.has_tail) TailItems(f);
        GameConfig c = Decoded(f.bytes);

        // Fields inside every prefix.
        EXPECT_EQ(c.options.screen_size, 2);
        EXPECT_EQ(std::memcmp(c.options.gap_after_screen_size, "\xaa\xbb\xcc", 3), 0);
        EXPECT_EQ(c.options.extra_option, 0x12345678);
        EXPECT_EQ(c.options.bgm_volume, -5000);
        EXPECT_EQ(c.options.se_volume, -10000);
        EXPECT_EQ(c.options.voice_volume, -1);
        EXPECT_EQ(c.options.input_method[0], 1);
        EXPECT_EQ(c.options.key_map[0], (KeyMap{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
        EXPECT_EQ(c.options.key_map[1], (KeyMap{0, 1, 2, 3, 4, 5, 6, 7, 8, 11}));
        // Fields the version may lack.
        EXPECT_EQ(c.options.story_difficulty, k.difficulty);
        EXPECT_EQ(c.options.movie_playback, k.movie);
        EXPECT_EQ(c.options.run_when_inactive, k.inactive);
        EXPECT_EQ(c.options.loading_illustration, k.loading);
        EXPECT_STREQ(c.connect_id, "player");
        EXPECT_EQ(c.connect_addresses[23].octets[0], 192);
        EXPECT_EQ(c.opaque_word_1, 0x0badf00du);
        EXPECT_EQ(c.allowed_only, k.has_lists ? 1 : 0);
        EXPECT_EQ(c.allowed_patterns.size(), k.has_lists ? 2u : 0u);
        EXPECT_EQ(c.denied_patterns.size(), k.has_lists ? 3u : 0u);
        EXPECT_EQ(c.opaque_records.size(), k.has_tail ? 2u : 0u);
        EXPECT_EQ(c.opaque_word_2, k.has_tail ? 0xfffffffeu : 0u);
        EXPECT_STREQ(c.function_messages[0].text, k.has_tail ? "hello" : "");
        EXPECT_EQ(c.function_messages[0].target, k.has_tail ? 1 : 0);
    }
}

TEST(ConfigCodec, OlderVersionIsWrittenBackAsTheCurrentLayout) {
    FileBuilder f;
    f.U16(259).Raw(OptionBytes(68));
    AddressItems(f);
    std::vector<std::uint8_t> out = Encoded(Decoded(f.bytes));
    ASSERT_EQ(out.size(), FileSize());
    EXPECT_EQ(out[0], 0x10);
    EXPECT_EQ(out[1], 0x01);
    // story_difficulty 1 with a zero gap, movie 1, inactive 0, loading 3.
    EXPECT_EQ(Slice(out, kStoryDifficultyAt, 16), Hex("01000000 01000000 00000000 03000000"));
}

TEST(ConfigCodec, CurrentFileRoundTripsByteForByte) {
    std::vector<std::uint8_t> file = FullFile();
    ASSERT_EQ(file.size(), FileSize(2, 3, 2));
    EXPECT_EQ(Encoded(Decoded(file)), file);
    EXPECT_EQ(EncodedConfigSize(2, 3, 2), file.size());
    // Into a buffer that held something else, shorter or longer: only the file is left.
    for (std::size_t held : {file.size() / 2, file.size() * 2}) {
        std::vector<std::uint8_t> out(held, 0xAB);
        EXPECT_TRUE(EncodeConfig(Decoded(file), out));
        EXPECT_EQ(out, file) << held;
    }
}

// What `check` measures a file against: each version's items in file order, with the
// sizes its lists give them.
TEST(ConfigCodec, LayoutOfEachVersionNamesItsItemsInFileOrder) {
    using Items = std::vector<std::pair<std::string, std::size_t>>;
    const Items head = {{"version", 2}, {"option block", 0}, {"connect-to ID", 17}, {"connect-to addresses", 96},
                        {"opaque word 1", 4}};
    auto with = [&](std::size_t block, Items tail) {
        Items items = head;
        items[1].second = block;
        items.insert(items.end(), tail.begin(), tail.end());
        return items;
    };
    const Items lists = {{"allowed-only flag", 4}, {"allowed count", 2}, {"allowed addresses", 16},
                         {"denied count", 2},      {"denied addresses", 8}};
    Items current = lists;
    current.insert(current.end(), {{"opaque-record count", 1}, {"opaque records", 36}, {"opaque word 2", 4},
                                   {"function messages", 336}});
    const struct {
        std::uint16_t version;
        Items items;
    } rows[] = {
        {0, with(68, {})},
        {259, with(68, {})},
        {260, with(76, lists)},
        {261, with(80, lists)},
        {271, with(84, lists)},
        {272, with(84, current)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        Items got;
        for (const ConfigLayoutItem& item : ConfigLayout(row.version, 2, 1, 3)) got.emplace_back(item.name, item.size);
        EXPECT_EQ(got, row.items);
    }
}

TEST(ConfigCodec, PatternsKeepTheirOctetsIncludingValuesAbove255) {
    GameConfig c = Decoded(FullFile());
    ASSERT_EQ(c.denied_patterns.size(), 3u);
    const AddressPattern& p = c.denied_patterns[2];
    EXPECT_EQ(p.octets[0], 300);
    EXPECT_EQ(p.octets[3], 7);
    EXPECT_EQ(c.allowed_patterns[0].octets[2], kWildcardOctet);
}

TEST(ConfigCodec, ListCountsWriteExactlyTheirEntries) {
    GameConfig c;
    ClearConfig(c);
    std::vector<std::uint8_t> empty = Encoded(c);
    ASSERT_EQ(empty.size(), FileSize());
    // The allowed, denied and record counts.
    EXPECT_EQ(Slice(empty, kAllowedCountAt, 5), Hex("0000 0000 00"));

    c.denied_patterns.push_back(AddressPattern{{192, 168, 256, 1}});
    std::vector<std::uint8_t> one = Encoded(c);
    ASSERT_EQ(one.size(), FileSize(0, 1));
    EXPECT_EQ(Slice(one, kAllowedCountAt, 13), Hex("0000 0100 c000 a800 0001 0100 00"));
}

TEST(ConfigCodec, AllRecordsOfAFileAreCarriedEvenBeyondFifty) {
    FileBuilder f;
    f.U16(272).Raw(OptionBytes(84));
    AddressItems(f);
    ListItems(f);
    f.U8(255);
    for (int i = 0; i < 255 * 12; ++i) f.U8(static_cast<std::uint8_t>(i * 7));
    f.I32(5).Fill(336, 0x41);
    GameConfig c = Decoded(f.bytes);
    EXPECT_EQ(c.opaque_records.size(), 255u);
    EXPECT_EQ(Encoded(c), f.bytes);
}

TEST(ConfigCodec, NewerVersionIsRefusedAndLeavesTheRecordAlone) {
    GameConfig c;
    ClearConfig(c);
    c.options.bgm_volume = -42;
    for (std::uint16_t version : {273, 0x0111, 0xffff}) {
        std::vector<std::uint8_t> file = FullFile();
        file[0] = version & 0xff;
        file[1] = version >> 8;
        EXPECT_EQ(DecodeConfig(file, c), DecodeStatus::kTooNew) << version;
        EXPECT_EQ(c.options.bgm_volume, -42);
    }
}

TEST(ConfigCodec, FewerThanTwoBytesHoldNoVersion) {
    GameConfig c;
    ClearConfig(c);
    EXPECT_EQ(DecodeConfig(std::vector<std::uint8_t>{}, c), DecodeStatus::kNoVersion);
    EXPECT_EQ(DecodeConfig(Hex("10"), c), DecodeStatus::kNoVersion);
}

// Whatever a truncated file cannot supply comes back as zero bytes, never as stale
// memory: re-encoding a prefix gives the prefix followed only by zeros.
TEST(ConfigCodec, EveryTruncatedPrefixYieldsZerosForTheMissingPart) {
    std::vector<std::uint8_t> file = FullFile();
    for (std::size_t length = 2; length <= file.size(); ++length) {
        std::vector<std::uint8_t> prefix(file.begin(), file.begin() + length);
        GameConfig c;
        ClearConfig(c);
        // Stale content that must not survive the decode.
        c.denied_patterns.assign(5, AddressPattern{{9, 9, 9, 9}});
        std::memset(c.function_messages, 'x', sizeof c.function_messages);
        ASSERT_EQ(DecodeConfig(prefix, c), DecodeStatus::kOk) << length;
        std::vector<std::uint8_t> out = Encoded(c);
        for (std::size_t i = 0; i < out.size(); ++i) {
            std::uint8_t want = i < length ? file[i] : 0;
            if (out[i] != want) {
                ADD_FAILURE() << "prefix " << length << ": byte " << i << " is " << int(out[i]);
                break;
            }
        }
    }
}
