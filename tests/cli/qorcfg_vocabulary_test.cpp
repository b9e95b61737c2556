// qorcfg speaks one vocabulary: what show prints, set takes back; every on/off value
// takes JSON's true and false; every command answers the same mistake with the same
// exit status; a change can be previewed; a document compares as the file it came from;
// JSON mistakes are placed by line and column; completion offers what each place takes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/config_layout.h"
#include "support/qorcfg_run.h"
#include "support/scratch_dir.h"

using config_layout::DefaultFile;
using config_layout::DefaultParts;
using config_layout::FileParts;
using config_layout::kAllowedOnlyAt;
using config_layout::kOptionsAt;
using testing_support::ScratchGameFolder;

namespace {

using Result = testing_support::QorcfgResult;
using testing_support::Qorcfg;
using testing_support::ReadText;
using testing_support::Utf8;
using testing_support::WriteText;

// A file in which every value differs from the defaults: options, ID, allowed-only,
// input methods, both key maps (permutations), all eight messages and their targets.
FileParts Unusual() {
    FileParts parts = DefaultParts();
    const std::vector<std::uint8_t> options = testing_support::Hex(
        "02 000000 01000000 00000000 00000000 01000000 00000000 05000000 f0d8ffff 18fcffff 30f8ffff"
        "01000000 00000000 09080706050403020100 03020100090807060504 03 000000 00000000 01000000 02000000");
    parts.options.assign(options.begin(), options.end());
    parts.connect_id = config_layout::IdField("host01");
    parts.allowed_only = 1;
    parts.messages.clear();
    for (int m = 0; m < 8; ++m) {
        const std::vector<std::uint8_t> item = config_layout::MessageItem("gg " + std::to_string(m), m % 2);
        parts.messages.insert(parts.messages.end(), item.begin(), item.end());
    }
    return parts;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// The value lines of show: {name, number or quoted text, meaning}.
struct ShownValue {
    std::string name, value, meaning;
};
std::vector<ShownValue> ShownValues(const std::string& show) {
    std::vector<ShownValue> values;
    std::istringstream lines(show);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t name_end = line.find(' ');
        if (line.empty() || name_end == 0 || name_end == std::string::npos) continue;
        const std::size_t value_at = line.find_first_not_of(' ', name_end);
        const std::string name = line.substr(0, name_end), rest = line.substr(value_at);
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
            values.push_back({name, rest.substr(1, rest.size() - 2), ""});
            continue;
        }
        const std::size_t value_end = rest.find(' ');
        const std::string value = rest.substr(0, value_end);
        if (value_end == std::string::npos || value.find_first_not_of("-0123456789") != std::string::npos) continue;
        const std::string meaning = rest.substr(rest.find_first_not_of(' ', value_end));
        values.push_back({name, value, meaning.substr(0, meaning.find("  "))});
    }
    return values;
}

TEST(QorcfgVocabulary, EveryNameShowPrintsSetTakesBackWithItsNumberOrItsMeaning) {
    ScratchGameFolder folder;
    folder.WriteConfig(Unusual().Bytes());
    const std::string shown = Qorcfg({"show"}).out;
    const std::vector<ShownValue> values = ShownValues(shown);
    ASSERT_EQ(values.size(), 14u + 2 + 2 * 11 + 8 * 2);  // options, id, allowed_only, players, messages
    EXPECT_NE(shown.find("\nplayer2.menu            4       KEY 5"), std::string::npos) << shown;
    for (bool by_meaning : {false, true}) {
        SCOPED_TRACE(by_meaning ? "by meaning" : "by number");
        folder.WriteConfig(DefaultFile());
        std::vector<std::string> args = {"set"};
        for (const ShownValue& v : values) {
            args.push_back(v.name);
            // extra_option's meaning says it is on no page; a volume's is its slider.
            args.push_back(by_meaning && !v.meaning.empty() && v.name != "extra_option" ? v.meaning : v.value);
        }
        const Result set = Qorcfg(args);
        EXPECT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(folder.ReadConfig(), Unusual().Bytes());
    }
}

