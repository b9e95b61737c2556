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
#include "cli/texts.h"
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
    {"show", {"[--json]"}, {kNone, kNone}, false, false, ShowCommand, CliText::kSummaryShow, CliText::kHelpShow},
    {"check", {"[--json]"}, {kNone, kNone}, false, false, CheckCommand, CliText::kSummaryCheck, CliText::kHelpCheck},
    {"list", {"LIST [--json]"}, {Takes::kList, kNone}, true, false, ListCommand, CliText::kSummaryList, CliText::kHelpList},
    {"add", {"LIST ADDRESS..."}, {Takes::kList, Takes::kAddress}, true, true, AddCommand, CliText::kSummaryAdd,
     CliText::kHelpAdd},
    {"remove", {"LIST ADDRESS..."}, {Takes::kList, Takes::kAddress}, true, true, RemoveCommand, CliText::kSummaryRemove,
     CliText::kHelpRemove},
    {"import", {"LIST FILE|- [--replace]"}, {Takes::kList, Takes::kFile}, true, true, ImportCommand,
     CliText::kSummaryImport, CliText::kHelpImport},
    {"export", {"LIST [FILE|-]"}, {Takes::kList, Takes::kFile}, true, false, ExportCommand, CliText::kSummaryExport,
     CliText::kHelpExport},
    {"set", {"FIELD VALUE [FIELD VALUE]..."}, {Takes::kFieldValue, Takes::kFieldValue}, false, true, SetCommand,
     CliText::kSummarySet, CliText::kHelpSet},
    {"apply", {"FILE|- [--dry-run [--json]]"}, {Takes::kFile, kNone}, true, true, ApplyCommand, CliText::kSummaryApply,
     CliText::kHelpApply},
    {"diff", {"[FILE] [--json]"}, {Takes::kFile, kNone}, false, false, DiffCommand, CliText::kSummaryDiff,
     CliText::kHelpDiff},
    {"init", {"[--force]"}, {kNone, kNone}, false, true, InitCommand, CliText::kSummaryInit, CliText::kHelpInit},
    {"restore", {""}, {kNone, kNone}, false, true, RestoreCommand, CliText::kSummaryRestore, CliText::kHelpRestore},
    {"version", {""}, {kNone, kNone}, false, false, VersionCommand, CliText::kSummaryVersion, CliText::kHelpVersion},
    {"completion", {"bash"}, {Takes::kShell, kNone}, false, false, CompletionCommand, CliText::kSummaryCompletion,
     CliText::kHelpCompletion},
};

std::string Owners(const Option& option) {
    std::vector<std::string> owners;
    for (const char* owner : option.commands)
        if (owner != nullptr) owners.emplace_back(owner);
    return Listing(owners);
}

// "name arguments", or the name alone.
std::string Call(const Command& command, int form) {
    const char* arguments = command.forms[form];
    return std::string(command.name) + (*arguments != '\0' ? " " : "") + arguments;
}

std::string UsageText(Language face) {
    std::string text = SayIn(face, CliText::kUsageHead);
    for (const Command& command : kCommands)
        for (int form = 0; form < 2 && command.forms[form] != nullptr; ++form) {
            std::string call = Call(command, form);
            call.append(call.size() < 32 ? 32 - call.size() : 1, ' ');
            // The summary belongs to the command's first form; a second form shares it.
            text += "  " + call + (form == 0 ? SayIn(face, command.summary) : std::string()) + "\n";
        }
    return text + SayIn(face, CliText::kUsageTail);
}

std::string HelpText(const Command& command, Language face) {
    std::string text;
    for (int form = 0; form < 2 && command.forms[form] != nullptr; ++form)
        text += SayIn(face, form == 0 ? CliText::kUsageFirst : CliText::kUsageMore, {Call(command, form)});
    text += "\n" + SayIn(face, command.help);
    if (command.address_rules) text += "\n" + SayIn(face, CliText::kSeeAddresses);
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
    Usage(s, Say(CliText::kUnknownOption, {PrintableLine(arg), DidYouMean(arg, known)}));
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
            if (!ReadFileOption(s, argc, arg, i)) return Usage(s, Say(CliText::kFileNeedsPath)), false;
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
    const Language face = CliFace();
    if (name.empty()) return Print(s, UsageText(face));
    if (const Command* command = FindCommand(name)) return Print(s, HelpText(*command, face));
    if (name == "addresses") return Print(s, AddressRulesText(face));
    if (name == "fields") return Print(s, FieldsHelpText(face));
    const std::vector<std::string> topics = HelpTopicNames();
    std::string list;
    for (const std::string& topic : topics) list += (list.empty() ? "" : Say(CliText::kJoinComma)) + topic;
    return Usage(s, Say(CliText::kNoHelpOn, {PrintableLine(name), DidYouMean(name, topics), list}));
}

int VersionCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, Say(CliText::kTakesNoArguments, {"version"}));
    return Print(s, std::string("qorcfg ") + QOR_RELEASE_VERSION + "\n");
}

int CompletionCommand(Session& s) {
    if (s.line.arguments.size() != 1 || s.line.arguments[0] != "bash") return Usage(s, Say(CliText::kCompletionShell));
    return Print(s, CompletionScript());
}

int Dispatch(Session& s) {
    const std::string& name = s.line.command;
    if (s.line.version) return VersionCommand(s);
    if (s.line.help || name == "help")
        return Help(s, name == "help" ? (s.line.arguments.empty() ? "" : s.line.arguments[0]) : name);
    if (name.empty()) return Usage(s, Say(CliText::kNoCommand));
    const Command* command = FindCommand(name);
    if (command == nullptr) return Usage(s, Say(CliText::kUnknownCommand, {PrintableLine(name), DidYouMean(name, CommandNames())}));
    for (const Option& option : kOptions)
        if (s.line.*option.given && !OptionBelongs(option, name))
            return Usage(s, Say(CliText::kOptionBelongs, {option.name, Owners(option)}));
    if (s.line.json && name == "apply" && !s.line.dry_run) return Usage(s, Say(CliText::kApplyJsonDryRun));
    if (s.line.quiet && s.line.verbose) return Usage(s, Say(CliText::kQuietAndVerbose));
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
    SetCliFace(SystemFace());
    Session session{out, err, argv, {}, {}, {}, {}, {}, nullptr, nullptr, {}};
    if (!ParseCommandLine(session, argc, argv)) return kStatusFailed;
    // The store reads and saves this file, with its temporary files and backup beside it.
    if (session.line.file_given) {
        std::string path;
        if (!PathArgument(argv, session.line.file_index, path)) {
            Message(session, Say(CliText::kFilePathNotNameable));
            return kStatusFailed;
        }
        session.path = path.substr(session.line.file_skip);
    } else {
        session.path = ConfigFilePath();
    }
    session.shown = PathText(session.path);
    return EndOfOutput(session, Dispatch(session));
}

std::vector<HelpTopic> HelpTopics(Language face) {
    std::vector<HelpTopic> topics = {{"", false, UsageText(face)}};
    for (const Command& command : kCommands) topics.push_back({command.name, true, HelpText(command, face)});
    topics.push_back({"addresses", false, AddressRulesText(face)});
    topics.push_back({"fields", false, FieldsHelpText(face)});
    return topics;
}
