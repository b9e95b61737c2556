// qorcfg run as a program on scratch game folders: list import and export, address
// rules, byte-exact saves, versions, the check's findings and the readable forms.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/qorcfg.h"
#include "ui/config_file.h"
#include "config/file_system.h"
#include "support/config_layout.h"
#include "support/qorcfg_run.h"
#include "support/scratch_dir.h"

using config_layout::DefaultFile;
using config_layout::DefaultParts;
using config_layout::FileParts;
using config_layout::FileSize;
using config_layout::kAllowedCountAt;
using config_layout::kConnectAddressesAt;
using config_layout::kConnectIdAt;
using config_layout::kMessagesAt;
using config_layout::kOpaqueWord1At;
using config_layout::kScreenSizeAt;
using testing_support::DataEntries;
using testing_support::Hex;
using testing_support::ScratchGameFolder;

namespace {

using Result = testing_support::QorcfgResult;
using testing_support::Qorcfg;
using testing_support::ReadText;
using testing_support::Utf8;
using testing_support::WriteText;


TEST(Qorcfg, ImportThenExportGivesTheNormalisedInput) {
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    WriteText("list.txt",
              "# hosts we keep out\r\n"
              "\r\n"
              "192.168.*.001\r\n"
              "10.0.0.0/8   # a whole network\n"
              "  172.16.5.9\n"
              "10.*.*.*\n"
              "192.168.*.1");
    Result import = Qorcfg({"-v", "import", "denied", "list.txt"});
    EXPECT_EQ(import.status, 0) << import.err;
    EXPECT_NE(import.err.find("list.txt:6: 10.*.*.* is already listed at list.txt:4; dropped"), std::string::npos)
        << import.err;
    EXPECT_NE(import.err.find("list.txt:7"), std::string::npos) << import.err;

    Result exported = Qorcfg({"export", "denied"});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out, "192.168.*.1\n10.*.*.*\n172.16.5.9\n");

    // What export writes, import reads back unchanged, here into the other list.
    EXPECT_EQ(Qorcfg({"export", "denied", "out.txt"}).status, 0);
    EXPECT_EQ(Qorcfg({"import", "allowed", "out.txt", "--replace"}).status, 0);
    EXPECT_EQ(Qorcfg({"list", "allowed"}).out, exported.out);
    // Importing the same list again adds nothing and leaves the file as it is.
    const std::vector<std::uint8_t> before = folder.ReadConfig();
    EXPECT_EQ(Qorcfg({"import", "denied", "-"}, exported.out).status, 0);
    EXPECT_EQ(folder.ReadConfig(), before);
}