TEST(QorcfgVocabulary, EveryOnOffValueTakesTrueAndFalseInJson) {
    const std::size_t on_off[] = {kOptionsAt + 4,  kOptionsAt + 8,  kOptionsAt + 12, kOptionsAt + 16,
                                  kOptionsAt + 20, kOptionsAt + 72, kOptionsAt + 76, kAllowedOnlyAt};
    for (bool value : {true, false}) {
        ScratchGameFolder folder;
        std::vector<std::uint8_t> bytes = DefaultFile();
        for (std::size_t at : on_off) bytes[at] = value ? 0 : 1;
        folder.WriteConfig(bytes);
        const std::string b = value ? "true" : "false";
        const Result applied =
            Qorcfg({"apply", "-"}, "{\"options\": {\"full_screen\": " + b + ", \"fps_60\": " + b +
                                       ", \"barrier_near_character\": {\"value\": " + b + "}, \"reduce_load\": " + b +
                                       ", \"screen_shake\": " + b + ", \"movie_playback\": " + b +
                                       ", \"run_when_inactive\": " + b + "}, \"allowed_only\": " + b + "}");
        EXPECT_EQ(applied.status, 0) << applied.err;
        for (std::size_t at : on_off) bytes[at] = value ? 1 : 0;
        EXPECT_EQ(folder.ReadConfig(), bytes) << b;
    }
}

// The table of docs/qorcfg.md, row by row: each command's mistakes and their status.
TEST(QorcfgVocabulary, EveryMistakeGetsTheStatusOfTheTable) {
    struct Row {
        std::vector<std::string> args;
        std::string input;  // standard input
        int status;
    };
    const std::string bad_json = "{\"options\": ";
    const Row rows[] = {
        // 0: done; no finding; no difference.
        {{"set", "screen_size", "0"}, "", 0},
        {{"check"}, "", 0},
        {{"diff", "same.dat"}, "", 0},
        {{"apply", "--dry-run", "-"}, "{\"options\": {\"fps_60\": false}}", 0},
        // 1: input refused, nothing changed; a finding; a difference.
        {{"set", "screen_size", "4"}, "", 1},
        {{"set", "F1.text", std::string(41, 'x')}, "", 1},
        {{"set", "screen_sise", "1"}, "", 1},
        {{"add", "denied", "1.2.3"}, "", 1},
        {{"list", "banned"}, "", 1},
        {{"import", "connect", "-"}, "1.2.3.*\n", 1},
        {{"apply", "-"}, "{\"options\": {\"screen_size\": 4}}", 1},
        {{"apply", "-"}, "{\"optoins\": {}}", 1},
        {{"apply", "-"}, "{\"connect\": {\"id\": 5}}", 1},
        {{"init"}, "", 1},
        {{"check"}, "", 1},  // the second file of the table holds screen_size 7
        {{"diff", "other.dat"}, "", 1},
        // 2: a command line that cannot be parsed.
        {{"shwo"}, "", 2},
        {{"show", "--replace"}, "", 2},
        {{"set", "screen_size"}, "", 2},
        {{"list"}, "", 2},
        {{"apply", "--json", "-"}, "{}", 2},
        {{"completion", "zsh"}, "", 2},
        // 2: a file or document that cannot be read at all, a write that failed.
        {{"--file", "missing.dat", "show"}, "", 2},
        {{"apply", "missing.json"}, "", 2},
        {{"apply", "-"}, bad_json, 2},
        {{"diff", "bad.json"}, "", 2},
        {{"diff", "unknown.json"}, "", 2},
        {{"diff", "missing.dat"}, "", 2},
        {{"restore"}, "", 2},
        {{"export", "denied", "no/such/folder/bans.txt"}, "", 2},
    };
    int row_number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        ScratchGameFolder folder;
        std::vector<std::uint8_t> file = DefaultFile();
        if (++row_number == 15) file[config_layout::kScreenSizeAt] = 7;
        folder.WriteConfig(file);
        WriteText("same.dat", AsText(DefaultFile()));
        WriteText("other.dat", AsText(Unusual().Bytes()));
        WriteText("bad.json", bad_json);
        WriteText("unknown.json", "{\"optoins\": {}}");
        const Result result = Qorcfg(row.args, row.input);
        EXPECT_EQ(result.status, row.status) << result.err;
        if (row.status != 0 && row.args[0] != "check" && row.args[0] != "diff") {
            EXPECT_EQ(folder.ReadConfig(), file);
        }
    }
}

