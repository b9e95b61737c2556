// The words qorcfg's help says, in English: each command's summary and help, the usage
// text, the address rules and the list of fields.
#include <string>
#include <string_view>

#include "cli/command_table.h"
#include "cli/schema.h"
#include "model/address_lists.h"

namespace {

struct CommandText {
    const char* name;
    const char* summary[2];  // one per form
    const char* help;        // what --help says after the usage lines, examples last
};

const CommandText kTexts[] = {
    {"show", {"every field by the name set takes, or as JSON"},
     "Prints every value by the name 'qorcfg set' takes, with its meaning beside it:\n"
     "the options, the connect-to ID, allowed_only, each player's input method and\n"
     "buttons (a key slot by its action, player1.attack, which is also\n"
     "player1.key_map.3), the eight chat messages and their targets; then the three\n"
     "address lists and what describes the file. --json prints the same as one JSON\n"
     "object in UTF-8, which 'qorcfg apply' reads back.\n"
     "\nExamples:\n  qorcfg show\n  qorcfg show --json > settings.json\n"},
    {"check", {"what the tool would do with the file"},
     "Reads the file as the tool does and says what the tool would do with it: an\n"
     "older version migrated on the next save, a file shorter or longer than its\n"
     "layout, values outside their sets and how the window's next save stores them,\n"
     "texts without a NUL, duplicate entries, and so on. Exit status 0 without\n"
     "findings, 1 with findings, 2 when the file is missing, unreadable or newer.\n"
     "--json prints {\"file\", \"version\", \"size\", \"findings\": [...]}.\n"
     "\nExamples:\n  qorcfg check\n  qorcfg check --json\n"},
    {"list", {"the addresses of a list, one per line"},
     "Prints the list's addresses, one per line, in stored order; --json prints them\n"
     "as a JSON array of strings.\n"
     "\nExamples:\n  qorcfg list denied\n  qorcfg list connect --json\n"},
    {"add", {"adds addresses to a list"},
     "Adds the addresses at the end of the list and saves. If any address is bad,\n"
     "nothing changes and every bad one is named. Addresses already listed are\n"
     "dropped and counted.\n"
     "\nExamples:\n  qorcfg add denied 203.0.113.7 198.51.100.0/24\n  qorcfg add connect 192.168.0.10\n"},
    {"remove", {"removes addresses from a list"},
     "Removes every entry equal to one of the addresses and saves. An address that is\n"
     "not listed is noted. If any address is bad, nothing changes.\n"
     "\nExamples:\n  qorcfg remove denied 203.0.113.7\n  qorcfg remove allowed 10.*.*.*\n"},
    {"import", {"adds the addresses of a text file to a list"},
     "Reads one address, prefix or range per line from FILE (- for standard input),\n"
     "in UTF-8 or, with its byte-order mark, UTF-16; blank lines and text after \"#\"\n"
     "or \";\" are ignored. Adds the addresses at the end of the list, or with\n"
     "--replace makes them the whole list, and saves. If any line is bad, nothing\n"
     "changes and every bad line is named by its number. Otherwise one line sums up\n"
     "what was added; -v also notes each prefix or range that took more than one\n"
     "entry and each address already listed.\n"
     "\nExamples:\n  qorcfg import denied blocklist.txt\n  qorcfg import allowed friends.txt --replace\n"},
    {"export", {"writes a list as text that import reads back"},
     "Writes the list's addresses one per line to FILE or standard output, exactly as\n"
     "import reads them.\n"
     "\nExamples:\n  qorcfg export denied bans.txt\n  qorcfg export allowed -\n"},
    {"set", {"sets fields by the names show prints"},
     "Sets one or more fields in one save. A FIELD is named as show prints it\n"
     "(screen_size, full_screen, bgm_volume, allowed_only, id, player1.input_method,\n"
     "player1.attack or player1.key_map.3, F1.text, F1.target, ...; case and - or _\n"
     "do not matter), and a VALUE is the stored number or the meaning show prints\n"
     "beside it (1024x768, on, keyboard, own team, KEY 4, \"slider at 8400 of\n"
     "10000\"). On/off fields also take yes/no/true/false in any case. Texts are at\n"
     "most 15 (id) or 40 (messages) bytes in CP932; a longer one is refused, not cut.\n"
     "A key slot given a button that another slot holds swaps the two, as the window\n"
     "does. A value outside its set is refused, naming the set, and nothing changes.\n"
     "'qorcfg help fields' lists every field, what it is and its values.\n"
     "\nExamples:\n  qorcfg set screen_size 1024x768 full_screen off\n"
     "  qorcfg set allowed_only yes id host01\n  qorcfg set player1.attack \"KEY 5\"\n"
     "  qorcfg set F1.text \"Good game\" F1.target team\n"},
    {"apply", {"sets every field a show --json document holds"},
     "Reads a JSON document of the shape show --json prints, whole or in part, and\n"
     "makes the file hold what it says: each option, allowed_only, the ID, the lists\n"
     "(each given list becomes the whole list), the input methods and key maps, and\n"
     "the messages' texts and targets. A {\"value\", \"meaning\"} pair may give either;\n"
     "given both, they must agree; an on/off value also takes true and false.\n"
     "\"file\", \"size\", \"version\", \"keys\", \"opaque_records\" and \"opaque_words\"\n"
     "describe the file and are not applied. A mistake is named by its line and\n"
     "column and its JSON path, and nothing changes. A document that changes nothing\n"
     "saves nothing. With --dry-run, prints what would change, as diff prints it, and\n"
     "changes nothing.\n"
     "\nExamples:\n  qorcfg show --json > pc01.json; qorcfg apply pc01.json\n"
     "  echo '{\"denied\": [\"10.0.0.0/8\"]}' | qorcfg apply --dry-run -\n"},
    {"diff", {"compares the file with its backup, another file or a document"},
     "Compares the file, field by field, with FILE (another configuration file, or a\n"
     "JSON document of the shape show --json prints), or with its backup (the file's\n"
     "name + .bak) when FILE is not given. A document compares as the file would be\n"
     "after 'qorcfg apply FILE'. Prints one line per differing field as\n"
     "\"FIELD: OTHER -> THIS\", and per list entry \"LIST: + ADDRESS\" (only in this file)\n"
     "or \"LIST: - ADDRESS\" (only in the other). Exit status 0 when they are the same,\n"
     "1 when they differ, 2 when either cannot be read. --json prints\n"
     "{\"same\": bool, \"fields\": [{\"field\", \"other\", \"this\"}], \"lists\": {...}}.\n"
     "\nExamples:\n  qorcfg diff\n  qorcfg diff pc01.json\n  qorcfg diff other-pc/GameConfig.dat --json\n"},
    {"init", {"writes a file with the defaults"},
     "Writes the file with the defaults, as the window creates a missing one. A file\n"
     "that exists is refused (exit status 1) unless --force is given; then it is\n"
     "replaced and kept as the backup (the file's name + .bak).\n"
     "\nExamples:\n  qorcfg init\n  qorcfg init --force\n"},
    {"restore", {"puts the backup (the file's name + .bak) back"},
     "Puts the backup that every save keeps (the file's name + .bak) back as the file,\n"
     "through the same safe save: the file it replaces becomes the new backup, so a\n"
     "second restore undoes the first. Exit status 2, with nothing changed, when there\n"
     "is no backup or it holds no configuration the tool reads.\n"
     "\nExamples:\n  qorcfg restore\n"},
    {"version", {"prints the release version"},
     "Prints \"qorcfg VERSION\", as --version and -V do.\n\nExamples:\n  qorcfg version\n"},
    {"completion", {"prints a bash completion script"},
     "Prints a completion script for bash, made from the command table: it completes\n"
     "commands, options, list names, file names where a file is expected, field names\n"
     "and, after a field, its values.\n"
     "\nExamples:\n  source <(qorcfg completion bash)\n"},
};

const CommandText* TextOf(std::string_view command) {
    for (const CommandText& text : kTexts)
        if (command == text.name) return &text;
    return nullptr;
}

}  // namespace