TEST(Qorcfg, AddressLinesFollowTheListRules) {
    struct Row {
        const char* list;
        const char* line;
        const char* listed;  // the list afterwards, or nullptr when refused
        const char* error;   // part of the message when refused
    };
    const Row rows[] = {
        {"denied", "10.0.0.0/8", "10.*.*.*\n", nullptr},
        {"denied", "192.168.1.0/24", "192.168.1.*\n", nullptr},
        {"allowed", "172.16.0.0/16", "172.16.*.*\n", nullptr},
        {"allowed", "0.0.0.0/0", "*.*.*.*\n", nullptr},
        {"denied", "1.2.3.4/32", "1.2.3.4\n", nullptr},
        {"denied", "007.0.255.*", "7.0.255.*\n", nullptr},
        {"connect", "1.2.3.4/32", "1.2.3.4\n", nullptr},
        {"denied", "10.0.0.0/14", "10.0.*.*\n10.1.*.*\n10.2.*.*\n10.3.*.*\n", nullptr},
        {"denied", "10.0.0.0/33", nullptr, "prefix /33 is longer than /32"},
        {"denied", "10.1.0.0/8", nullptr, "part 2 \"1\" lies inside the /8 prefix's open part"},
        {"denied", "10.*.0.0/16", nullptr, "a prefix and \"*\" cannot be combined"},
        {"connect", "10.0.0.0/8", nullptr, "single addresses only"},
        {"connect", "1.2.*.4", nullptr, "takes no \"*\""},
        {"connect", "0.0.0.0", nullptr, "marks an empty slot"},
        {"denied", "1.2.3", nullptr, "expected four parts"},
        {"denied", "1.2.3.4.5", nullptr, "expected four parts"},
        {"denied", "256.1.1.1", nullptr, "part 1 \"256\" is not a number from 0 to 255"},
        {"denied", "1234.1.1.1", nullptr, "part 1 \"1234\" is not a number"},
        {"denied", "1.2.3.-1", nullptr, "a range is two addresses"},
        {"denied", "1.2.**.4", nullptr, "part 3 \"**\" is not a number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.list) + " " + row.line);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        Result added = Qorcfg({"add", row.list, row.line});
        if (row.listed != nullptr) {
            EXPECT_EQ(added.status, 0) << added.err;
            EXPECT_EQ(Qorcfg({"list", row.list}).out, row.listed);
        } else {
            EXPECT_EQ(added.status, 1);
            EXPECT_NE(added.err.find(row.error), std::string::npos) << added.err;
            EXPECT_EQ(folder.ReadConfig(), DefaultFile());
        }
    }
}

TEST(Qorcfg, AnImportWithBadLinesChangesNothingAndNamesThemAll) {
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    WriteText("bad.txt", "1.1.1.1\n1.1.1\n2.2.2.2\n300.1.1.1\n\n# fine\n3.3.3.3/20\n");
    Result import = Qorcfg({"import", "denied", "bad.txt"});
    EXPECT_EQ(import.status, 1);
    EXPECT_EQ(import.err,
              "qorcfg: bad.txt:2: \"1.1.1\": expected four parts a.b.c.d\n"
              "qorcfg: bad.txt:4: \"300.1.1.1\": part 1 \"300\" is not a number from 0 to 255\n"
              "qorcfg: bad.txt:7: \"3.3.3.3/20\": the address has bits set past its /20 prefix (the network is 3.3.0.0/20)\n"
              "qorcfg: nothing changed\n");
    EXPECT_EQ(folder.ReadConfig(), DefaultFile());
}

TEST(Qorcfg, ListsKeepTheirLimits) {
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    std::string connect;
    for (int i = 1; i <= 25; ++i) connect += "10.0.0." + std::to_string(i) + "\n";
    Result over = Qorcfg({"import", "connect", "-"}, connect);
    EXPECT_EQ(over.status, 1);
    EXPECT_NE(over.err.find("stdin:25: would take 1 entry, and the connect list has room for 0 more\n"), std::string::npos)
        << over.err;
    EXPECT_NE(over.err.find("would hold 25 addresses, more than its 24"), std::string::npos) << over.err;
    EXPECT_EQ(folder.ReadConfig(), DefaultFile());

    std::string denied;
    for (int i = 0; i < 65536; ++i) denied += std::to_string(i >> 8) + "." + std::to_string(i & 255) + ".0.1\n";
    EXPECT_EQ(Qorcfg({"import", "denied", "-"}, denied).status, 1);
    denied.resize(denied.rfind('\n', denied.size() - 2) + 1);  // the last line gone: 65535 fit
    EXPECT_EQ(Qorcfg({"import", "denied", "-"}, denied).status, 0);
    EXPECT_EQ(folder.ReadConfig().size(), FileSize(0, 65535));

    // The line where the room runs out is named with what it would take; what is
    // already listed takes none.
    denied.resize(denied.size() - 6 * std::string("255.250.0.1\n").size());  // 65529 listed: room for 6
    ASSERT_EQ(Qorcfg({"import", "--replace", "denied", "-"}, denied).status, 0);
    const Result prefix = Qorcfg({"import", "denied", "-"}, "0.0.0.1\n9.9.9.9\n# full?\n1.2.0.0/17\n");
    EXPECT_EQ(prefix.status, 1);
    EXPECT_NE(prefix.err.find("stdin:4: would take 128 entries, and the denied list has room for 5 more\n"), std::string::npos)
        << prefix.err;
    EXPECT_EQ(folder.ReadConfig().size(), FileSize(0, 65529));
}

TEST(Qorcfg, AnImportChangesOnlyTheListItNames) {
    // Every field holds something a save could disturb: gap bytes, values outside their
    // sets, key slot 8, opaque words and records, text bytes after a NUL.
    FileParts parts;
    parts.options = Hex("07 a1b2c3 05000000 00000000 02000000 01000000 00000000 78563412"
                        "f0d8ffff 10270000 00000000 09000000 00000000"
                        "0001020304050607fe09 0b0a09080706050403ff 09 d4e5f6 00000000 01000000 07000000");
    parts.connect_id = config_layout::IdField("ABCDEFGHIJKLMNOPQ");
    parts.connect[0] = {192, 168, 0, 1};
    parts.connect[2] = {10, 0, 0, 5};
    parts.opaque_word_1 = 0xdeadbeef;
    parts.allowed_only = 5;
    parts.allowed = {{10, 0, 300, 1}, {1, 256, 256, 256}};
    parts.denied = {{1, 2, 3, 4}};
    parts.records.assign(3 * 12, 0x5a);
    parts.opaque_word_2 = 0x0ffef00d;
    parts.messages = config_layout::MessageItem(std::string("hello\0", 6) + std::string(35, 'A'), 7);
    parts.messages.resize(42 * 8, 0x33);
    ScratchGameFolder folder;
    folder.WriteConfig(parts.Bytes());
    EXPECT_EQ(Qorcfg({"import", "denied", "-"}, "5.6.7.8\n*.9.*.10\n").status, 0);
    parts.denied = {{1, 2, 3, 4}, {5, 6, 7, 8}, {256, 9, 256, 10}};
    EXPECT_EQ(folder.ReadConfig(), parts.Bytes());
}

TEST(Qorcfg, OlderVersionsAreWrittenAsCurrentAndNewerOnesAreLeftAlone) {
    ScratchGameFolder folder;
    // Version 259: 68 option bytes, the ID, the addresses, one opaque word, no more.
    FileParts old = DefaultParts();
    old.connect_id = config_layout::IdField("old");
    old.opaque_word_1 = 42;
    folder.WriteConfig(old.Bytes(259));
    EXPECT_EQ(Qorcfg({"add", "allowed", "1.2.3.4"}).status, 0);
    std::vector<std::uint8_t> expected = DefaultFile();
    expected[kConnectIdAt] = 'o', expected[kConnectIdAt + 1] = 'l', expected[kConnectIdAt + 2] = 'd';
    expected[kOpaqueWord1At] = 42;
    const std::vector<std::uint8_t> entry = Hex("0100 0200 0300 0400");
    expected[kAllowedCountAt] = 1;
    expected.insert(expected.begin() + kAllowedCountAt + 2, entry.begin(), entry.end());
    EXPECT_EQ(folder.ReadConfig(), expected);

    std::vector<std::uint8_t> newer = DefaultFile();
    newer[0] = 0x11;  // 273
    folder.WriteConfig(newer);
    Result refused = Qorcfg({"add", "denied", "1.2.3.4"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("version 273 is newer than 272"), std::string::npos) << refused.err;
    EXPECT_EQ(Qorcfg({"show"}).status, 2);
    EXPECT_EQ(folder.ReadConfig(), newer);
}

TEST(Qorcfg, CheckSaysWhatTheToolWouldDo) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;  // empty: no file
        int status;
        const char* finding;
    };
    std::vector<std::uint8_t> v260 = DefaultFile();
    v260[0] = 0x04;  // 260: a layout of 203 bytes, so 349 are left over
    std::vector<std::uint8_t> short_file = DefaultFile();
    short_file.resize(500);
    std::vector<std::uint8_t> long_file = DefaultFile();
    long_file.push_back(0);
    std::vector<std::uint8_t> odd_options = DefaultFile();
    odd_options[kScreenSizeAt] = 7;
    std::vector<std::uint8_t> no_nul = DefaultFile();
    std::fill_n(no_nul.begin() + kMessagesAt + 42, 41, 'x');  // F2
    std::vector<std::uint8_t> long_id = DefaultFile();
    std::fill_n(long_id.begin() + kConnectIdAt, 16, 'i');
    std::vector<std::uint8_t> id_break = DefaultFile();
    const std::vector<std::uint8_t> abc_def = Hex("61 62 63 0d 0a 64 65 66");
    std::copy(abc_def.begin(), abc_def.end(), id_break.begin() + kConnectIdAt);
    std::vector<std::uint8_t> newer = DefaultFile();
    newer[0] = 0x11;
    std::vector<std::uint8_t> odd_keys = DefaultFile();
    odd_keys[config_layout::InputMethodAt(0)] = 5;
    odd_keys[kScreenSizeAt + 48] = 12;  // player 1's slot 0
    odd_keys[kMessagesAt + 41] = 2;     // F1's target
    const Row rows[] = {
        {"clean", DefaultFile(), 0, "no findings"},
        {"older", v260, 1, "version 260 is older than 272: the next save writes version 272, with run_when_inactive 0"},
        {"older, longer", v260, 1, "349 bytes follow the end of the layout"},
        {"short", short_file, 1, "the file is 500 bytes, 52 short of the 552 its layout needs: from the function messages on"},
        {"long", long_file, 1, "1 bytes follow the end of the layout"},
        {"option", odd_options, 1, "screen_size is 7, outside its values: the window shows 1024x768 and its next save stores 2"},
        {"no NUL", no_nul, 1, "message F2 has no NUL in its 41 bytes"},
        {"input method", odd_keys, 1, "player1.input_method is 5, outside its values: the window shows keyboard and keeps it as it is"},
        {"key slot", odd_keys, 1, "player1.shot is 12, outside its values: the window shows KEY 13 and keeps it as it is"},
        {"target", odd_keys, 1, "F1.target is 2, outside its values: the window shows own team and its next save stores 1"},
        {"long ID", long_id, 1, "the connect-to ID is 16 bytes"},
        {"ID with a line break", id_break, 1,
         "the connect-to ID holds a line break after its first 3 bytes: the window shows \"abc\" and its next save "
         "stores \"abc\""},
        {"newer", newer, 2, "version 273 is newer than 272"},
        {"one byte", {0x10}, 2, "too short to hold its version (1 bytes)"},
        {"missing", {}, 2, "no such file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        if (!row.bytes.empty()) folder.WriteConfig(row.bytes);
        Result check = Qorcfg({"check"});
        EXPECT_EQ(check.status, row.status);
        EXPECT_NE((check.out + check.err).find(row.finding), std::string::npos) << check.out << check.err;
        EXPECT_EQ(folder.ConfigExists(), !row.bytes.empty());
        if (!row.bytes.empty()) {
            EXPECT_EQ(folder.ReadConfig(), row.bytes);
        }
    }
    // Shown as the window shows it: up to the line break.
    ScratchGameFolder folder;
    folder.WriteConfig(id_break);
    EXPECT_NE(Qorcfg({"show"}).out.find("\nid                      \"abc\"\n"), std::string::npos);
    EXPECT_NE(Qorcfg({"show", "--json"}).out.find("\"connect\": {\n    \"id\": \"abc\",\n"), std::string::npos);
}

TEST(Qorcfg, ShowPrintsJapaneseTextInTheTerminalsEncoding) {
    ScratchGameFolder folder;
    std::vector<std::uint8_t> bytes = DefaultFile();
    // F1: "こんにちは" and a quote and a line break, in CP932; F1 goes to the team.
    const std::vector<std::uint8_t> text = Hex("82b1 82f1 82c9 82bf 82cd 22 0d0a");
    std::copy(text.begin(), text.end(), bytes.begin() + kMessagesAt);
    bytes[kMessagesAt + 41] = 1;
    folder.WriteConfig(bytes);

    Result json = Qorcfg({"show", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find(Utf8(u8"\"key\": \"F1\",\n      \"text\": \"こんにちは\\\"\\r\\n\",\n"
                                 u8"      \"target\": {\"value\":1,\"meaning\":\"own team\"}\n")),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(Utf8(u8"\"caption\":\"攻撃・魔力技１\",\"label\":\"KEY 4\"")), std::string::npos);
    EXPECT_NE(json.out.find("\"screen_size\": {\"value\":0,\"meaning\":\"640x480\"}"), std::string::npos);

    Result text_form = Qorcfg({"show"});
    EXPECT_EQ(text_form.status, 0);
    EXPECT_NE(text_form.out.find(Utf8(u8"\nF1.text                 \"こんにちは\\\"\\r\\n\"\n"
                                      u8"F1.target               1       own team\n")),
              std::string::npos)
        << text_form.out;
    EXPECT_NE(text_form.out.find(Utf8(u8"\nplayer1.attack          3       KEY 4     key_map.3, 攻撃・魔力技１ (Attack/Skill 1)\n")),
              std::string::npos)
        << text_form.out;
}

TEST(Qorcfg, SetWritesTheIdInTheFilesCodePage) {
    ScratchGameFolder folder;
    std::vector<std::uint8_t> bytes = DefaultFile();
    std::fill_n(bytes.begin() + kConnectIdAt, 17, 'z');
    folder.WriteConfig(bytes);
    EXPECT_EQ(Qorcfg({"set", "id", Utf8(u8"テスト")}).status, 0);
    // The text and its NUL; the bytes after the NUL keep what they held.
    const std::vector<std::uint8_t> id = Hex("8365 8358 8367 00");
    std::copy(id.begin(), id.end(), bytes.begin() + kConnectIdAt);
    EXPECT_EQ(folder.ReadConfig(), bytes);

    Result too_long = Qorcfg({"set", "id", Utf8(u8"あいうえおかきく")});
    EXPECT_EQ(too_long.status, 1);
    EXPECT_NE(too_long.err.find("16 bytes in CP932, more than the 15"), std::string::npos) << too_long.err;
    // A character with no CP932 form at all is refused, the file untouched.
    EXPECT_EQ(Qorcfg({"set", "id", Utf8(u8"a\U0001F600")}).status, 1);
    EXPECT_EQ(folder.ReadConfig(), bytes);
    // Others are stored as the window stores them: best-fit forms, the wave dash as 81 60.
    const struct {
        const char8_t* id;
        const char* stored;
    } stored_ids[] = {{u8"Café", "43616665 00"}, {u8"¥100", "5c313030 00"}, {u8"よろしく〜", "82e682eb82b582ad8160 00"}};
    for (const auto& c : stored_ids) {
        EXPECT_EQ(Qorcfg({"set", "id", Utf8(c.id)}).status, 0) << Utf8(c.id);
        const std::vector<std::uint8_t> id_bytes = Hex(c.stored);
        std::copy(id_bytes.begin(), id_bytes.end(), bytes.begin() + kConnectIdAt);
        EXPECT_EQ(folder.ReadConfig(), bytes) << Utf8(c.id);
    }
    EXPECT_EQ(Qorcfg({"set", "allowed-only", "on"}).status, 0);
    bytes[config_layout::kAllowedOnlyAt] = 1;
    EXPECT_EQ(folder.ReadConfig(), bytes);
}

TEST(Qorcfg, RemoveEmptiesConnectSlotsInPlace) {
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    EXPECT_EQ(Qorcfg({"add", "connect", "1.1.1.1", "2.2.2.2", "3.3.3.3"}).status, 0);
    Result removed = Qorcfg({"remove", "connect", "2.2.2.2", "9.9.9.9"});
    EXPECT_EQ(removed.status, 0);
    EXPECT_NE(removed.err.find("9.9.9.9 is not in the connect list"), std::string::npos) << removed.err;
    std::vector<std::uint8_t> expected = DefaultFile();
    const std::vector<std::uint8_t> slots = Hex("01010101 00000000 03030303");
    std::copy(slots.begin(), slots.end(), expected.begin() + kConnectAddressesAt);
    EXPECT_EQ(folder.ReadConfig(), expected);
    // The next add fills the empty slot.
    EXPECT_EQ(Qorcfg({"add", "connect", "4.4.4.4"}).status, 0);
    EXPECT_EQ(Qorcfg({"list", "connect"}).out, "1.1.1.1\n4.4.4.4\n3.3.3.3\n");
}

TEST(Qorcfg, AFileNamedWithFileIsSavedInItsOwnPlaceWithItsBackupBesideIt) {
    ScratchGameFolder folder;
    const std::vector<std::uint8_t> defaults = DefaultFile();
    WriteText("copy.dat", std::string(defaults.begin(), defaults.end()));
    EXPECT_EQ(Qorcfg({"--file", "copy.dat", "add", "denied", "1.2.3.4"}).status, 0);
    EXPECT_EQ(Qorcfg({"--file", "copy.dat", "list", "denied"}).out, "1.2.3.4\n");
    EXPECT_EQ(ReadText("copy.dat.bak"), std::string(defaults.begin(), defaults.end()));
    EXPECT_FALSE(folder.ConfigExists());
}

}  // namespace

namespace {

TEST(Qorcfg, TextsReachJsonAsValidUtf8WhateverTheFieldHolds) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> field;  // the message's text bytes, up to 41
        std::string json;                 // the "text" member as printed
    };
    const Row rows[] = {
        {"ascii", Hex("48 69"), "\"Hi\""},
        {"kana", Hex("83 65 83 58 83 67"), Utf8(u8"\"テスト\"")},
        {"half-width kana", Hex("b1 b2"), Utf8(u8"\"ｱｲ\"")},
        {"lead byte without its second byte, left out as the window does", Hex("41 82"), "\"A\""},
        {"byte that starts nothing", Hex("41 a0 42"), Utf8(u8"\"A\uFFFDB\"")},
        {"control and escapes", Hex("01 09 5c 22"), "\"\\u0001\\t\\\\\\\"\""},
        {"no NUL: the first 40 bytes", std::vector<std::uint8_t>(41, 'x'), "\"" + std::string(40, 'x') + "\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        std::vector<std::uint8_t> bytes = DefaultFile();
        std::copy(row.field.begin(), row.field.end(), bytes.begin() + kMessagesAt);
        folder.WriteConfig(bytes);
        Result json = Qorcfg({"show", "--json"});
        EXPECT_EQ(json.status, 0) << json.err;
        EXPECT_NE(json.out.find("\"key\": \"F1\",\n      \"text\": " + row.json + ",\n"), std::string::npos) << json.out;
    }
}

TEST(Qorcfg, CommandLineMistakesChangeNothing) {
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command frobnicate"},
        {{"show", "--replace"}, 2, "--replace belongs to import"},
        {{"list", "banned"}, 1, "there is no list banned; the lists are denied, allowed and connect"},
        {{"list"}, 2, "list needs a list: denied, allowed or connect"},
        {{"add", "denied"}, 2, "add needs at least one address"},
        {{"set", "id"}, 2, "set needs a field and a value"},
        {{"set", "allowed-only", "maybe"}, 1, "allowed_only is 1 (on) or 0 (off)"},
        {{"--colour", "show"}, 2, "unknown option --colour"},
        {{"remove", "denied", "1.2.3.4", "1.2.3"}, 1, "argument 3: \"1.2.3\": expected four parts"},
        {{"add", "connect", "1.2.3.4", "5.6.7.*"}, 1, "argument 3: \"5.6.7.*\": the connect-to list takes no \"*\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        Result result = Qorcfg(row.args);
        EXPECT_EQ(result.status, row.status);
        EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
        EXPECT_EQ(folder.ReadConfig(), DefaultFile());
    }
    ScratchGameFolder folder;
    Result help = Qorcfg({"import", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: qorcfg import LIST FILE|- [--replace]", 0), 0u) << help.out;
}

TEST(Qorcfg, ReplacingTheConnectListFillsItsSlotsFromTheFirst) {
    ScratchGameFolder folder;
    std::vector<std::uint8_t> bytes = DefaultFile();
    const std::vector<std::uint8_t> slots = Hex("00000000 01010101 00000000 02020202");
    std::copy(slots.begin(), slots.end(), bytes.begin() + kConnectAddressesAt);
    folder.WriteConfig(bytes);
    EXPECT_EQ(Qorcfg({"import", "connect", "-", "--replace"}, "2.2.2.2\n9.9.9.9\n").status, 0);
    std::vector<std::uint8_t> expected = DefaultFile();
    const std::vector<std::uint8_t> filled = Hex("02020202 09090909");
    std::copy(filled.begin(), filled.end(), expected.begin() + kConnectAddressesAt);
    EXPECT_EQ(folder.ReadConfig(), expected);
}

}  // namespace

namespace {

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// The default file with the connect-to ID `id` and the address 10.0.0.1: a file some
// program saved.
std::string FileWithId(const std::string& id) {
    FileParts parts = DefaultParts();
    parts.connect_id = config_layout::IdField(id);
    parts.connect[0] = {10, 0, 0, 1};
    return AsText(parts.Bytes());
}

TEST(Qorcfg, RestorePutsTheBackupBackAndKeepsTheFileItReplaces) {
    struct Row {
        const char* name;
        std::string backup;  // empty: none
        int status;
        const char* says;    // in the error stream
    };
    std::string newer = FileWithId("new");
    newer[0] = 0x11;  // version 273
    const Row rows[] = {
        {"a backup", FileWithId("before"), 0, ""},
        {"no backup", "", 2, "Data/GameConfig.dat.bak: no backup to restore; nothing changed"},
        {"a backup of a newer version", newer, 2, "holds no configuration the tool reads"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        WriteText("Data/GameConfig.dat", FileWithId("now"));
        if (!row.backup.empty()) WriteText("Data/GameConfig.dat.bak", row.backup);
        const Result restore = Qorcfg({"restore"});
        EXPECT_EQ(restore.status, row.status);
        EXPECT_NE(restore.err.find(row.says), std::string::npos) << restore.err;
        if (row.status != 0) {
            EXPECT_EQ(ReadText("Data/GameConfig.dat"), FileWithId("now"));
            EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), row.backup);
            continue;
        }
        EXPECT_EQ(ReadText("Data/GameConfig.dat"), row.backup);
        EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), FileWithId("now"));
        // A second restore undoes the first.
        EXPECT_EQ(Qorcfg({"restore"}).status, 0);
        EXPECT_EQ(ReadText("Data/GameConfig.dat"), FileWithId("now"));
    }
    ScratchGameFolder folder;
    EXPECT_EQ(Qorcfg({"restore", "now"}).status, 2);
}

