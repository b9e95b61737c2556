// The commands on the address lists: list, export, add, remove and import.
#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/commands.h"
#include "cli/input_file.h"
#include "cli/json_writer.h"
#include "cli/list_text.h"
#include "cli/suggest.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"
#include "model/address_lists.h"

namespace {

// The configuration file and its backup are never a list's text file: an export would
// write text over the settings, an import read binary as addresses.
int RefuseConfigurationAsText(const Session& s, const std::string& text_file) {
    const std::string backup = s.path + ".bak";
    for (const std::string* file : {&s.path, &backup}) {
        if (!SameFile(text_file.c_str(), file->c_str())) continue;
        Message(s, Say(file == &backup ? CliText::kIsConfigurationBackup : CliText::kIsConfigurationFile,
                       {PathText(text_file)}));
        return kStatusFailed;
    }
    return kStatusDone;
}

// The list named first: kStatusDone, or the status to exit with after saying why (a
// list that is not there is a mistake of the command line; an unknown one, refused).
int ListArgument(Session& s, AddressList& list) {
    if (s.line.arguments.empty()) return Usage(s, Say(CliText::kNeedsList, {s.line.command}));
    if (ParseListName(s.line.arguments[0], list)) return kStatusDone;
    const std::vector<std::string> names = {"denied", "allowed", "connect"};
    Message(s, Say(CliText::kNoSuchList, {PrintableLine(s.line.arguments[0]), DidYouMean(s.line.arguments[0], names)}));
    return kStatusRefused;
}

std::string AddressText(const AddressPattern& p) {
    return FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3]);
}

// A list as messages name it: "denied" in the English face, the window's word in another.
std::string ListWord(AddressList list) {
    return FaceWord(ListName(list), CliText::kListConnect, CliText::kListDenied, CliFace());
}

}  // namespace

int ReadInputArgument(Session& s, std::size_t argument, std::string& source, FileBytes& input) {
    const bool from_stdin = s.line.arguments[argument] == "-";
    std::string path;
    if (!from_stdin && !PathArgument(s.argv, s.line.argument_index[argument], path))
        return Usage(s, Say(CliText::kArgumentPathNotNameable));
    // "stdin" as a file's name: apply --dry-run --json names its source so.
    source = from_stdin ? "stdin" : PathText(path);
    if (!from_stdin) {
        if (int status = RefuseConfigurationAsText(s, path)) return status;
        if (const FileProblem problem = ProblemAt(path.c_str());
            problem == FileProblem::kFolder || problem == FileProblem::kDevice || problem == FileProblem::kPipe) {
            Message(s, Say(problem == FileProblem::kPipe ? CliText::kPipeNothingChanged : CliText::kProblemNothingChanged,
                           {source, ProblemText(problem)}));
            return kStatusFailed;
        }
    }
    int error_number = 0;
    const FileReadStatus read =
        from_stdin ? ReadStandardInput(input, error_number) : ReadInputFile(path.c_str(), input, error_number);
    if (read == FileReadStatus::kOk) return kStatusDone;
    Message(s, Say(CliText::kCannotBeReadNamed,
                   {source, read == FileReadStatus::kOutOfMemory ? Say(CliText::kProblemNoMemory) : ErrorText(error_number)}));
    return kStatusFailed;
}

int ListCommand(Session& s) {
    AddressList list;
    if (int status = ListArgument(s, list)) return status;
    if (s.line.arguments.size() != 1) return Usage(s, Say(CliText::kListTakesOne));
    if (int status = LoadConfiguration(s, false)) return status;
    if (s.line.json) {
        // One JSON array of address strings, one a line.
        JsonOut json;
        json.AddressArray(ListEntries(game_config, list), 0);
        return WriteTerminalText(s.out, json.Text(), true) ? kStatusDone : kStatusFailed;
    }
    return WriteTerminalText(s.out, ListText(ListEntries(game_config, list))) ? kStatusDone : kStatusFailed;
}

int ExportCommand(Session& s) {
    AddressList list;
    if (int status = ListArgument(s, list)) return status;
    if (s.line.arguments.size() > 2) return Usage(s, Say(CliText::kExportArguments));
    if (int status = LoadConfiguration(s, false)) return status;
    const std::string text = ListText(ListEntries(game_config, list));
    if (s.line.arguments.size() < 2 || s.line.arguments[1] == "-")
        return std::fwrite(text.data(), 1, text.size(), s.out) == text.size() ? kStatusDone : kStatusFailed;
    std::string target;
    if (!PathArgument(s.argv, s.line.argument_index[1], target)) return Usage(s, Say(CliText::kArgumentPathNotNameable));
    if (int status = RefuseConfigurationAsText(s, target)) return status;
    errno = 0;
    std::FILE* file = OpenPathForWriting(target);
    bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int error_number = errno;
    if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        Message(s, Say(CliText::kCannotBeWritten, {PathText(target), ErrorText(error_number)}));
        return kStatusFailed;
    }
    return kStatusDone;
}