TEST(QorcfgVocabulary, ADryRunWritesNothingAndPrintsWhatApplyThenDoes) {
    const std::string document = R"({"options": {"screen_size": "1024x768"}, "denied": ["10.0.0.0/8", "9.9.9.9"],
                                     "players": [{"player": 2, "key_map": [1, 0, 2, 3, 4, 5, 6, 7, 8, 9]}]})";
    for (const char* form : {"text", "json"}) {
        SCOPED_TRACE(form);
        const bool json = std::string(form) == "json";
        ScratchGameFolder folder;
        FileParts parts = DefaultParts();
        parts.denied = {{1, 2, 3, 4}, {5, 6, 7, 8}, {10, 256, 256, 256}};
        folder.WriteConfig(parts.Bytes());
        std::vector<std::string> dry = {"apply", "--dry-run", "-"};
        if (json) dry.push_back("--json");
        const Result preview = Qorcfg(dry, document);
        EXPECT_EQ(preview.status, 0) << preview.err;
        EXPECT_EQ(folder.ReadConfig(), parts.Bytes());
        EXPECT_FALSE(std::ifstream("Data/GameConfig.dat.bak").good());
        const Result applied = Qorcfg({"apply", "-"}, document);
        EXPECT_EQ(applied.status, 0) << applied.err;
        EXPECT_NE(applied.err.find("denied: 2 removed, 1 added; saved"), std::string::npos) << applied.err;
        // What the file now holds against the file it replaced is what the preview said.
        const Result diff = Qorcfg(json ? std::vector<std::string>{"diff", "--json"} : std::vector<std::string>{"diff"});
        std::string said = preview.out;
        if (json) said.replace(said.find("\"this\": \"stdin\""), 15, "\"this\": \"Data/GameConfig.dat\"");
        if (json) said.replace(said.find("\"other\": \"Data/GameConfig.dat\""), 30, "\"other\": \"Data/GameConfig.dat.bak\"");
        EXPECT_EQ(diff.out, said);
        if (!json) {
            EXPECT_EQ(said, "screen_size: 0 (640x480) -> 2 (1024x768)\nplayer2.shot: 0 (KEY 1) -> 1 (KEY 2)\n"
                            "player2.guard: 1 (KEY 2) -> 0 (KEY 1)\ndenied: + 9.9.9.9\ndenied: - 1.2.3.4\ndenied: - 5.6.7.8\n");
        }
    }
}

TEST(QorcfgVocabulary, DiffAgainstADocumentEqualsDiffAgainstTheFileItCameFrom) {
    ScratchGameFolder folder;
    FileParts unusual = Unusual();
    unusual.denied = {{10, 256, 256, 256}, {1, 2, 3, 4}};
    folder.WriteConfig(unusual.Bytes());
    ASSERT_EQ(Qorcfg({"show", "--json"}).status, 0);
    WriteText("unusual.json", ReadText("stdout.txt"));
    WriteText("unusual.dat", AsText(unusual.Bytes()));
    FileParts mine = DefaultParts();
    mine.denied = {{1, 2, 3, 4}};
    folder.WriteConfig(mine.Bytes());
    for (const char* format : {"", "--json"}) {
        SCOPED_TRACE(format);
        std::vector<std::string> against_file = {"diff", "unusual.dat"}, against_document = {"diff", "unusual.json"};
        if (*format != '\0') against_file.push_back(format), against_document.push_back(format);
        const Result file = Qorcfg(against_file), document = Qorcfg(against_document);
        EXPECT_EQ(file.status, 1);
        EXPECT_EQ(document.status, 1) << document.err;
        std::string expected = file.out;
        if (*format != '\0') expected.replace(expected.find("unusual.dat"), 11, "unusual.json");
        EXPECT_EQ(document.out, expected);
    }
    EXPECT_EQ(Qorcfg({"diff", "unusual.json"}).out.find("screen_size: 2 (1024x768) -> 0 (640x480)\n"), 0u);
}