const char* CommandSummary(std::string_view command, int form) {
    const CommandText* text = TextOf(command);
    return text != nullptr ? text->summary[form] : nullptr;
}

const char* CommandHelp(std::string_view command) {
    const CommandText* text = TextOf(command);
    return text != nullptr ? text->help : "";
}

const char kUsageHead[] =
    "Usage: qorcfg [--file PATH] [-q|-v] COMMAND [ARGUMENTS]\n"
    "\n"
    "Reads and changes the game's configuration file as the configuration window does:\n"
    "Data/GameConfig.dat under the current directory, or PATH.\n"
    "\n"
    "Commands:\n";

const char kUsageTail[] =
    "\n"
    "LIST is denied, allowed or connect. A change that succeeds says what it changed in\n"
    "one line on standard error (standard output holds only data); -q keeps that line\n"
    "and the notes quiet, errors are still said; -v adds a note for each line of a\n"
    "list that was not taken as it stands.\n"
    "\n"
    "Exit status: 0 done (check: no finding; diff: no difference); 1 input refused,\n"
    "nothing changed (a value outside its set, a text too long, a bad address, an\n"
    "unknown field or list, a document with a wrong value), or check's findings and\n"
    "diff's differences; 2 trouble: a command line that cannot be parsed, a file or\n"
    "document that cannot be read at all, a write that failed; 75 try again later:\n"
    "another writer is saving the file, another program holds it or kept changing\n"
    "it, nothing changed.\n"
    "\n"
    "'qorcfg help COMMAND' describes one command; 'qorcfg help addresses' the address\n"
    "rules; 'qorcfg help fields' every field set takes.\n";

