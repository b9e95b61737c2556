// qorcfg: the command table that the usage text, the help, the command line, the
// completion script and the dispatch all read, and the session each command runs in.
#include "cli/qorcfg.h"

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/list_text.h"
#include "cli/suggest.h"
#include "cli/terminal_text.h"
#include "config/config_store.h"

namespace {

int VersionCommand(Session& s);
int CompletionCommand(Session& s);

const Option kOptions[] = {
    {"--json", nullptr, &CommandLine::json, {"show", "list", "check", "diff", "apply"}},
    {"--dry-run", nullptr, &CommandLine::dry_run, {"apply"}},
    {"--replace", nullptr, &CommandLine::replace, {"import"}},
    {"--force", nullptr, &CommandLine::force, {"init"}},
    {"--quiet", "-q", &CommandLine::quiet, {}},
    {"--verbose", "-v", &CommandLine::verbose, {}},
    {"--help", "-h", &CommandLine::help, {}},
    {"--version", "-V", &CommandLine::version, {}},
};

constexpr Takes kNone = Takes::kNothing;

const Command kCommands[] = {
    {"show", {"[--json]"}, {kNone, kNone}, false, false, ShowCommand},
    {"check", {"[--json]"}, {kNone, kNone}, false, false, CheckCommand},
    {"list", {"LIST [--json]"}, {Takes::kList, kNone}, true, false, ListCommand},
    {"add", {"LIST ADDRESS..."}, {Takes::kList, Takes::kAddress}, true, true, AddCommand},
    {"remove", {"LIST ADDRESS..."}, {Takes::kList, Takes::kAddress}, true, true, RemoveCommand},
    {"import", {"LIST FILE|- [--replace]"}, {Takes::kList, Takes::kFile}, true, true, ImportCommand},
    {"export", {"LIST [FILE|-]"}, {Takes::kList, Takes::kFile}, true, false, ExportCommand},
    {"set", {"FIELD VALUE [FIELD VALUE]..."}, {Takes::kFieldValue, Takes::kFieldValue}, false, true, SetCommand},
    {"apply", {"FILE|- [--dry-run [--json]]"}, {Takes::kFile, kNone}, true, true, ApplyCommand},
    {"diff", {"[FILE] [--json]"}, {Takes::kFile, kNone}, false, false, DiffCommand},
    {"init", {"[--force]"}, {kNone, kNone}, false, true, InitCommand},
    {"restore", {""}, {kNone, kNone}, false, true, RestoreCommand},
    {"version", {""}, {kNone, kNone}, false, false, VersionCommand},
    {"completion", {"bash"}, {Takes::kShell, kNone}, false, false, CompletionCommand},
};

std::string Owners(const Option& option) {
    std::string text;
    int count = 0;
    while (count < 5 && option.commands[count] != nullptr) ++count;
    for (int i = 0; i < count; ++i) text += (i == 0 ? "" : i + 1 == count ? " and " : ", ") + std::string(option.commands[i]);
    return text;
}

// "name arguments", or the name alone.
std::string Call(const Command& command, int form) {
    const char* arguments = command.forms[form];
    return std::string(command.name) + (*arguments != '\0' ? " " : "") + arguments;
}

std::string UsageText() {
    std::string text = kUsageHead;
    for (const Command& command : kCommands)
        for (int form = 0; form < 2 && command.forms[form] != nullptr; ++form) {
            std::string call = Call(command, form);
            call.append(call.size() < 32 ? 32 - call.size() : 1, ' ');
            text += "  " + call + CommandSummary(command.name, form) + "\n";
        }
    return text + kUsageTail;
}

std::string HelpText(const Command& command) {
    std::string text;
    for (int form = 0; form < 2 && command.forms[form] != nullptr; ++form)
        text += (text.empty() ? "Usage: qorcfg " : "       qorcfg ") + Call(command, form) + "\n";
    text += std::string("\n") + CommandHelp(command.name);
    if (command.address_rules) text += "\nAddresses and lists: see 'qorcfg help addresses'.\n";
    return text;
}

const Option* FindOption(std::string_view arg) {
    for (const Option& option : kOptions)
        if (arg == option.name || (option.short_name != nullptr && arg == option.short_name)) return &option;
    return nullptr;
}

// --file PATH or --file=PATH at argv[i]; false when the path is missing.
bool ReadFileOption(Session& s, int argc, std::string_view arg, int& i) {
    CommandLine& line = s.line;
    if (arg == "--file") {
        if (i + 1 >= argc) return false;
        line.file_index = ++i;
    } else {
        line.file_index = i;
        line.file_skip = 7;
    }
    line.file_given = true;
    return true;
}

bool UnknownOption(const Session& s, std::string_view arg) {
    std::vector<std::string> known = {"--file"};
    for (const Option& option : kOptions) {
        known.emplace_back(option.name);
        if (option.short_name != nullptr) known.emplace_back(option.short_name);
    }
    Usage(s, "unknown option " + PrintableLine(arg) + DidYouMean(arg, known));
    return false;
}

bool ParseCommandLine(Session& s, int argc, char** argv) {
    CommandLine& line = s.line;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // A value that starts with "-" (a volume, "-" for standard input) is an argument.
        const bool option = !options_end && arg.size() > 1 && arg[0] == '-' &&
                            !(!line.command.empty() && arg[1] >= '0' && arg[1] <= '9');
        if (option && arg == "--") {
            options_end = true;
        } else if (option && (arg == "--file" || arg.starts_with("--file="))) {
            if (!ReadFileOption(s, argc, arg, i)) return Usage(s, "--file needs a path"), false;
        } else if (option) {
            const Option* found = FindOption(arg);
            if (found == nullptr) return UnknownOption(s, arg);
            line.*found->given = true;
        } else if (line.command.empty()) {
            line.command = std::string(arg);
        } else {
            line.arguments.emplace_back(arg);
            line.argument_index.push_back(i);
        }
    }
    return true;
}

