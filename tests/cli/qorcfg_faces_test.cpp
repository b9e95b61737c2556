// qorcfg's two faces: every text has both, with the same values to fill in; the face
// follows QORCFG_LANG, then LC_ALL, LC_MESSAGES and LANG; each command says its words in
// the face chosen, and what scripts read (JSON, lists, exit statuses) stays the same in
// both; set and apply take a meaning in either face's words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "cli/schema.h"
#include "cli/schema_texts.h"
#include "cli/texts.h"
#include "config/config_codec.h"
#include "model/address_lists.h"
#include "model/key_assign.h"
#include "model/option_rules.h"
#include "support/config_layout.h"
#include "support/qorcfg_run.h"
#include "support/scratch_dir.h"

using testing_support::ScratchGameFolder;
using testing_support::Utf8;

namespace {

using testing_support::Qorcfg;
using testing_support::QorcfgIn;

// The tests of this program expect the English face unless they pick one: the locale
// of the machine that runs them must not change what they read.
[[maybe_unused]] const bool kEnglishUnlessChosen = (setenv("QORCFG_LANG", "en", 1), true);

// The numbers of the places {1} to {9} a text fills in.
std::multiset<char> Placeholders(const char8_t* text) {
    std::multiset<char> places;
    const std::string s = reinterpret_cast<const char*>(text);
    for (std::size_t at = 0; at + 2 < s.size(); ++at)
        if (s[at] == '{' && s[at + 1] >= '1' && s[at + 1] <= '9' && s[at + 2] == '}') places.insert(s[at + 1]);
    return places;
}

TEST(QorcfgFaces, EveryTextHasBothFacesWithTheSamePlacesToFill) {
    for (std::size_t i = 0; i < kCliTextCount; ++i) {
        const CliTextRow& english = english_cli_texts[i];
        const CliTextRow& japanese = japanese_cli_texts[i];
        EXPECT_EQ(static_cast<std::size_t>(english.id), i) << "English row " << i << " out of order";
        EXPECT_EQ(static_cast<std::size_t>(japanese.id), i) << "Japanese row " << i << " out of order";
        if (english.text == nullptr || japanese.text == nullptr || *english.text == 0 || *japanese.text == 0) {
            ADD_FAILURE() << "text " << i << " lacks a face";
            continue;
        }
        // Each value is said in both faces, and none is made up: the same {n}, as often.
        EXPECT_EQ(Placeholders(english.text), Placeholders(japanese.text))
            << reinterpret_cast<const char*>(english.text) << " / " << reinterpret_cast<const char*>(japanese.text);
    }
}

// The lower layers name meanings, parts of the file and lists in English; the faces find
// each of those words among their rows, so that the Japanese face never falls back to
// an English word.
TEST(QorcfgFaces, EveryEnglishWordOfTheLowerLayersHasItsRow) {
    struct Words {
        std::vector<std::string> english;
        CliText first, last;
    };
    Words meanings{{}, CliText::kMeaningOff, CliText::kMeaningLoadingAll};
    for (const OptionRule& rule : option_rules)
        if (rule.meanings != nullptr)
            for (int button = 0; button < rule.buttons; ++button) meanings.english.emplace_back(rule.meanings[button]);
    for (const auto* set : {kOnOffMeanings, kInputMethodMeanings, kTargetMeanings})
        meanings.english.insert(meanings.english.end(), set, set + 2);
    Words items{{}, CliText::kItemVersion, CliText::kItemRecordCount};
    Words missing{{}, CliText::kMissingAllowedOnly, CliText::kMissingMessages};
    for (const FileItem& item : file_items) {
        items.english.emplace_back(item.name);
        if (item.count_name != nullptr) items.english.emplace_back(item.count_name);
        if (item.when_missing != nullptr) missing.english.emplace_back(item.when_missing);
    }
    Words lists{{}, CliText::kListConnect, CliText::kListDenied};
    for (AddressList list : {AddressList::kConnect, AddressList::kAllowed, AddressList::kDenied})
        lists.english.emplace_back(ListName(list));
    Words slots{{}, CliText::kSlotOnNoPage, CliText::kSlotOnNoPage};
    for (const KeyRow& key : key_rows)
        if (*key.caption == '\0') slots.english.emplace_back(key.action);
    for (const Words& words : {meanings, items, missing, lists, slots}) {
        EXPECT_FALSE(words.english.empty());
        for (const std::string& word : words.english) {
            bool found = false;
            for (auto id = static_cast<std::size_t>(words.first); id <= static_cast<std::size_t>(words.last); ++id)
                found = found || word == SayIn(Language::kEnglish, static_cast<CliText>(id));
            EXPECT_TRUE(found) << "no row says \"" << word << "\"";
        }
    }
}

// The face a run takes from its environment (none of the variables inherited).
TEST(QorcfgFaces, TheFaceFollowsQorcfgLangThenTheLocaleVariables) {
    const std::string english = "Usage: qorcfg [--file", japanese = Utf8(u8"使い方: qorcfg [--file");
    const struct {
        const char* environment;
        bool japanese;
    } rows[] = {
        {"", false},
        {"LANG=ja_JP.UTF-8", true},
        {"LANG=ja", true},
        {"LANG=en_US.UTF-8", false},
        {"LC_ALL=C LANG=ja_JP.UTF-8", false},             // LC_ALL first
        {"LC_ALL= LANG=ja_JP.UTF-8", true},               // an empty variable does not count
        {"LC_MESSAGES=ja_JP.eucJP LANG=en_US.UTF-8", true},  // LC_MESSAGES before LANG
        {"LC_ALL=ja_JP.UTF-8 LC_MESSAGES=C", true},
        {"QORCFG_LANG=en LC_ALL=ja_JP.UTF-8", false},     // QORCFG_LANG over all
        {"QORCFG_LANG=ja LC_ALL=C", true},
        {"QORCFG_LANG=fr LANG=ja_JP.UTF-8", true},        // a face it has not: the locale decides
        {"QORCFG_LANG= LANG=ja_JP.UTF-8", true},
    };
    ScratchGameFolder folder;
    for (const auto& row : rows) {
        const testing_support::QorcfgResult run = QorcfgIn(row.environment, {"help"});
        EXPECT_EQ(run.status, 0) << row.environment;
        EXPECT_EQ(run.out.substr(0, (row.japanese ? japanese : english).size()), row.japanese ? japanese : english)
            << row.environment;
    }
}

// One message of each command in each face: what a refused or a plain run says.
TEST(QorcfgFaces, EachCommandSpeaksTheFaceChosen) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        bool on_stdout;
        std::string english, japanese;  // a part of what it prints there
    } rows[] = {
        {{"set", "story_difficulty", "Hardd"}, "", 1, false,
         "qorcfg: story_difficulty is 0 (Easy), 1 (Normal), 2 (Hard) or 3 (Nightmare), not \"Hardd\"; nothing changed\n",
         Utf8(u8"qorcfg: story_difficulty は 0 (Easy)、1 (Normal)、2 (Hard) または 3 (Nightmare) です。"
              u8"「Hardd」は指定できません。何も変更していません\n")},
        {{"set", "full_screen", "on"}, "", 0, false, "qorcfg: set: full_screen 0 (off) -> 1 (on); saved\n",
         Utf8(u8"qorcfg: set: full_screen 0 (OFF) -> 1 (ON)。保存しました\n")},
        {{"show"}, "", 0, true, "File: Data/GameConfig.dat (552 bytes)\nVersion: 272\nscreen_size             0       640x480\n",
         Utf8(u8"ファイル: Data/GameConfig.dat（552 バイト）\nバージョン: 272\n"
              u8"screen_size             0       640×480  「画面サイズ」\n")},
        {{"show"}, "", 0, true, "denied (0):\n", Utf8(u8"denied 「拒否IP」（0 件）:\n")},
        {{"help"}, "", 0, true, "Usage: qorcfg [--file PATH] [-q|-v] COMMAND [ARGUMENTS]\n\nReads and changes",
         Utf8(u8"使い方: qorcfg [--file PATH] [-q|-v] COMMAND [ARGUMENTS]\n\nゲームの設定ファイルを")},
        {{"help", "set"}, "", 0, true, "Usage: qorcfg set FIELD VALUE [FIELD VALUE]...\n\nSets one or more fields",
         Utf8(u8"使い方: qorcfg set FIELD VALUE [FIELD VALUE]...\n\n一つ以上のフィールドを")},
        {{"help", "fields"}, "", 0, true, "  story_difficulty ($.options.story_difficulty): the story mode's difficulty\n",
         Utf8(u8"  story_difficulty ($.options.story_difficulty): ストーリーモードの難しさ\n")},
        {{"shwo"}, "", 2, false, "qorcfg: unknown command shwo (did you mean show?) (see 'qorcfg --help')\n",
         Utf8(u8"qorcfg: 不明なコマンド shwo（show のことですか？）（'qorcfg --help' を参照）\n")},
        {{"check"}, "", 0, true, "Data/GameConfig.dat: version 272, 552 bytes\nno findings\n",
         Utf8(u8"Data/GameConfig.dat: バージョン 272、552 バイト\n指摘なし\n")},
        {{"list"}, "", 2, false, "qorcfg: list needs a list: denied, allowed or connect (see 'qorcfg --help')\n",
         Utf8(u8"qorcfg: list にはリストが必要です: denied、allowed または connect（'qorcfg --help' を参照）\n")},
        {{"add", "denied", "1.2.3"}, "", 1, false,
         "qorcfg: argument 2: \"1.2.3\": expected four parts a.b.c.d\nqorcfg: nothing changed\n",
         Utf8(u8"qorcfg: 引数 2: \"1.2.3\": a.b.c.d の四つの部分が必要です\nqorcfg: 何も変更していません\n")},
        {{"remove", "denied", "1.2.3.4"}, "", 0, false,
         "qorcfg: argument 2: 1.2.3.4 is not in the denied list\nqorcfg: denied: 0 removed, 1 not listed; nothing to save\n",
         Utf8(u8"qorcfg: 引数 2: 1.2.3.4 は 拒否IP のリストにありません\n"
              u8"qorcfg: denied: 0 件削除、1 件は未登録。保存する変更はありません\n")},
        {{"import", "denied", "none.txt"}, "", 2, false, "qorcfg: none.txt: cannot be read: No such file or directory\n",
         Utf8(u8"qorcfg: none.txt: 読み込めません: ファイルまたはフォルダがありません\n")},
        {{"export", "denied", "a", "b"}, "", 2, false, "qorcfg: export takes a list and at most one file",
         Utf8(u8"qorcfg: export にはリストと、ファイルを一つまで指定します")},
        {{"apply", "-"}, "{\"options\": {\"full_screen\": {\"value\": 1, \"meaning\": \"off\"}}}", 1, false,
         "qorcfg: stdin:1:42: $.options.full_screen.meaning: 1 means \"on\", not \"off\"; give the value or the meaning "
         "alone\nqorcfg: nothing changed\n",
         Utf8(u8"qorcfg: stdin:1:42: $.options.full_screen.meaning: 1 の意味は「ON」で、「off」ではありません。"
              u8"value か meaning の一方だけを指定してください\nqorcfg: 何も変更していません\n")},
        {{"apply", "-"}, "{\"denied\": [1]}", 1, false, "$.denied[0]: expected an address string, not a whole number\n",
         Utf8(u8"$.denied[0]: アドレスの文字列が必要です。整数 は使えません\n")},
        {{"diff"}, "", 2, false, "qorcfg: Data/GameConfig.dat.bak: no backup to compare with\n",
         Utf8(u8"qorcfg: Data/GameConfig.dat.bak: 比べるバックアップがありません\n")},
        {{"init"}, "", 1, false,
         "qorcfg: Data/GameConfig.dat: already exists; nothing changed ('qorcfg init --force' replaces it and keeps it "
         "as the backup)\n",
         Utf8(u8"qorcfg: Data/GameConfig.dat: 既にあります。何も変更していません（'qorcfg init --force' で置き換え、"
              u8"元のファイルはバックアップとして残ります）\n")},
        {{"restore"}, "", 2, false, "qorcfg: Data/GameConfig.dat.bak: no backup to restore; nothing changed\n",
         Utf8(u8"qorcfg: Data/GameConfig.dat.bak: 戻すバックアップがありません。何も変更していません\n")},
        {{"version", "now"}, "", 2, false, "qorcfg: version takes no arguments (see 'qorcfg --help')\n",
         Utf8(u8"qorcfg: version は引数をとりません（'qorcfg --help' を参照）\n")},
        {{"completion", "zsh"}, "", 2, false, "qorcfg: completion takes one shell: bash",
         Utf8(u8"qorcfg: completion にはシェルを一つ指定します: bash")},
    };
    for (const auto& row : rows) {
        for (const bool japanese : {false, true}) {
            ScratchGameFolder folder;
            folder.WriteConfig(config_layout::DefaultFile());
            const testing_support::QorcfgResult run = QorcfgIn(japanese ? "QORCFG_LANG=ja" : "QORCFG_LANG=en", row.args, row.input);
            const std::string& said = row.on_stdout ? run.out : run.err;
            const std::string& expected = japanese ? row.japanese : row.english;
            EXPECT_EQ(run.status, row.status) << row.args[0] << (japanese ? " ja" : " en") << ": " << run.err;
            EXPECT_NE(said.find(expected), std::string::npos) << row.args[0] << (japanese ? " ja" : " en") << ":\n" << said;
        }
    }
}