std::string AddressRulesText() {
    return "An address is a.b.c.d, each part 0 to 255 (leading zeros allowed). The denied\n"
           "and allowed lists also take \"*\" for a part that matches any value, any prefix\n"
           "a.b.c.d/N (0 to 32) and any range a.b.c.d-a.b.c.e, each expanded exactly into\n"
           "the list's patterns: /24 /16 /8 /0 leave whole parts open (10.1.0.0/16 is\n"
           "10.1.*.*), 1.10.16.0/20 becomes the 16 patterns 1.10.16.* to 1.10.31.*, and a\n"
           "prefix longer than /24 its single addresses. The connect-to list holds " +
           std::to_string(ListCapacity(AddressList::kConnect)) + " single\n"
           "addresses (or /32) and never 0.0.0.0. The denied and allowed lists hold " +
           std::to_string(ListCapacity(AddressList::kDenied)) + ".\n"
           "Adding an address already listed drops it.\n"
           "\nExamples:\n  qorcfg add denied 10.0.0.0/8 192.168.*.1 1.10.16.0/20\n"
           "  qorcfg add denied 203.0.113.10-203.0.113.20\n";
}

std::string FieldsHelpText() {
    std::string text = "The fields that show prints, set takes and diff names, with their place in the\n"
                       "JSON of show --json and apply, what each is, and its values:\n\n";
    for (const SchemaRow& row : SchemaRows())
        if (row.row == RowKind::kValue)
            text += "  " + (row.alias.empty() ? row.name : row.alias + ", " + row.name) + " ($." + row.path + "): " +
                    row.help + "\n      " + ValueSetText(row) + "\n";
    text += "\nThe lists, which add, remove, import, export and apply change:\n\n";
    for (const SchemaRow& row : SchemaRows())
        if (row.row == RowKind::kList) text += "  " + row.name + " ($." + row.path + "): " + row.help + "\n";
    return text + "\nExamples:\n  qorcfg set story_difficulty Hard\n  qorcfg set player1.attack \"KEY 5\"\n";
}