namespace {

// Where addresses come from, for messages: a file's lines or the command's arguments.
struct Source {
    std::string name;         // the file, or empty for the command line
    std::size_t expanded = 0;  // the lines that stood for more than one entry
    std::string Where(std::size_t number) const {
        return name.empty() ? Say(CliText::kArgumentNumber, {number}) : name + ":" + std::to_string(number);
    }
};

// A note of one line that was not taken as it stands: said only with -v, since a list
// may hold thousands of them and the line a change ends with counts them.
void Detail(const Session& s, const std::string& text) {
    if (s.line.verbose) Note(s, text);
}

// Reads every line of `text`, numbering from `first`, after the addresses already in
// `incoming`; names every bad line and returns false when there was any.
bool ReadLines(const Session& s, std::string_view text, AddressList list, Source& source, std::size_t first,
               ListTextRead& incoming) {
    ReadListText(text, list, first, incoming);
    for (const ListTextRead::Bad& bad : incoming.bad)
        Message(s, source.Where(bad.number) + ": \"" + PrintableLine(bad.line) + "\": " + bad.error);
    const bool all_good = incoming.bad.empty();
    if (all_good)
        for (const ListTextRead::Expanded& line : incoming.expanded)
            Detail(s, Say(CliText::kBecameEntries, {source.Where(line.number), PrintableLine(line.line), line.entries}));
    source.expanded += incoming.expanded.size();
    incoming.bad.clear();  // they point into `text`
    incoming.expanded.clear();
    return all_good;
}

// Names the line at which the list runs out of room, with the entries it would take:
// a prefix or range stands for up to thousands of entries, so the total alone would
// not tell which line to cut. Entries already listed take no room.
void NameTheLineWithoutRoom(const Session& s, AddressList list, const ListTextRead& incoming,
                            const std::vector<bool>& dropped_at, std::size_t room, const Source& source) {
    std::size_t taken = 0;
    for (std::size_t i = 0; i < incoming.addresses.size();) {
        const std::size_t line = incoming.NumberOf(i);
        std::size_t entries = 0;
        for (; i < incoming.addresses.size() && incoming.NumberOf(i) == line; ++i) entries += dropped_at[i] ? 0 : 1;
        if (taken + entries > room) {
            if (entries == 1)
                Message(s, Say(CliText::kWouldTakeEntry, {source.Where(line), ListWord(list), room - taken}));
            else
                Message(s, Say(CliText::kWouldTakeEntries, {source.Where(line), entries, ListWord(list), room - taken}));
            return;
        }
        taken += entries;
    }
}

// Appends the new addresses (or, with `replace`, makes them the list), dropping those
// already listed. The connect-to table keeps its slots: new addresses go into the
// empty ones in slot order.
int AddAddresses(Session& s, AddressList list, const ListTextRead& incoming, const Source& source, bool replace) {
    const std::vector<AddressPattern> old = ListEntries(game_config, list);
    const std::vector<AddressPattern> none;
    const std::vector<AddressPattern>& kept = replace ? none : old;
    std::vector<bool> dropped_at(incoming.addresses.size(), false);
    std::vector<AddressPattern> added = NewEntries(kept, incoming.addresses, [&](std::size_t i, std::size_t first) {
        dropped_at[i] = true;
        const std::string where = source.Where(incoming.NumberOf(i)), address = AddressText(incoming.addresses[i]);
        Detail(s, first == kAlreadyListed ? Say(CliText::kAlreadyListedInFile, {where, address})
                                          : Say(CliText::kAlreadyListedAt, {where, address, source.Where(incoming.NumberOf(first))}));
    });
    const std::size_t total = kept.size() + added.size();
    if (total > ListCapacity(list)) {
        NameTheLineWithoutRoom(s, list, incoming, dropped_at, ListCapacity(list) - std::min(kept.size(), ListCapacity(list)),
                               source);
        Message(s, Say(CliText::kWouldHold, {ListWord(list), total, ListCapacity(list)}));
        return kStatusRefused;
    }
    const std::size_t dropped = incoming.addresses.size() - added.size();
    const std::string name = ListName(list);
    std::string said;
    if (replace) {
        said = dropped != 0 ? Say(CliText::kReplacedByDropped, {name, added.size(), dropped})
                            : Say(CliText::kReplacedBy, {name, added.size()});
        // The connect-to table may also have gaps that the replacement closes.
        if (list != AddressList::kConnect && SamePatterns(old, added)) {
            Note(s, Say(CliText::kAlreadyHoldsEntries, {name, added.size()}));
            return kStatusDone;
        }
        StoreEntries(game_config, list, std::move(added));
    } else {
        said = Say(CliText::kAddedCounts, {name, added.size(), dropped});
        if (source.expanded != 0)
            said = source.expanded == 1 ? Say(CliText::kExpandedLine, {said})
                                        : Say(CliText::kExpandedLines, {said, source.expanded});
        if (added.empty()) {
            Note(s, Say(CliText::kNothingToSaveAfter, {said}));
            return kStatusDone;
        }
        AppendEntries(game_config, list, std::move(added));
    }
    const int status = Save(s);
    if (status == kStatusDone) Note(s, Say(CliText::kSavedAfter, {said}));
    return status;
}

// The list and the addresses given on the command line after it, numbered by their
// place; kStatusDone, or the status to exit with when they are missing or bad.
int ReadArguments(Session& s, AddressList& list, ListTextRead& incoming, Source& arguments) {
    if (int status = ListArgument(s, list)) return status;
    if (s.line.arguments.size() < 2) return Usage(s, Say(CliText::kNeedsAddress, {s.line.command}));
    bool good = true;
    for (std::size_t i = 1; i < s.line.arguments.size(); ++i) {
        const std::size_t before = incoming.addresses.size();
        const bool read = ReadLines(s, s.line.arguments[i], list, arguments, i + 1, incoming);
        // Blank text or a comment alone is no address: taken silently, it would make the
        // command succeed without doing what it was asked.
        if (read && incoming.addresses.size() == before)
            Message(s, Say(CliText::kNoAddressGiven, {Source{}.Where(i + 1), PrintableLine(s.line.arguments[i])}));
        good = read && incoming.addresses.size() != before && good;
    }
    if (good) return kStatusDone;
    Message(s, Say(CliText::kNothingChanged));
    return kStatusRefused;
}

}  // namespace