// What scripts read is the same in both faces, byte for byte, with the same status.
TEST(QorcfgFaces, ScriptsReadTheSameInBothFaces) {
    config_layout::FileParts parts = config_layout::DefaultParts();
    parts.denied = {{10, 0, 0, 1}, {10, 0, 0, 1}, {192, 168, 256, 256}};  // a duplicate: check finds it
    const struct {
        std::vector<std::string> args;
        std::string input;
    } rows[] = {
        {{"show", "--json"}, ""},
        {{"check", "--json"}, ""},
        {{"list", "denied"}, ""},
        {{"list", "denied", "--json"}, ""},
        {{"export", "denied"}, ""},
        {{"apply", "--dry-run", "--json", "-"}, "{\"options\": {\"screen_size\": 2}, \"allowed\": [\"1.2.3.4\"]}"},
        {{"diff", "--json", "other.json"}, ""},
        {{"version"}, ""},
        {{"completion", "bash"}, ""},
        {{"set", "screen_size", "7"}, ""},  // refused: its status
        {{"frob"}, ""},
    };
    for (const auto& row : rows) {
        testing_support::QorcfgResult runs[2];
        for (const bool japanese : {false, true}) {
            ScratchGameFolder folder;
            folder.WriteConfig(parts.Bytes());
            testing_support::WriteText("other.json", "{\"options\": {\"full_screen\": {\"meaning\": \"on\"}}}");
            runs[japanese] = QorcfgIn(japanese ? "QORCFG_LANG=ja" : "QORCFG_LANG=en", row.args, row.input);
        }
        EXPECT_EQ(runs[0].status, runs[1].status) << row.args[0];
        EXPECT_EQ(runs[0].out, runs[1].out) << row.args[0];
        EXPECT_EQ(runs[0].out.empty(), row.args[0] == "set" || row.args[0] == "frob") << row.args[0];
    }
}

