// qorcfg: the command table that the usage text, the help, the command line, the
// completion script and the dispatch all read, and the session each command runs in.
#include "cli/qorcfg.h"

#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/config_items.h"
#include "cli/list_text.h"
#include "cli/suggest.h"
#include "cli/terminal_text.h"
#include "model/address_lists.h"
#include "model/address_text.h"
#include "config/config_store.h"

namespace {

// One way of calling a command: its arguments and what it does, in a line.
struct CommandForm {
    const char* arguments;
    const char* summary;
};

struct Command {
    const char* name;
    CommandForm forms[2];     // the second is for a command called two ways
    bool address_rules;       // it reads addresses: its help points to 'help addresses'
    bool changes_file;        // it may save the file: its change runs as a read-modify-write
    int (*handler)(Session&);
    const char* help;         // what --help says after the usage lines, examples last
};

// An option of the command line, with the commands it belongs to (none: every command).
struct Option {
    const char* name;
    const char* short_name;
    bool CommandLine::*given;
    const char* commands[5];
};

const Option kOptions[] = {
    {"--json", nullptr, &CommandLine::json, {"show", "list", "check", "diff"}},
    {"--replace", nullptr, &CommandLine::replace, {"import"}},
    {"--force", nullptr, &CommandLine::force, {"init"}},
    {"--quiet", "-q", &CommandLine::quiet, {}},
    {"--help", "-h", &CommandLine::help, {}},
    {"--version", "-V", &CommandLine::version, {}},
};

int VersionCommand(Session& s);
int CompletionCommand(Session& s);

const Command kCommands[] = {
    {"show", {{"[--json]", "every field in readable form, or as JSON"}}, false, false, ShowCommand,
     "Prints every field: version, options with their meaning, the connect-to ID and\n"
     "addresses, both pattern lists, allowed-only, each player's input method and key\n"
     "map, the eight function messages and the opaque records. --json prints the same\n"
     "as one JSON object in UTF-8, which 'qorcfg apply' reads back.\n"
     "\nExamples:\n  qorcfg show\n  qorcfg show --json > settings.json\n"},
    {"check", {{"[--json]", "what the tool would do with the file"}}, false, false, CheckCommand,
     "Reads the file as the tool does and says what the tool would do with it: an\n"
     "older version migrated on the next save, a file shorter or longer than its\n"
     "layout, values outside their sets and how the window's next save stores them,\n"
     "texts without a NUL, duplicate entries, and so on. Exit status 0 without\n"
     "findings, 1 with findings, 2 when the file is missing, unreadable or newer.\n"
     "--json prints {\"file\", \"version\", \"size\", \"findings\": [...]}.\n"
     "\nExamples:\n  qorcfg check\n  qorcfg check --json\n"},
    {"list", {{"LIST [--json]", "the addresses of a list, one per line"}}, true, false, ListCommand,
     "Prints the list's addresses, one per line, in stored order; --json prints them\n"
     "as a JSON array of strings.\n"
     "\nExamples:\n  qorcfg list denied\n  qorcfg list connect --json\n"},
    {"add", {{"LIST ADDRESS...", "adds addresses to a list"}}, true, true, AddCommand,
     "Adds the addresses at the end of the list and saves. If any address is bad,\n"
     "nothing changes and every bad one is named. Addresses already listed are\n"
     "dropped with a note.\n"
     "\nExamples:\n  qorcfg add denied 203.0.113.7 198.51.100.0/24\n  qorcfg add connect 192.168.0.10\n"},
    {"remove", {{"LIST ADDRESS...", "removes addresses from a list"}}, true, true, RemoveCommand,
     "Removes every entry equal to one of the addresses and saves. An address that is\n"
     "not listed is noted. If any address is bad, nothing changes.\n"
     "\nExamples:\n  qorcfg remove denied 203.0.113.7\n  qorcfg remove allowed 10.*.*.*\n"},
    {"import", {{"LIST FILE|- [--replace]", "adds the addresses of a text file to a list"}}, true, true,
     ImportCommand,
     "Reads one address, prefix or range per line from FILE (- for standard input),\n"
     "in UTF-8 or, with its byte-order mark, UTF-16; blank lines and text after \"#\"\n"
     "or \";\" are ignored. Adds the addresses at the end of the list, or with\n"
     "--replace makes them the whole list, and saves. A prefix or range that takes\n"
     "more than one entry is noted with its count. If any line is bad, nothing\n"
     "changes and every bad line is named by its number.\n"
     "\nExamples:\n  qorcfg import denied blocklist.txt\n  qorcfg import allowed friends.txt --replace\n"},
    {"export", {{"LIST [FILE|-]", "writes a list as text that import reads back"}}, true, false, ExportCommand,
     "Writes the list's addresses one per line to FILE or standard output, exactly as\n"
     "import reads them.\n"
     "\nExamples:\n  qorcfg export denied bans.txt\n  qorcfg export allowed -\n"},
    {"set", {{"FIELD VALUE [FIELD VALUE]...", "sets fields by the names show prints"}}, false, true, SetCommand,
     "Sets one or more fields in one save. A FIELD is named as show prints it\n"
     "(screen_size, full_screen, bgm_volume, allowed-only, id, player1.input_method,\n"
     "player2.key_map.3, F1.text, F1.target, ...; case and - or _ do not matter), and\n"
     "a VALUE is the stored number or the meaning show prints for it (1024x768, on,\n"
     "keyboard, team, KEY 4, \"slider at 8400 of 10000\"). On/off fields also take\n"
     "yes/no/true/false/1/0 in any case. Texts are at most 15 (id) or 40 (messages)\n"
     "bytes in CP932; a longer one is refused, not cut. A key slot given a button that\n"
     "another slot holds swaps the two, as the window does. A value outside its set is\n"
     "refused, naming the set, and nothing changes. 'qorcfg help fields' lists them all.\n"
     "\nExamples:\n  qorcfg set screen_size 1024x768 full_screen off\n"
     "  qorcfg set allowed-only yes id host01\n  qorcfg set F1.text \"Good game\" F1.target team\n"},
    {"apply", {{"FILE|-", "sets every field a show --json document holds"}}, true, true, ApplyCommand,
     "Reads a JSON document of the shape show --json prints, whole or in part, and\n"
     "makes the file hold what it says: each option, allowed-only, the ID, the lists\n"
     "(each given list becomes the whole list), the input methods and key maps, and\n"
     "the messages' texts and targets. A {\"value\", \"meaning\"} pair may give either;\n"
     "given both, they must agree. \"file\", \"size\", \"version\", \"keys\",\n"
     "\"opaque_records\" and \"opaque_words\" describe the file and are not applied.\n"
     "An unknown member, or a value of the wrong type or outside its set, is refused\n"
     "with its JSON path and nothing changes. A document that changes nothing saves\n"
     "nothing.\n"
     "\nExamples:\n  qorcfg show --json > pc01.json; qorcfg apply pc01.json\n"
     "  echo '{\"options\": {\"full_screen\": {\"value\": 1}}}' | qorcfg apply -\n"},
    {"diff", {{"[FILE] [--json]", "compares the file with its backup or another file"}}, false, false, DiffCommand,
     "Compares the file, field by field, with FILE, or with its backup (the file's\n"
     "name + .bak) when FILE is not given. Prints one line per differing field as\n"
     "\"FIELD: OTHER -> THIS\", and per list entry \"LIST: + ADDRESS\" (only in this file)\n"
     "or \"LIST: - ADDRESS\" (only in the other). Exit status 0 when they are the same,\n"
     "1 when they differ, 2 when either cannot be read. --json prints\n"
     "{\"same\": bool, \"fields\": [{\"field\", \"other\", \"this\"}], \"lists\": {...}}.\n"
     "\nExamples:\n  qorcfg diff\n  qorcfg diff other-pc/GameConfig.dat --json\n"},
    {"init", {{"[--force]", "writes a file with the defaults"}}, false, true, InitCommand,
     "Writes the file with the defaults, as the window creates a missing one. A file\n"
     "that exists is refused (exit status 1) unless --force is given; then it is\n"
     "replaced and kept as the backup (the file's name + .bak).\n"
     "\nExamples:\n  qorcfg init\n  qorcfg init --force\n"},
    {"restore", {{"", "puts the backup (the file's name + .bak) back"}}, false, true, RestoreCommand,
     "Puts the backup that every save keeps (the file's name + .bak) back as the file,\n"
     "through the same safe save: the file it replaces becomes the new backup, so a\n"
     "second restore undoes the first. Exit status 2, with nothing changed, when there\n"
     "is no backup or it holds no configuration the tool reads.\n"
     "\nExamples:\n  qorcfg restore\n"},
    {"version", {{"", "prints the release version"}}, false, false, VersionCommand,
     "Prints \"qorcfg VERSION\", as --version and -V do.\n\nExamples:\n  qorcfg version\n"},
    {"completion", {{"bash", "prints a bash completion script"}}, false, false, CompletionCommand,
     "Prints a completion script for bash, made from the command table.\n"
     "\nExamples:\n  source <(qorcfg completion bash)\n"},
};

const char kUsageHead[] =
    "Usage: qorcfg [--file PATH] [-q] COMMAND [ARGUMENTS]\n"
    "\n"
    "Reads and changes the game's configuration file as the configuration window does:\n"
    "Data/GameConfig.dat under the current directory, or PATH.\n"
    "\n"
    "Commands:\n";

const char kUsageTail[] =
    "\n"
    "LIST is denied, allowed or connect. A change that succeeds says what it changed in\n"
    "one line on standard error (standard output holds only data); -q keeps that line\n"
    "and the notes quiet, errors are still said.\n"
    "\n"
    "Exit status: 0 done (check: no findings; diff: the same); 1 findings (check),\n"
    "differences (diff), or input refused, nothing changed; 75 try again later:\n"
    "another writer is saving the file, another program holds it or kept changing\n"
    "it, nothing changed; 2 every other failure: the file is missing, unreadable,\n"
    "no file (a folder, a device, a pipe) or of a newer version, a save failed,\n"
    "there is no backup to restore, or the command line is wrong.\n"
    "\n"
    "'qorcfg help COMMAND' describes one command; 'qorcfg help addresses' the address\n"
    "rules; 'qorcfg help fields' every field set takes.\n";

const std::string kAddressRules =
    "An address is a.b.c.d, each part 0 to 255 (leading zeros allowed). The denied\n"
    "and allowed lists also take \"*\" for a part that matches any value, any prefix\n"
    "a.b.c.d/N (0 to 32) and any range a.b.c.d-a.b.c.e, each expanded exactly into\n"
    "the list's patterns: /24 /16 /8 /0 leave whole parts open (10.1.0.0/16 is\n"
    "10.1.*.*), 1.10.16.0/20 becomes the 16 patterns 1.10.16.* to 1.10.31.*, and a\n"
    "prefix longer than /24 its single addresses. The connect-to list holds " +
    std::to_string(ListCapacity(AddressList::kConnect)) + " single\n"
    "addresses (or /32) and never 0.0.0.0. The denied and allowed lists hold " +
    std::to_string(ListCapacity(AddressList::kDenied)) + ".\n"
    "Adding an address already listed drops it with a note.\n"
    "\nExamples:\n  qorcfg add denied 10.0.0.0/8 192.168.*.1 1.10.16.0/20\n"
    "  qorcfg add denied 203.0.113.10-203.0.113.20\n";

std::string FieldsHelp() {
    std::string text = "The fields that set takes and diff names, with their values:\n\n";
    for (const ConfigItem& item : ConfigItems()) text += "  " + item.name + ": " + ItemValueSet(item) + "\n";
    return text + "\nExamples:\n  qorcfg set story_difficulty Hard\n  qorcfg set player1.key_map.3 \"KEY 5\"\n";
}

std::vector<std::string> CommandNames() {
    std::vector<std::string> names = {"help"};
    for (const Command& command : kCommands) names.emplace_back(command.name);
    return names;
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

bool OptionBelongs(const Option& option, std::string_view command) {
    if (option.commands[0] == nullptr) return true;
    for (const char* owner : option.commands)
        if (owner != nullptr && command == owner) return true;
    return false;
}

std::string Owners(const Option& option) {
    std::string text;
    int count = 0;
    while (count < 5 && option.commands[count] != nullptr) ++count;
    for (int i = 0; i < count; ++i) text += (i == 0 ? "" : i + 1 == count ? " and " : ", ") + std::string(option.commands[i]);
    return text;
}

// "name arguments", or the name alone.
std::string Call(const Command& command, const CommandForm& form) {
    return std::string(command.name) + (*form.arguments != '\0' ? " " : "") + form.arguments;
}

std::string UsageText() {
    std::string text = kUsageHead;
    for (const Command& command : kCommands)
        for (const CommandForm& form : command.forms) {
            if (form.summary == nullptr) continue;
            std::string call = Call(command, form);
            call.append(call.size() < 32 ? 32 - call.size() : 1, ' ');
            text += "  " + call + form.summary + "\n";
        }
    return text + kUsageTail;
}

std::string HelpText(const Command& command) {
    std::string text;
    for (const CommandForm& form : command.forms)
        if (form.summary != nullptr) text += (text.empty() ? "Usage: qorcfg " : "       qorcfg ") + Call(command, form) + "\n";
    text += std::string("\n") + command.help;
    if (command.address_rules) text += "\nAddresses and lists: see 'qorcfg help addresses'.\n";
    return text;
}

bool ParseCommandLine(Session& s, int argc, char** argv) {
    CommandLine& line = s.line;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!options_end && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                options_end = true;
                continue;
            }
            if (arg == "--file" || arg.starts_with("--file=")) {
                if (arg == "--file") {
                    if (i + 1 >= argc) return Usage(s, "--file needs a path"), false;
                    line.file_index = ++i;
                } else {
                    line.file_index = i;
                    line.file_skip = 7;
                }
                line.file_given = true;
                continue;
            }
            const Option* found = nullptr;
            for (const Option& option : kOptions)
                if (arg == option.name || (option.short_name != nullptr && arg == option.short_name)) found = &option;
            if (found == nullptr) {
                // A value that starts with "-" (a volume, "-" for standard input) is an argument.
                if (!line.command.empty() && (arg[1] == '-' ? false : (arg[1] >= '0' && arg[1] <= '9'))) {
                    line.arguments.emplace_back(arg);
                    line.argument_index.push_back(i);
                    continue;
                }
                std::vector<std::string> known = {"--file"};
                for (const Option& option : kOptions) {
                    known.emplace_back(option.name);
                    if (option.short_name != nullptr) known.emplace_back(option.short_name);
                }
                return Usage(s, "unknown option " + PrintableLine(arg) + DidYouMean(arg, known)), false;
            }
            line.*found->given = true;
            continue;
        }
        if (line.command.empty()) {
            line.command = std::string(arg);
        } else {
            line.arguments.emplace_back(arg);
            line.argument_index.push_back(i);
        }
    }
    return true;
}