int Print(const Session& s, const std::string& text) { return WriteTerminalText(s.out, text) ? kStatusDone : kStatusFailed; }

int Help(const Session& s, const std::string& name) {
    if (name.empty()) return Print(s, UsageText());
    if (const Command* command = FindCommand(name)) return Print(s, HelpText(*command));
    if (name == "addresses") return Print(s, AddressRulesText());
    if (name == "fields") return Print(s, FieldsHelpText());
    const std::vector<std::string> topics = HelpTopicNames();
    std::string list;
    for (const std::string& topic : topics) list += (list.empty() ? "" : ", ") + topic;
    return Usage(s, "no help on " + PrintableLine(name) + DidYouMean(name, topics) + "; the topics are " + list);
}

int VersionCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "version takes no arguments");
    return Print(s, std::string("qorcfg ") + QOR_RELEASE_VERSION + "\n");
}

int CompletionCommand(Session& s) {
    if (s.line.arguments.size() != 1 || s.line.arguments[0] != "bash") return Usage(s, "completion takes one shell: bash");
    return Print(s, CompletionScript());
}

int Dispatch(Session& s) {
    const std::string& name = s.line.command;
    if (s.line.version) return VersionCommand(s);
    if (s.line.help || name == "help")
        return Help(s, name == "help" ? (s.line.arguments.empty() ? "" : s.line.arguments[0]) : name);
    if (name.empty()) return Usage(s, "no command given");
    const Command* command = FindCommand(name);
    if (command == nullptr) return Usage(s, "unknown command " + PrintableLine(name) + DidYouMean(name, CommandNames()));
    for (const Option& option : kOptions)
        if (s.line.*option.given && !OptionBelongs(option, name))
            return Usage(s, std::string(option.name) + " belongs to " + Owners(option));
    if (s.line.json && name == "apply" && !s.line.dry_run) return Usage(s, "apply prints JSON only with --dry-run");
    if (s.line.quiet && s.line.verbose) return Usage(s, "-q and -v cannot be given together");
    const int status = command->handler(s);
    if (status != kStatusDone || !command->changes_file || !s.change) return status;
    // A dry run reads the file as it is and saves nothing: it takes no lock.
    return s.line.dry_run ? s.change() : ReadModifyWrite(s, s.change);
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

std::span<const Option> Options() { return kOptions; }

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

std::vector<std::string> CommandNames() {
    std::vector<std::string> names = {"help"};
    for (const Command& command : kCommands) names.emplace_back(command.name);
    return names;
}

std::vector<std::string> HelpTopicNames() {
    std::vector<std::string> topics = CommandNames();
    topics.insert(topics.end(), {"addresses", "fields"});
    return topics;
}

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
    topics.push_back({"addresses", false, AddressRulesText()});
    topics.push_back({"fields", false, FieldsHelpText()});
    return topics;
}