// set and apply take a meaning in either face's words, whatever the face; the JSON then
// names the value by its English meaning.
TEST(QorcfgFaces, SetAndApplyTakeEitherFacesWords) {
    const struct {
        const char* face;
        std::vector<std::string> args;
        std::string input;
        std::string json;  // a line of show --json after it
    } rows[] = {
        {"en", {"set", "player1.input_method", Utf8(u8"キーボード")}, "", "\"input_method\": {\"value\":1,\"meaning\":\"keyboard\"}"},
        {"en", {"set", "screen_size", Utf8(u8"1024×768")}, "", "\"screen_size\": {\"value\":2,\"meaning\":\"1024x768\"}"},
        {"en", {"set", "fps_60", "30FPS"}, "", "\"fps_60\": {\"value\":0,\"meaning\":\"30 frames per second\"}"},
        {"en", {"set", "bgm_volume", Utf8(u8"スライダー5000/10000")}, "", "\"bgm_volume\": {\"value\":-5000,\"meaning\":\"slider at 5000 of 10000\"}"},
        {"en", {"set", "F1.target", Utf8(u8"チーム")}, "", "\"target\": {\"value\":1,\"meaning\":\"own team\"}"},
        {"en", {"set", "barrier_near_character", Utf8(u8"常時表示")}, "", "\"barrier_near_character\": {\"value\":0,\"meaning\":\"Always\"}"},
        {"ja", {"set", "allowed_only", Utf8(u8"ON")}, "", "\"allowed_only\": {\"value\":1,\"meaning\":\"on\"}"},
        {"ja", {"set", "story_difficulty", "hard", "movie_playback", "off"}, "", "\"story_difficulty\": {\"value\":2,\"meaning\":\"Hard\"}"},
        {"en", {"apply", "-"}, Utf8(u8"{\"options\": {\"loading_illustration\": {\"meaning\": \"イラスト\"}}}"),
         "\"loading_illustration\": {\"value\":2,\"meaning\":\"Pictures\"}"},
        {"ja", {"apply", "-"}, Utf8(u8"{\"options\": {\"screen_size\": {\"value\": 1, \"meaning\": \"800×600\"}}}"),
         "\"screen_size\": {\"value\":1,\"meaning\":\"800x600\"}"},
        {"ja", {"apply", "-"}, "{\"options\": {\"screen_size\": {\"value\": 1, \"meaning\": \"800x600\"}}}",
         "\"screen_size\": {\"value\":1,\"meaning\":\"800x600\"}"},
    };
    for (const auto& row : rows) {
        ScratchGameFolder folder;
        folder.WriteConfig(config_layout::DefaultFile());
        const testing_support::QorcfgResult run = QorcfgIn(std::string("QORCFG_LANG=") + row.face, row.args, row.input);
        EXPECT_EQ(run.status, 0) << row.args[1] << ": " << run.err;
        const std::string json = Qorcfg({"show", "--json"}).out;
        EXPECT_NE(json.find(row.json), std::string::npos) << row.args[1] << ": " << row.json;
    }
}

}  // namespace