TEST(QorcfgVocabulary, JsonMistakesAreNamedAtTheirLineAndColumn) {
    struct Row {
        std::string document;
        const char* place;  // "stdin:LINE:COLUMN: ..."
    };
    const Row rows[] = {
        {"{\n  \"options\": {\n    \"fps_60\": 1,\n  }\n}", "stdin:4:3: $.options: expected a member's name"},
        {"{\r\n\t\"options\": {\r\n\t\t\"fps_60\": 7\r\n\t}\r\n}", "stdin:3:3: $.options.fps_60: fps_60 is"},
        // The column counts characters: two before the mistake take six bytes in UTF-8.
        {Utf8(u8"{\"connect\": {\"id\": \"テスト\", \"x\": 1}}"), "stdin:1:27: $.connect.x: unknown member"},
        {Utf8(u8"{\"connect\": {\"id\": \"テスト\" \"x\": 1}}"), "stdin:1:26: $.connect: expected \",\" or \"}\""},
        // A byte-order mark is no character of the document; UTF-16 counts as the text it is.
        {"\xEF\xBB\xBF{\"x\": 1}", "stdin:1:2: $.x: unknown member"},
        {std::string("\xFF\xFE{\0\n\0 \0\"\0x\0\"\0:\0 \0" "1\0}\0", 22), "stdin:2:2: $.x: unknown member"},
        // A list's entries far down a long document.
        {"{\"denied\": [\n" + std::string(2000, ' ') + "\"1.2.3.4\",\n\"1.2.3\"]}", "stdin:3:1: $.denied[1]: \"1.2.3\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.place);
        ScratchGameFolder folder;
        folder.WriteConfig(DefaultFile());
        const Result result = Qorcfg({"apply", "-"}, row.document);
        EXPECT_NE(result.err.find(std::string("qorcfg: ") + row.place), std::string::npos) << result.err;
    }
}

TEST(QorcfgVocabulary, CompletionOffersWhatEachPlaceTakes) {
    struct Row {
        const char* line;     // the words before the cursor, and the one at it
        const char* offered;  // COMPREPLY, one a line
    };
    const Row rows[] = {
        {"qorcfg sh", "show\n"},
        {"qorcfg import d", "denied\n"},
        {"qorcfg import denied d", "drop.txt\n"},
        {"qorcfg export allowed p", "pc01.json\n"},
        {"qorcfg apply --dry-run p", "pc01.json\n"},
        {"qorcfg apply --d", "--dry-run\n"},
        {"qorcfg diff d", "drop.txt\n"},
        {"qorcfg --file d", "drop.txt\n"},
        {"qorcfg set screen_size ", "0\n1\n2\n640x480\n800x600\n1024x768\n"},
        {"qorcfg set F1.target o", "own\\ team\n"},
        {"qorcfg set player1.at", "player1.attack\n"},
        {"qorcfg set full_screen on screen_s", "screen_shake\nscreen_size\n"},
        {"qorcfg set PLAYER1.ATTACK 'KEY\\ 1'", "KEY\\ 1\nKEY\\ 10\nKEY\\ 11\nKEY\\ 12\n"},
        {"qorcfg set bgm_volume -", "-10000\n"},
        {"qorcfg set id ", ""},
        {"qorcfg help f", "fields\n"},
        {"qorcfg -q list c", "connect\n"},
    };
    ScratchGameFolder folder;
    WriteText("drop.txt", "1.2.3.4\n");
    WriteText("pc01.json", "{}");
    ASSERT_EQ(Qorcfg({"completion", "bash"}).status, 0);
    WriteText("completion.bash", ReadText("stdout.txt"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        // The line as bash splits it, the cursor on its last word.
        std::string line = row.line;
        const std::string words = line.back() == ' ' ? line + "''" : line;
        WriteText("complete.sh", "source ./completion.bash\nCOMP_WORDS=(" + words +
                                     ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_qorcfg\n"
                                     "printf '%s\\n' \"${COMPREPLY[@]}\" | sort -V | grep . || true\n");
        ASSERT_EQ(std::system("bash complete.sh >offered.txt 2>&1 </dev/null"), 0);
        EXPECT_EQ(ReadText("offered.txt"), row.offered);
    }
}

TEST(QorcfgVocabulary, HelpFieldsSaysWhichActionEachSlotIs) {
    ScratchGameFolder folder;
    const Result help = Qorcfg({"help", "fields"});
    EXPECT_EQ(help.status, 0);
    for (const std::string& line :
         {Utf8(u8"  player1.attack, player1.key_map.3 ($.players[0].key_map[3]): player 1's button for Attack/Skill 1 (攻撃・魔力技１)\n"
               u8"      a joypad button: 0 to 11, or KEY 1 to KEY 12\n"),
          std::string("  player2.key_map.8 ($.players[1].key_map[8]): player 2's key slot 8: on no page; carried in the map\n"),
          std::string("  F3.target ($.messages[2].target): who the chat message of F3 goes to\n      0 (everyone) or 1 (own team)\n"),
          std::string("  denied ($.denied): the addresses that may not connect\n")})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
}

TEST(QorcfgVocabulary, AnImportSaysOneLinePerBadLineAndOneSummary) {
    std::string list;
    for (int i = 0; i < 300; ++i) list += "10." + std::to_string(i % 256) + "." + std::to_string(2 * (i / 256)) + ".0/23\n";
    list += "10.0.0.0/23\n";  // already listed by the first line
    ScratchGameFolder folder;
    folder.WriteConfig(DefaultFile());
    const Result quiet = Qorcfg({"import", "denied", "-"}, list);
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "qorcfg: denied: 600 added, 2 already listed (301 lines stood for more than one entry); saved\n");
    EXPECT_EQ(Qorcfg({"-v", "import", "--replace", "denied", "-"}, list).err.find("stdin:1: \"10.0.0.0/23\" became 2 entries\n"),
              8u);
    const Result bad = Qorcfg({"import", "denied", "-"}, list + "1.2.3\n300.1.1.1\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "qorcfg: stdin:302: \"1.2.3\": expected four parts a.b.c.d\n"
                       "qorcfg: stdin:303: \"300.1.1.1\": part 1 \"300\" is not a number from 0 to 255\n"
                       "qorcfg: nothing changed\n");
}

}  // namespace