// qorcfg's commands in this process, so that the store's seam can play another
// program that writes the file between qorcfg's read and its replace.
Result RunInProcess(std::vector<std::string> args) {
    args.insert(args.begin(), "qorcfg");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = RunQorcfg(static_cast<int>(args.size()), argv.data(), out, err);
    auto text = [](std::FILE* file) {
        std::string all;
        std::rewind(file);
        for (int ch; (ch = std::fgetc(file)) != EOF;) all += static_cast<char>(ch);
        std::fclose(file);
        return all;
    };
    const std::string out_text = text(out);
    return {status, out_text, text(err)};
}

int writes_left = 0;
int writes_done = 0;
const char* hold_from_replace = nullptr;  // a path another program holds from then on
bool HeldNow(const char* path) { return hold_from_replace != nullptr && std::string(path) == hold_from_replace; }

// Another program saves its own ID, a new one each time, while it has writes left; or it
// takes hold of a file without sharing.
void AnotherProgramSaves() {
    if (hold_from_replace != nullptr) SetHeldFileTest(HeldNow);
    if (writes_left == 0) return;
    --writes_left;
    WriteText("Data/GameConfig.dat", FileWithId("other" + std::to_string(++writes_done)));
}

TEST(Qorcfg, ACommandNeverUndoesAWriteBetweenItsReadAndItsReplace) {
    struct Row {
        const char* name;
        std::vector<std::string> command;
        int other_writes;
        int status;
        const char* says;
        const char* holds = nullptr;
    };
    const Row rows[] = {
        {"add, written once between", {"add", "denied", "1.2.3.4"}, 1, 0, "reading it again"},
        {"add, written every time", {"add", "denied", "1.2.3.4"}, 2, 75, "changed by another program again"},
        {"set allowed-only, written once", {"set", "allowed-only", "on"}, 1, 0, "reading it again"},
        {"remove, written every time", {"remove", "connect", "10.0.0.1"}, 5, 75, "changed by another program again"},
        {"held, not changed: not read again", {"add", "denied", "1.2.3.4"}, 0, 75,
         "qorcfg: Data/GameConfig.dat: held by another program; not saved, nothing changed\n", "Data/GameConfig.dat"},
        {"held before it could be read (no writes: -1)", {"add", "denied", "1.2.3.4"}, -1, 75,
         "qorcfg: Data/GameConfig.dat: held by another program; not saved, nothing changed\n", "Data/GameConfig.dat"},
        {"the backup held: saved, and said", {"add", "denied", "1.2.3.4"}, 0, 0,
         "Data/GameConfig.dat.bak: held by another program, so it could not be updated", "Data/GameConfig.dat.bak"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchGameFolder folder;
        WriteText("Data/GameConfig.dat", FileWithId("start"));
        if (row.holds != nullptr) WriteText("Data/GameConfig.dat.bak", FileWithId("older"));
        writes_left = std::max(row.other_writes, 0);
        writes_done = 0;
        hold_from_replace = row.holds;
        if (row.other_writes < 0) SetHeldFileTest(HeldNow);
        SetBeforeReplaceHook(AnotherProgramSaves);
        const Result result = RunInProcess(row.command);
        SetBeforeReplaceHook(nullptr);
        SetHeldFileTest(nullptr);
        EXPECT_EQ(result.status, row.status);
        EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
        if (row.holds != nullptr) {
            EXPECT_EQ(result.err.find("reading it again"), std::string::npos) << result.err;
            EXPECT_EQ(ReadText("Data/GameConfig.dat") == FileWithId("start"), row.status != 0);
            EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), FileWithId("older"));
            continue;
        }
        const std::vector<std::string> entries =
            row.status == 0 ? std::vector<std::string>{"GameConfig.dat", "GameConfig.dat.bak"}
                            : std::vector<std::string>{"GameConfig.dat"};
        EXPECT_EQ(DataEntries(), entries);
        const std::string now = ReadText("Data/GameConfig.dat");
        // The other program's ID is there whatever happened; our change only when saved.
        EXPECT_EQ(now.substr(kConnectIdAt, 7), "other" + std::to_string(writes_done) + std::string(1, '\0'));
        if (row.status == 0) {
            EXPECT_EQ(writes_done, 1);
            EXPECT_EQ(ReadText("Data/GameConfig.dat.bak"), FileWithId("other1"));
            EXPECT_NE(now, FileWithId("other1"));
        } else {
            EXPECT_EQ(writes_done, 2);
            EXPECT_EQ(now, FileWithId("other2"));
        }
    }
}

}  // namespace
