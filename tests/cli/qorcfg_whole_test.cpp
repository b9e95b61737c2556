// qorcfg's commands on every field and on the whole configuration, run as a program in
// scratch game folders: set, apply, diff, init, and the conventions of the command line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/config_layout.h"
#include "support/qorcfg_run.h"
#include "support/scratch_dir.h"

using config_layout::DefaultFile;
using config_layout::DefaultParts;
using config_layout::FileParts;
using config_layout::kAllowedOnlyAt;
using config_layout::kConnectIdAt;
using config_layout::kMessagesAt;
using config_layout::kOptionsAt;
using testing_support::Hex;
using testing_support::ScratchGameFolder;

namespace {

using Result = testing_support::QorcfgResult;
using testing_support::Qorcfg;
using testing_support::ReadText;
using testing_support::Utf8;
using testing_support::WriteText;

// The default file with `hex` written at `at`.
std::vector<std::uint8_t> DefaultWith(std::vector<std::pair<std::size_t, const char*>> changes) {
    std::vector<std::uint8_t> bytes = DefaultFile();
    for (const auto& [at, hex] : changes) {
        const std::vector<std::uint8_t> put = Hex(hex);
        std::copy(put.begin(), put.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return bytes;
}

std::string Without(std::string json, const char* member) {
    // show --json names the file, its size and version first: the rest is the configuration.
    const std::size_t at = json.find(std::string("\"") + member + "\"");
    return at == std::string::npos ? json : json.erase(at, json.find('\n', at) - at);
}

TEST(QorcfgSet, EveryFieldTakesItsNumberOrItsMeaning) {
    // Where each field lies in the file and the bytes the value is stored as, from the
    // file's layout (the option block starts at 2; messages are 41 bytes and a target).
    struct Row {
        std::vector<std::string> set;
        std::vector<std::pair<std::size_t, const char*>> bytes;
    };
    const std::size_t keys1 = kOptionsAt + 48, keys2 = kOptionsAt + 58;
    const Row rows[] = {
        {{"screen_size", "1024x768"}, {{kOptionsAt + 0, "02"}}},
        {{"screen_size", "1"}, {{kOptionsAt + 0, "01"}}},
        {{"full_screen", "ON"}, {{kOptionsAt + 4, "01000000"}}},
        {{"Full-Screen", "yes"}, {{kOptionsAt + 4, "01000000"}}},
        {{"fps_60", "30 frames per second"}, {{kOptionsAt + 8, "00000000"}}},
        {{"barrier_near_character", "always"}, {{kOptionsAt + 12, "00000000"}}},
        {{"reduce_load", "TRUE"}, {{kOptionsAt + 16, "01000000"}}},
        {{"screen_shake", "0"}, {{kOptionsAt + 20, "00000000"}}},
        {{"extra_option", "-5"}, {{kOptionsAt + 24, "fbffffff"}}},
        {{"bgm_volume", "slider at 10000 of 10000"}, {{kOptionsAt + 28, "00000000"}}},
        {{"se_volume", "-10000"}, {{kOptionsAt + 32, "f0d8ffff"}}},
        {{"voice_volume", "slider at 0 of 10000"}, {{kOptionsAt + 36, "f0d8ffff"}}},
        {{"player2.input_method", "keyboard"}, {{kOptionsAt + 44, "01000000"}}},
        // A button another slot holds: the two slots swap, as the page's capture does.
        {{"player1.key_map.3", "KEY 6"}, {{keys1 + 3, "05"}, {keys1 + 5, "03"}}},
        {{"player2.key_map.9", "11"}, {{keys2 + 9, "0b"}}},
        {{"story_difficulty", "nightmare"}, {{kOptionsAt + 68, "03"}}},
        {{"movie_playback", "off"}, {{kOptionsAt + 72, "00000000"}}},
        {{"run_when_inactive", "On"}, {{kOptionsAt + 76, "01000000"}}},
        {{"loading_illustration", "Pictures"}, {{kOptionsAt + 80, "02000000"}}},
        {{"allowed-only", "yes"}, {{kAllowedOnlyAt, "01000000"}}},
        {{"id", "host01"}, {{kConnectIdAt, "686f7374303100"}}},
        {{"F3.text", "gg"}, {{kMessagesAt + 2 * 42, "676700"}}},
        {{"f8.target", "team"}, {{kMessagesAt + 7 * 42 + 41, "01"}}},
        // Several fields in one call.
        {{"screen_size", "2", "full_screen", "1", "F1.target", "own team"},
         {{kOptionsAt + 0, "02"}, {kOptionsAt + 4, "01000000"}, {kMessagesAt + 41, "01"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.set[0] + " " + row.set[1]);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        std::vector<std::string> args = {"set"};
        args.insert(args.end(), row.set.begin(), row.set.end());
        const Result result = Qorcfg(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(folder.ReadConfig(), DefaultWith(row.bytes));
        // One save: the backup is the file as it was before the call.
        EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), std::string(DefaultFile().begin(), DefaultFile().end()));
        EXPECT_NE(result.err.find("; saved"), std::string::npos) << result.err;
    }
}

TEST(QorcfgSet, AValueOutsideItsSetIsRefusedNamingTheSet) {
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const std::string long_text(41, 'x');
    const Row rows[] = {
        {{"set", "screen_size", "3"}, 1, "screen_size is 0 (640x480), 1 (800x600) or 2 (1024x768), not 3"},
        {{"set", "full_screen", "maybe"}, 1, "full_screen is 1 (on) or 0 (off)"},
        {{"set", "allowed-only", "2"}, 1, "allowed_only is 1 (on) or 0 (off)"},
        {{"set", "bgm_volume", "1"}, 1, "bgm_volume is -10000 (lowest) to 0 (highest)"},
        {{"set", "player1.key_map.0", "12"}, 1, "0 to 11, or KEY 1 to KEY 12"},
        {{"set", "player1.shot", "KEY 13"}, 1, "player1.key_map.0 is a joypad button"},
        {{"set", "F1.target", "2"}, 1, "0 (everyone) or 1 (own team)"},
        {{"set", "screen_sise", "1"}, 1, "(did you mean screen_size?)"},
        {{"set", "player1.atack", "1"}, 1, "(did you mean player1.attack?)"},
        // Slot 8 is on no page: it has its number alone.
        {{"set", "player1.key_map_8", "1"}, 1, "set knows no field player1.key_map_8"},
        {{"set", "screen_size", "1", "full_screen"}, 2, "set needs a field and a value"},
        // Texts that do not fit are refused, not cut: 41 bytes, and 20 two-byte characters
        // and one more byte.
        {{"set", "F1.text", long_text}, 1, "F1.text is 41 bytes in CP932, more than the 40 it holds"},
        {{"set", "F2.text", Utf8(u8"ああああああああああああああああああああa")}, 1, "41 bytes in CP932"},
        {{"set", "id", "0123456789abcdef"}, 1, "id is 16 bytes in CP932, more than the 15"},
        {{"set", "F1.text", "a\tb"}, 1, "cannot hold control characters"},
        // The first pair good, the second refused: nothing at all changes.
        {{"set", "screen_size", "2", "id", "0123456789abcdef"}, 1, "nothing changed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.says);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        const Result result = Qorcfg(row.args);
        EXPECT_EQ(result.status, row.status);
        EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
        EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    }
}

TEST(QorcfgApply, ShowJsonAppliedBackChangesNothingOnEveryVersion) {
    // The largest file: both lists full, every record, texts in every message.
    FileParts largest = DefaultParts();
    for (std::size_t i = 0; i < 65535; ++i) {
        const auto a = static_cast<std::uint16_t>(i >> 8), b = static_cast<std::uint16_t>(i & 255);
        largest.allowed.push_back({10, a, b, 1});
        largest.denied.push_back({a, b, 256, 256});
    }
    largest.records.assign(255 * 12, 0x5a);
    for (std::size_t m = 0; m < 8; ++m) largest.messages[m * 42] = static_cast<std::uint8_t>('A' + m);
    FileParts outside = DefaultParts();
    outside.options[0] = 7;  // outside its set: shown as 1024x768, kept as 7
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool portable;  // its document applies to another file too
    };
    const Row rows[] = {
        {"largest", largest.Bytes(), true},
        {"a value outside its set", outside.Bytes(), false},
        {"259", DefaultParts().Bytes(259), true},
        {"260", DefaultParts().Bytes(260), true},
        {"261", DefaultParts().Bytes(261), true},
        {"271", DefaultParts().Bytes(271), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        folder.WriteConfig(row.bytes);
        const Result shown = Qorcfg({"show", "--json"});
        ASSERT_EQ(shown.status, 0) << shown.err;
        const Result applied = Qorcfg({"apply", "-"}, shown.out);
        EXPECT_EQ(applied.status, 0) << applied.err;
        EXPECT_NE(applied.err.find("nothing to save"), std::string::npos) << applied.err;
        EXPECT_EQ(folder.ReadConfig(), row.bytes);
        EXPECT_FALSE(std::ifstream("Data/GameConfig.dat.bak").good());
        if (!row.portable) continue;
        // Applied to the defaults, the document makes the same configuration (but for
        // the opaque records, which describe the file and are not applied).
        folder.WriteConfig(DefaultFile());
        EXPECT_EQ(Qorcfg({"apply", "-"}, shown.out).status, 0);
        auto configuration = [](const std::string& json) {
            return Without(Without(Without(json, "size"), "version"), "opaque_records");
        };
        EXPECT_EQ(configuration(Qorcfg({"show", "--json"}).out), configuration(shown.out));
    }
}

TEST(QorcfgApply, ADocumentChangesExactlyTheFieldsItChanges) {
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    const Result result = Qorcfg({"apply", "-"}, R"({
        "options": {"full_screen": {"value": 1, "meaning": "on"}, "story_difficulty": {"meaning": "Hard"},
                    "bgm_volume": -1600},
        "allowed_only": "on",
        "connect": {"id": "lan", "addresses": ["192.168.0.2"]},
        "denied": ["1.2.3.4", "5.6.0.0/16"],
        "players": [{"player": 2, "key_map": [9, 8, 7, 6, 5, 4, 3, 2, 1, 0]}],
        "messages": [{"key": "F2", "text": "hi", "target": {"value": 1}}]
    })");
    EXPECT_EQ(result.status, 0) << result.err;
    FileParts want = DefaultParts();
    want.options[4] = 1;
    want.options[68] = 2;
    for (int slot = 0; slot < 10; ++slot) want.options[58 + slot] = static_cast<std::uint8_t>(9 - slot);
    want.allowed_only = 1;
    want.connect_id = config_layout::IdField("lan");
    want.connect[0] = {192, 168, 0, 2};
    want.denied = {{1, 2, 3, 4}, {5, 6, 256, 256}};
    want.messages[42] = 'h';
    want.messages[43] = 'i';
    want.messages[42 + 41] = 1;
    EXPECT_EQ(folder.ReadConfig(), want.Bytes());
}

TEST(QorcfgApply, AnEntryIsPickedByItsPlayerOrKeyWhereverThatStands) {
    struct Row {
        const char* document;
        std::vector<std::pair<std::size_t, const char*>> bytes;  // what the file then holds
    };
    const std::size_t keys2 = kOptionsAt + 58;
    const Row rows[] = {
        // "player" after the values it picks the entry for, the first entry for player 2.
        {R"({"players": [{"key_map": [9, 1, 2, 3, 4, 5, 6, 7, 8, 0], "player": 2}, {"input_method": "keyboard", "player": 1}]})",
         {{keys2, "09"}, {keys2 + 9, "00"}, {kOptionsAt + 40, "01000000"}}},
        // Without "player", the place in the array picks; of one picked twice, the last.
        {R"({"players": [{"input_method": 1, "player": 2}, {"input_method": 0, "player": 2}]})", {}},
        {R"({"messages": [{"text": "gg", "key": "F3"}, {"target": "team"}]})",
         {{kMessagesAt + 2 * 42, "676700"}, {kMessagesAt + 42 + 41, "01"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.document);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        const Result result = Qorcfg({"apply", "-"}, row.document);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(folder.ReadConfig(), DefaultWith(row.bytes));
    }
}

TEST(QorcfgApply, AnyMistakeIsNamedByItsPlaceAndPathAndNothingChanges) {
    struct Row {
        std::string document;
        int status;        // 1: refused, 2: no JSON document
        const char* says;  // after "qorcfg: stdin:"
    };
    const Row rows[] = {
        {R"({"optoins": {}})", 1, "1:2: $.optoins: unknown member (did you mean options?)"},
        {R"({"options": {"screen_size": {"value": 5}}})", 1, "1:14: $.options.screen_size: screen_size is 0 (640x480)"},
        {R"({"options": {"full_screen": {"value": 1, "meaning": "off"}}})", 1,
         "1:42: $.options.full_screen.meaning: 1 means \"on\", not \"off\""},
        {R"({"options": {"fps_60": {"value": "1"}}})", 1, "1:25: $.options.fps_60.value: expected a whole number, not a string"},
        {R"({"players": [{"input_method": true}]})", 1,
         "1:15: $.players[0].input_method: expected a whole number or the value's meaning, not true or false"},
        {R"({"players": [{"key_map": [0, 1]}]})", 1, "1:15: $.players[0].key_map: expected 10 elements, not 2"},
        {R"({"players": [{"key_map": [0, 1, 2, 3, 4, 5, 6, 7, 8, 12]}]})", 1,
         "1:54: $.players[0].key_map[9]: player1.key_map.9 is"},
        {R"({"players": [{}, {}, {"player": 1}]})", 1, "1:22: $.players[2]: expected at most 2 elements"},
        {R"({"players": [{"player": 3}]})", 1, "1:15: $.players[0].player: expected 1 or 2"},
        {R"({"denied": ["1.2.3.4", "1.2.3"]})", 1, "1:24: $.denied[1]: \"1.2.3\": expected four parts"},
        {R"({"messages": [{"key": "F9"}]})", 1, "1:16: $.messages[0].key: expected \"F1\" to \"F8\""},
        {R"({"messages": [{"text": "0123456789012345678901234567890123456789x"}]})", 1,
         "1:16: $.messages[0].text: F1.text is 41 bytes"},
        {R"({"connect": {"id": 5}})", 1, "1:14: $.connect.id: expected a string, not a whole number"},
        {R"({"connect": {"id": "\uDC00"}})", 1, "1:14: $.connect.id: id must be text that the file's Japanese code page"},
        {R"([1, 2])", 1, "1:1: $: expected an object, not an array"},
        // Numbers: a fraction or an exponent is no whole number, one past the signed
        // 64-bit range is outside every set (not wrapped round into it).
        {R"({"options": {"fps_60": 1e3}})", 1, "1:14: $.options.fps_60: expected a whole number, true, false or the value's "
                                               "meaning, not a number with a fraction or an exponent"},
        {R"({"options": {"bgm_volume": 18446744073709549616}})", 1,
         "1:14: $.options.bgm_volume: bgm_volume is -10000 (lowest) to 0 (highest), or \"slider at N of 10000\" with N "
         "from 0 to 10000, not 18446744073709549616"},
        // Of a member named twice, the last counts.
        {R"({"options": {"fps_60": 1, "fps_60": 7}})", 1, "1:27: $.options.fps_60: fps_60 is 1 (60 frames per second) or 0 "
                                                          "(30 frames per second) (also on/off, yes/no, true/false), not 7"},
        // A list entry that is no string, wherever the list stands.
        {R"({"denied": ["1.2.3.4", ["1.2.3.4"], {"a": [1]}, 5]})", 1, "1:49: $.denied[3]: expected an address string, not a whole number"},
        {R"({"denied": [{"a": [1]}]})", 1, "1:13: $.denied[0]: expected an address string, not an object"},
        {R"({"connect": {"x": [1], "addresses": ["1.2.3.4", null]}})", 1,
         "1:49: $.connect.addresses[1]: expected an address string, not null"},
        // No JSON document: trouble, with what was expected where.
        {R"({"options": )", 2, "1:13: $.options: expected a value: an object, an array, a string, a number, true, false or "
                                "null, not the end of the document; nothing changed"},
        {R"({"options": {"bgm_volume": 1e400}})", 2, "1:28: $.options.bgm_volume: expected a number that a double can hold"},
        {R"({"options": {}} x)", 2, "1:17: expected nothing but spaces after the document"},
        {std::string("{}\0{}", 5), 2, "1:3: expected nothing but spaces after the document"},
        {"{\"connect\": {\"id\": \"\xFF\"}}", 2, "1:21: $.connect.id: expected text in UTF-8"},
        {R"({"connect": {"id": "\uD800x"}})", 2, "1:21: $.connect.id: expected the second half of a surrogate pair"},
        {R"({"connect": {"id": "\q"}})", 2, "1:21: $.connect.id: expected an escape"},
        {"\xEF\xBB\xBF{x", 2, "1:2: expected a member's name in double quotes"},
        {R"({"denied": ["1.2.3.4", "5.6.7.8", ]})", 2, "1:35: $.denied[2]: expected a value"},
        {R"({"denied": ["1.2.3.4", "5.6.7.8" "9.9.9.9"]})", 2, "1:34: $.denied[2]: expected \",\" or \"]\" after the element"},
        {"", 2, "1:1: expected a JSON document, not empty text"},
        // A list read a run of plain entries at a time ends as the reader would end it.
        {R"({"denied": ["1.2.3.4", "5.6.7.8")", 2, "1:33: $.denied[2]: expected \",\" or \"]\" after the element, not the end"},
        {R"({"denied": ["1.2.3.4",)", 2, "1:23: $.denied[1]: expected a value"},
        {R"({"denied": ["1.2.3.4", "\u0035.6.7.8", ])", 2, "1:40: $.denied[2]: expected a value"},
        {"{\"denied\": [\"1.2.3.4\", \"5.6.7.8\x01\"]}", 2, "1:32: $.denied[1]: expected an escape for a control character"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.document);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        const Result result = Qorcfg({"apply", "-"}, row.document);
        EXPECT_EQ(result.status, row.status);
        EXPECT_NE(result.err.find(std::string("qorcfg: stdin:") + row.says), std::string::npos) << result.err;
        EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    }
}

TEST(QorcfgApply, WhatEditorsAndScriptsWriteIsRead) {
    struct Row {
        std::string document;
        const char* denied;  // what the denied list then holds
    };
    const Row rows[] = {
        {"\xEF\xBB\xBF{\"denied\": [\"1.2.3.4\"]}", "1.2.3.4\n"},           // a UTF-8 mark
        {"{\"denied\": [\"1.2.3.4\"]}\r\n\t \n", "1.2.3.4\n"},               // space after it
        {R"({"denied": ["9.9.9.9"], "denied": ["1.2.3.4"]})", "1.2.3.4\n"},  // the last counts
        {R"({"denied": ["\u0031.2.3.4", " 5.6.7.8 # note", "7.*.*.*"]})", "1.2.3.4\n5.6.7.8\n7.*.*.*\n"},
        {"{\"denied\":[\"1.2.3.4\"\n,\n\t\"5.6.7.8\" ,\"9.9.9.9\",\"\\u0031.1.1.1\",\"2.2.2.2\"\r\n]}",
         "1.2.3.4\n5.6.7.8\n9.9.9.9\n1.1.1.1\n2.2.2.2\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.document);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        const Result result = Qorcfg({"apply", "-"}, row.document);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(Qorcfg({"list", "denied"}).out, row.denied);
    }
}

TEST(QorcfgDiff, EachDifferingFieldAndEntryIsOneLine) {
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    EXPECT_EQ(Qorcfg({"diff"}).status, 2);  // no backup yet
    ASSERT_EQ(Qorcfg({"set", "screen_size", "2", "F1.text", "gg"}).status, 0);
    const std::string bak = ReadText("Data/GameConfig.dat.bak");
    WriteText("other.dat", bak);
    ASSERT_EQ(Qorcfg({"add", "denied", "1.2.3.4"}).status, 0);
    const Result against_other = Qorcfg({"diff", "other.dat"});
    EXPECT_EQ(against_other.status, 1);
    EXPECT_EQ(against_other.out,
              "screen_size: 0 (640x480) -> 2 (1024x768)\n"
              "F1.text: \"\" -> \"gg\"\n"
              "denied: + 1.2.3.4\n");
    const Result json = Qorcfg({"diff", "other.dat", "--json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\"same\": false"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"added\": [\n        \"1.2.3.4\"\n      ],"), std::string::npos) << json.out;
    // Against its own backup (the file before the add): only the list.
    EXPECT_EQ(Qorcfg({"diff"}).out, "denied: + 1.2.3.4\n");
    WriteText("same.dat", ReadText("Data/GameConfig.dat"));
    const Result same = Qorcfg({"diff", "same.dat"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
    // JSON is UTF-8 whatever a path holds: a byte that is no UTF-8 is written as U+FFFD.
    WriteText("o\xFF.dat", ReadText("Data/GameConfig.dat"));
    const Result odd = Qorcfg({"diff", "o\xFF.dat", "--json"});
    EXPECT_NE(odd.out.find("{\n  \"other\": \"o\xEF\xBF\xBD.dat\",\n  \"this\": "), std::string::npos) << odd.out;
    EXPECT_EQ(Qorcfg({"diff", "missing.dat"}).status, 2);
    // What the tool carries unchanged is compared too, as numbers.
    FileParts carried = DefaultParts();
    carried.opaque_word_2 = 7;
    carried.records.assign(2 * 12, 0x5a);
    const std::vector<std::uint8_t> carried_bytes = carried.Bytes();
    WriteText("carried.dat", std::string(carried_bytes.begin(), carried_bytes.end()));
    WriteText("Data/GameConfig.dat", std::string(DefaultFile().begin(), DefaultFile().end()));
    EXPECT_EQ(Qorcfg({"diff", "carried.dat"}).out,
              "opaque_records: 2 -> 0 records (their bytes differ)\nopaque_words: [0,7] -> [0,0]\n");
    EXPECT_NE(Qorcfg({"diff", "carried.dat", "--json"})
                  .out.find("{\n      \"field\": \"opaque_words\",\n      \"other\": [0, 7],\n      \"this\": [0, 0]\n    }"),
              std::string::npos);
}

TEST(QorcfgInit, WritesTheDefaultsAndReplacesAFileOnlyWhenForced) {
    ScratchGameFolder folder;
    const Result made = Qorcfg({"init"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    ASSERT_EQ(Qorcfg({"set", "screen_size", "2"}).status, 0);
    const std::vector<std::uint8_t> changed = folder.ReadConfig();
    const Result refused = Qorcfg({"init"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("already exists"), std::string::npos) << refused.err;
    EXPECT_EQ(folder.ReadConfig(), changed);
    EXPECT_EQ(Qorcfg({"init", "--force"}).status, 0);
    EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), std::string(changed.begin(), changed.end()));
}

TEST(QorcfgConventions, StatusesSuggestionsQuietAndSuccessLines) {
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* err;  // part of standard error ("" for empty)
        const char* out;  // start of standard output
    };
    const Row rows[] = {
        {{"--version"}, 0, "", "qorcfg 1."},
        {{"-V"}, 0, "", "qorcfg 1."},
        {{"version"}, 0, "", "qorcfg 1."},
        {{"shwo"}, 2, "unknown command shwo (did you mean show?)", ""},
        {{"lsit", "denied"}, 2, "(did you mean list?)", ""},
        {{"show", "--jsno"}, 2, "unknown option --jsno (did you mean --json?)", ""},
        {{"add", "deny", "1.2.3.4"}, 1, "(did you mean denied?)", ""},
        {{"help", "nosuch"}, 2, "no help on nosuch", ""},
        {{"help", "addresses"}, 0, "", "An address is a.b.c.d"},
        {{"help", "set"}, 0, "", "Usage: qorcfg set FIELD VALUE"},
        {{"--replace", "show"}, 2, "--replace belongs to import", ""},
        {{"add", "denied", "1.2.3.4", "5.6.7.8"}, 0, "qorcfg: denied: 2 added, 0 already listed; saved\n", ""},
        {{"-q", "add", "denied", "1.2.3.4"}, 0, "", ""},
        {{"remove", "denied", "9.9.9.9"}, 0, "denied: 0 removed, 1 not listed; nothing to save", ""},
        {{"list", "connect", "--json"}, 0, "", "[]\n"},
        {{"check", "--json"}, 0, "", "{\n  \"file\": \"Data/GameConfig.dat\",\n  \"version\": 272,\n  \"size\": 552,\n  \"findings\": []\n}\n"},
        {{"completion", "bash"}, 0, "", "# bash completion for qorcfg"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0]);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        const Result result = Qorcfg(row.args);
        EXPECT_EQ(result.status, row.status);
        if (*row.err == '\0') EXPECT_EQ(result.err, "");
        else EXPECT_NE(result.err.find(row.err), std::string::npos) << result.err;
        EXPECT_EQ(result.out.rfind(row.out, 0), 0u) << result.out;
    }
    // -q quiets a re-import's notes; the success line goes to standard error, never into
    // the data on standard output.
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    ASSERT_EQ(Qorcfg({"import", "denied", "-"}, "1.2.3.4\n5.6.7.8\n").status, 0);
    const Result again = Qorcfg({"import", "denied", "-"}, "1.2.3.4\n5.6.7.8\n");
    EXPECT_NE(again.err.find("already listed"), std::string::npos);
    EXPECT_EQ(Qorcfg({"-q", "import", "denied", "-"}, "1.2.3.4\n5.6.7.8\n").err, "");
    // A list from a Windows shell (UTF-16 with its mark) and a prefix noted with its count.
    const std::string utf16("\xFF\xFE" "9\0.\0" "9\0.\0" "9\0.\0" "0\0/\0" "3\0" "0\0\r\0\n\0", 26);
    const Result wide = Qorcfg({"-v", "import", "allowed", "-"}, utf16);
    EXPECT_EQ(wide.status, 0) << wide.err;
    EXPECT_NE(wide.err.find("stdin:1: \"9.9.9.0/30\" became 4 entries"), std::string::npos) << wide.err;
    EXPECT_EQ(Qorcfg({"list", "allowed"}).out, "9.9.9.0\n9.9.9.1\n9.9.9.2\n9.9.9.3\n");
    // A document from a Windows shell too.
    const std::string document("\xFF\xFE{\0\"\0d\0e\0n\0i\0e\0d\0\"\0:\0[\0]\0}\0", 28);
    EXPECT_EQ(Qorcfg({"apply", "-"}, document).status, 0);
    EXPECT_EQ(Qorcfg({"list", "denied"}).out, "");
    // A text file given as the configuration.
    WriteText("Data/GameConfig.dat", "10.0.0.1\n");
    const Result text = Qorcfg({"show"});
    EXPECT_EQ(text.status, 2);
    EXPECT_NE(text.err.find("not a configuration file (it starts with text)"), std::string::npos) << text.err;
}

}  // namespace