int AddCommand(Session& s) {
    AddressList list;
    ListTextRead incoming;
    Source arguments;
    if (int status = ReadArguments(s, list, incoming, arguments)) return status;
    s.change = [&s, list, incoming, arguments] {
        if (int status = LoadConfiguration(s, true)) return status;
        return AddAddresses(s, list, incoming, arguments, false);
    };
    return kStatusDone;
}

int ImportCommand(Session& s) {
    AddressList list;
    if (int status = ListArgument(s, list)) return status;
    if (s.line.arguments.size() != 2) return Usage(s, Say(CliText::kImportArguments));
    std::string source;
    FileBytes input;
    if (int status = ReadInputArgument(s, 1, source, input)) return status;
    ListTextRead incoming;
    std::string_view text(reinterpret_cast<const char*>(input.data.get()), input.size);
    std::string converted;
    if (ListTextAsUtf8(text, converted)) text = converted;
    Source lines{source};
    if (!ReadLines(s, text, list, lines, 1, incoming)) {
        Message(s, Say(CliText::kNothingChanged));
        return kStatusRefused;
    }
    // Moved, not copied: an import may hold a whole list's worth of addresses.
    s.change = [&s, list, incoming = std::move(incoming), lines] {
        if (int status = LoadConfiguration(s, true)) return status;
        return AddAddresses(s, list, incoming, lines, s.line.replace);
    };
    return kStatusDone;
}

int RemoveCommand(Session& s) {
    AddressList list;
    ListTextRead incoming;
    Source arguments;
    if (int status = ReadArguments(s, list, incoming, arguments)) return status;
    s.change = [&s, list, incoming] {
        if (int status = LoadConfiguration(s, false)) return status;
        std::unordered_map<std::uint64_t, std::size_t> wanted;  // key -> entries removed
        for (const AddressPattern& address : incoming.addresses) wanted.emplace(PatternKey(address), 0);
        const std::size_t removed = RemoveEntries(game_config, list, [&](const AddressPattern& p) {
            auto found = wanted.find(PatternKey(p));
            if (found == wanted.end()) return false;
            ++found->second;
            return true;
        });
        std::size_t missing = 0;
        for (std::size_t i = 0; i < incoming.addresses.size(); ++i) {
            auto found = wanted.find(PatternKey(incoming.addresses[i]));
            if (found->second == 0) {
                ++missing;
                Note(s, Say(CliText::kNotInList,
                            {Source{}.Where(incoming.NumberOf(i)), AddressText(incoming.addresses[i]), ListWord(list)}));
                found->second = 1;  // noted once
            }
        }
        const std::string said = Say(CliText::kRemovedCounts, {ListName(list), removed, missing});
        if (removed == 0) {
            Note(s, Say(CliText::kNothingToSaveAfter, {said}));
            return static_cast<int>(kStatusDone);
        }
        const int status = Save(s);
        if (status == kStatusDone) Note(s, Say(CliText::kSavedAfter, {said}));
        return status;
    };
    return kStatusDone;
}