int Help(const Session& s, const std::string& name) {
    if (name.empty()) return WriteTerminalText(s.out, UsageText()), kStatusDone;
    if (const Command* command = FindCommand(name)) return WriteTerminalText(s.out, HelpText(*command)), kStatusDone;
    if (name == "addresses") return WriteTerminalText(s.out, kAddressRules), kStatusDone;
    if (name == "fields") return WriteTerminalText(s.out, FieldsHelp()), kStatusDone;
    std::vector<std::string> topics = CommandNames();
    topics.insert(topics.end(), {"addresses", "fields"});
    std::string list;
    for (const std::string& topic : topics) list += (list.empty() ? "" : ", ") + topic;
    Message(s, "no help on " + PrintableLine(name) + DidYouMean(name, topics) + "; the topics are " + list);
    return kStatusFailed;
}

int VersionCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "version takes no arguments");
    WriteTerminalText(s.out, std::string("qorcfg ") + QOR_RELEASE_VERSION + "\n");
    return kStatusDone;
}

std::string Words(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

int CompletionCommand(Session& s) {
    if (s.line.arguments.size() != 1 || s.line.arguments[0] != "bash")
        return Usage(s, "completion takes one shell: bash");
    std::vector<std::string> global = {"--file"};
    for (const Option& option : kOptions)
        if (option.commands[0] == nullptr) global.emplace_back(option.name);
    std::vector<std::string> fields;
    for (const ConfigItem& item : ConfigItems()) fields.push_back(item.name);
    std::vector<std::string> topics = CommandNames();
    topics.insert(topics.end(), {"addresses", "fields"});
    std::string script =
        "# bash completion for qorcfg: source <(qorcfg completion bash)\n"
        "_qorcfg() {\n"
        "  local cur=${COMP_WORDS[COMP_CWORD]} cmd= i words\n"
        "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "    case ${COMP_WORDS[i]} in --file) ((i++)) ;; -*) ;; *) cmd=${COMP_WORDS[i]}; break ;; esac\n"
        "  done\n"
        "  [ \"${COMP_WORDS[COMP_CWORD-1]}\" = --file ] && { COMPREPLY=($(compgen -f -- \"$cur\")); return; }\n"
        "  case $cmd in\n"
        "    '') words='" + Words(CommandNames()) + " " + Words(global) + "' ;;\n";
    for (const Command& command : kCommands) {
        std::vector<std::string> words;
        if (command.address_rules && std::string_view(command.name) != "apply") words = {"denied", "allowed", "connect"};
        if (std::string_view(command.name) == "set") words = fields;
        if (std::string_view(command.name) == "completion") words = {"bash"};
        for (const Option& option : kOptions)
            if (option.commands[0] != nullptr && OptionBelongs(option, command.name)) words.emplace_back(option.name);
        script += std::string("    ") + command.name + ") words='" + Words(words) + "' ;;\n";
    }
    script += "    help) words='" + Words(topics) + "' ;;\n"
              "  esac\n"
              "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
              "}\n"
              "complete -o default -F _qorcfg qorcfg\n";
    WriteTerminalText(s.out, script);
    return kStatusDone;
}

