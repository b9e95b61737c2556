// qorcfg: the command table that the usage text, the help, the command line and the
// dispatch all read, and the session each command runs in.
#include "cli/qorcfg.h"

#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/list_text.h"
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
    const char* option;       // the option that belongs to this command alone, if any,
    bool CommandLine::*option_given;  // and where the command line notes it
    bool address_rules;       // its help ends with the rules of address text
    bool changes_file;        // it may save the file: its change runs as a read-modify-write
    int (*handler)(Session&);
    const char* help;         // what --help says after the usage lines
};

const std::string kSetHelp =
    "allowed-only puts the allowed list to use (on) or not (off). id sets the\n"
    "connect-to ID: text of at most " + std::to_string(kConnectIdTextMax) + " bytes once written in the file's Japanese\n"
    "code page (CP932), without control characters.\n";

const Command kCommands[] = {
    {"show", {{"[--json]", "every field in readable form, or as JSON"}}, "--json", &CommandLine::json, false, false, ShowCommand,
     "Prints every field: version, options with their meaning, the connect-to ID and\n"
     "addresses, both pattern lists, allowed-only, each player's input method and key\n"
     "map, the eight function messages and the opaque records. --json prints the same\n"
     "as one JSON object in UTF-8 (see the README for its shape).\n"},
    {"check", {{"", "what the tool would do with the file"}}, nullptr, nullptr, false, false, CheckCommand,
     "Reads the file as the tool does and says what the tool would do with it: an\n"
     "older version migrated on the next save, a file shorter or longer than its\n"
     "layout, values outside their sets and how the window's next save stores them,\n"
     "texts without a NUL, duplicate entries, and so on. Exit status 0 without\n"
     "findings, 1 with findings, 2 when the file is missing, unreadable or newer.\n"},
    {"list", {{"denied|allowed|connect", "the addresses of a list, one per line"}}, nullptr, nullptr, true, false, ListCommand,
     "Prints the list's addresses, one per line, in stored order.\n"},
    {"add", {{"LIST ADDRESS...", "adds addresses to a list"}}, nullptr, nullptr, true, true, AddCommand,
     "Adds the addresses at the end of the list and saves. If any address is bad,\n"
     "nothing changes and every bad one is named.\n"},
    {"remove", {{"LIST ADDRESS...", "removes addresses from a list"}}, nullptr, nullptr, true, true, RemoveCommand,
     "Removes every entry equal to one of the addresses and saves. An address that is\n"
     "not listed is noted. If any address is bad, nothing changes.\n"},
    {"import", {{"LIST FILE|- [--replace]", "adds the addresses of a text file to a list"}}, "--replace", &CommandLine::replace, true, true,
     ImportCommand,
     "Reads one address per line from FILE (- for standard input); blank lines and\n"
     "text after \"#\" are ignored. Adds the addresses at the end of the list, or with\n"
     "--replace makes them the whole list, and saves. If any line is bad, nothing\n"
     "changes and every bad line is named by its number.\n"},
    {"export", {{"LIST [FILE|-]", "writes a list as text that import reads back"}}, nullptr, nullptr, true, false, ExportCommand,
     "Writes the list's addresses one per line to FILE or standard output, exactly as\n"
     "import reads them.\n"},
    {"set", {{"allowed-only on|off", "puts the allowed list to use, or not"}, {"id TEXT", "sets the connect-to ID"}},
     nullptr, nullptr, false, true, SetCommand, kSetHelp.c_str()},
    {"restore", {{"", "puts the backup (the file's name + .bak) back"}}, nullptr, nullptr, false, true, RestoreCommand,
     "Puts the backup that every save keeps (the file's name + .bak) back as the file,\n"
     "through the same safe save: the file it replaces becomes the new backup, so a\n"
     "second restore undoes the first. Exit status 2, with nothing changed, when there\n"
     "is no backup or it holds no configuration the tool reads.\n"},
};

const char kUsageHead[] =
    "Usage: qorcfg [--file PATH] COMMAND [ARGUMENTS]\n"
    "\n"
    "Reads and changes the game's configuration file as the configuration window does:\n"
    "Data/GameConfig.dat under the current directory, or PATH.\n"
    "\n"
    "Commands:\n";

const char kUsageTail[] =
    "\n"
    "LIST is denied, allowed or connect. Exit status: 0 done (check: no findings);\n"
    "1 findings (check) or input refused, nothing changed; 2 the file is missing,\n"
    "unreadable or of a newer version, a save failed, another program kept changing\n"
    "the file, there is no backup to restore, or the command line is wrong.\n"
    "'qorcfg COMMAND --help' describes one command.\n";

const std::string kAddressRules =
    "An address is a.b.c.d, each part 0 to 255 (leading zeros allowed). The denied\n"
    "and allowed lists also take \"*\" for a part that matches any value, and the\n"
    "prefixes /24 /16 /8 /0, which stand for \"*\" in the parts they leave open\n"
    "(10.1.0.0/16 is 10.1.*.*); /32 is the address itself. The connect-to list holds\n" +
    std::to_string(ListCapacity(AddressList::kConnect)) + " single addresses and never 0.0.0.0. The denied and allowed lists hold " +
    std::to_string(ListCapacity(AddressList::kDenied)) + ".\n"
    "Addresses already listed are dropped with a note.\n";

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
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
    if (command.address_rules) text += "\n" + kAddressRules;
    return text;
}

// Notes an option that belongs to one command; false when no command has it.
bool CommandOption(CommandLine& line, std::string_view arg) {
    for (const Command& command : kCommands)
        if (command.option != nullptr && arg == command.option) return line.*command.option_given = true;
    return false;
}

bool ParseCommandLine(Session& s, int argc, char** argv) {
    CommandLine& line = s.line;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!options_end && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                options_end = true;
            } else if (arg == "--file" || arg.starts_with("--file=")) {
                if (arg == "--file") {
                    if (i + 1 >= argc) return Usage(s, "--file needs a path"), false;
                    line.file_index = ++i;
                } else {
                    line.file_index = i;
                    line.file_skip = 7;
                }
                line.file_given = true;
            } else if (arg == "--help" || arg == "-h") {
                line.help = true;
            } else if (!CommandOption(line, arg)) {
                return Usage(s, "unknown option " + PrintableLine(arg)), false;
            }
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
    if (const Command* command = FindCommand(name)) {
        WriteTerminalText(s.out, HelpText(*command));
        return kStatusDone;
    }
    WriteTerminalText(s.out, UsageText() + "\n" + kAddressRules);
    return name.empty() ? kStatusDone : kStatusFailed;
}

int Dispatch(Session& s) {
    const std::string& name = s.line.command;
    if (s.line.help || name == "help")
        return Help(s, name == "help" ? (s.line.arguments.empty() ? "" : s.line.arguments[0]) : name);
    if (name.empty()) return Usage(s, "no command given");
    for (const Command& owner : kCommands) {
        if (owner.option == nullptr || owner.name == name) continue;
        if (s.line.*owner.option_given) return Usage(s, std::string(owner.option) + " belongs to " + owner.name);
    }
    const Command* command = FindCommand(name);
    if (command == nullptr) return Usage(s, "unknown command " + PrintableLine(name));
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
    const int status = Dispatch(session);
    std::fflush(out);
    return status;
}