int Dispatch(Session& s) {
    const std::string& name = s.line.command;
    if (s.line.version) {
        WriteTerminalText(s.out, std::string("qorcfg ") + QOR_RELEASE_VERSION + "\n");
        return kStatusDone;
    }
    if (s.line.help || name == "help")
        return Help(s, name == "help" ? (s.line.arguments.empty() ? "" : s.line.arguments[0]) : name);
    if (name.empty()) return Usage(s, "no command given");
    const Command* command = FindCommand(name);
    if (command == nullptr) return Usage(s, "unknown command " + PrintableLine(name) + DidYouMean(name, CommandNames()));
    for (const Option& option : kOptions)
        if (s.line.*option.given && !OptionBelongs(option, name))
            return Usage(s, std::string(option.name) + " belongs to " + Owners(option));
    const int status = command->handler(s);
    if (status != kStatusDone || !command->changes_file || !s.change) return status;
    return ReadModifyWrite(s, s.change);
}

}  // namespace

int RunQorcfg(int argc, char** argv, std::FILE* out, std::FILE* err) {
    Session session{out, err, argv, {}, {}, {}, {}, {}, nullptr, nullptr, {}};
    if (!ParseCommandLine(session, argc, argv)) return kStatusFailed;
    // The store reads and saves this file, with its temporary files and backup beside it.
    if (session.line.file_given) {
        std::string path;
        if (!PathArgument(argv, session.line.file_index, path)) {
            Message(session, "the path after --file holds a character that cannot be named in a file path here");
            return kStatusFailed;
        }
        session.path = path.substr(session.line.file_skip);
    } else {
        session.path = ConfigFilePath();
    }
    session.shown = PathText(session.path);
    return EndOfOutput(session, Dispatch(session));
}

std::vector<HelpTopic> HelpTopics() {
    std::vector<HelpTopic> topics = {{"", false, UsageText()}};
    for (const Command& command : kCommands) topics.push_back({command.name, true, HelpText(command)});
    topics.push_back({"addresses", false, kAddressRules});
    topics.push_back({"fields", false, FieldsHelp()});
    return topics;
}
