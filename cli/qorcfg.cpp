// The commands of qorcfg: reading the file without side effects, the readable and JSON
// forms, the check, and the list and field edits that save through the store's own save.
#include "cli/qorcfg.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/input_file.h"
#include "cli/list_text.h"
#include "cli/report.h"
#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "config/config_store.h"
#include "config/file_system.h"
#include "model/address_text.h"

namespace {

const char kUsage[] =
    "Usage: qorcfg [--file PATH] COMMAND [ARGUMENTS]\n"
    "\n"
    "Reads and changes the game's configuration file as the configuration window does:\n"
    "Data/GameConfig.dat under the current directory, or PATH.\n"
    "\n"
    "Commands:\n"
    "  show [--json]                   every field in readable form, or as JSON\n"
    "  check                           what the tool would do with the file\n"
    "  list LIST                       the addresses of a list, one per line\n"
    "  add LIST ADDRESS...             adds addresses to a list\n"
    "  remove LIST ADDRESS...          removes addresses from a list\n"
    "  import LIST FILE|- [--replace]  adds the addresses of a text file to a list\n"
    "  export LIST [FILE|-]            writes a list as text that import reads back\n"
    "  set allowed-only on|off         puts the allowed list to use, or not\n"
    "  set id TEXT                     sets the connect-to ID\n"
    "  restore                         puts the backup (the file's name + .bak) back\n"
    "\n"
    "LIST is denied, allowed or connect. Exit status: 0 done (check: no findings);\n"
    "1 findings (check) or input refused, nothing changed; 2 the file is missing,\n"
    "unreadable or of a newer version, a save failed, another program kept changing\n"
    "the file, there is no backup to restore, or the command line is wrong.\n"
    "'qorcfg COMMAND --help' describes one command.\n";

const char kAddressRules[] =
    "An address is a.b.c.d, each part 0 to 255 (leading zeros allowed). The denied\n"
    "and allowed lists also take \"*\" for a part that matches any value, and the\n"
    "prefixes /24 /16 /8 /0, which stand for \"*\" in the parts they leave open\n"
    "(10.1.0.0/16 is 10.1.*.*); /32 is the address itself. The connect-to list holds\n"
    "24 single addresses and never 0.0.0.0. The denied and allowed lists hold 65535.\n"
    "Addresses already listed are dropped with a note.\n";

struct CommandHelp {
    const char* name;
    const char* text;
};

const CommandHelp kCommandHelp[] = {
    {"show",
     "Usage: qorcfg show [--json]\n\n"
     "Prints every field: version, options with their meaning, the connect-to ID and\n"
     "addresses, both pattern lists, allowed-only, each player's input method and key\n"
     "map, the eight function messages and the opaque records. --json prints the same\n"
     "as one JSON object in UTF-8 (see the README for its shape).\n"},
    {"check",
     "Usage: qorcfg check\n\n"
     "Reads the file as the tool does and says what the tool would do with it: an\n"
     "older version migrated on the next save, a file shorter or longer than its\n"
     "layout, values outside their sets and how the window's next save stores them,\n"
     "texts without a NUL, duplicate entries, and so on. Exit status 0 without\n"
     "findings, 1 with findings, 2 when the file is missing, unreadable or newer.\n"},
    {"list", "Usage: qorcfg list denied|allowed|connect\n\nPrints the list's addresses, one per line, in stored order.\n"},
    {"add",
     "Usage: qorcfg add LIST ADDRESS...\n\n"
     "Adds the addresses at the end of the list and saves. If any address is bad,\n"
     "nothing changes and every bad one is named.\n"},
    {"remove",
     "Usage: qorcfg remove LIST ADDRESS...\n\n"
     "Removes every entry equal to one of the addresses and saves. An address that is\n"
     "not listed is noted. If any address is bad, nothing changes.\n"},
    {"import",
     "Usage: qorcfg import LIST FILE|- [--replace]\n\n"
     "Reads one address per line from FILE (- for standard input); blank lines and\n"
     "text after \"#\" are ignored. Adds the addresses at the end of the list, or with\n"
     "--replace makes them the whole list, and saves. If any line is bad, nothing\n"
     "changes and every bad line is named by its number.\n"},
    {"export",
     "Usage: qorcfg export LIST [FILE|-]\n\n"
     "Writes the list's addresses one per line to FILE or standard output, exactly as\n"
     "import reads them.\n"},
    {"set",
     "Usage: qorcfg set allowed-only on|off\n"
     "       qorcfg set id TEXT\n\n"
     "allowed-only puts the allowed list to use (on) or not (off). id sets the\n"
     "connect-to ID: text of at most 15 bytes once written in the file's Japanese\n"
     "code page (CP932), without control characters.\n"},
    {"restore",
     "Usage: qorcfg restore\n\n"
     "Puts the backup that every save keeps (the file's name + .bak) back as the file,\n"
     "through the same safe save: the file it replaces becomes the new backup, so a\n"
     "second restore undoes the first. Exit status 2, with nothing changed, when there\n"
     "is no backup or it holds no configuration the tool reads.\n"},
};

struct CommandLine {
    std::string command;
    std::vector<std::string> arguments;  // after the command
    std::vector<int> argument_index;     // their places in argv
    int file_index = 0;         // the place in argv of --file's path (or of --file=PATH)
    std::size_t file_skip = 0;  // bytes before the path in that argument
    bool file_given = false;
    bool json = false;
    bool replace = false;
    bool help = false;
};

struct Session {
    std::FILE* out;
    std::FILE* err;
    char** argv;
    CommandLine line;
    std::string path;   // the file as qorcfg opens it
    std::string shown;  // the path in messages (UTF-8)
    std::vector<std::uint8_t> bytes;
    FileStamp stamp;             // the file as it was read, which a save may replace
    std::string* held = nullptr;  // where messages wait while an attempt may be redone
};

void Message(const Session& s, const std::string& text) {
    if (s.held != nullptr) {
        *s.held += "qorcfg: " + text + "\n";
        return;
    }
    WriteTerminalText(s.err, "qorcfg: " + text + "\n");
}

void FileMessage(const Session& s, const std::string& text) { Message(s, s.shown + ": " + text); }

int Usage(const Session& s, const std::string& problem) {
    Message(s, problem + " (see 'qorcfg --help')");
    return kStatusFailed;
}

std::string ErrorText(int error_number) { return error_number != 0 ? std::strerror(error_number) : "read error"; }

// Reads the file for a command. A missing file is an error for reading commands; for
// changing ones it starts from the defaults a new file gets, as the window does.
int LoadConfiguration(Session& s, bool create_when_missing) {
    int error_number = 0;
    switch (LoadConfigFile(s.path.c_str(), game_config, &s.bytes, &error_number, &s.stamp)) {
        case LoadStatus::kOk:
        case LoadStatus::kDamaged: return kStatusDone;
        case LoadStatus::kMissing:
            if (!create_when_missing) {
                FileMessage(s, "no such file (the tool would create it with the defaults)");
                return kStatusFailed;
            }
            FileMessage(s, "no such file: starting from the defaults of a new file, as the tool does");
            NewFileConfig(game_config);
            s.bytes.clear();
            return kStatusDone;
        case LoadStatus::kHeld:
            // Without an errno (Windows' file functions set none) the file could not be
            // opened even after the store's wait, which is almost always another program
            // holding it; with one, the system says why.
            if (error_number != 0) {
                FileMessage(s, "cannot be read: " + ErrorText(error_number));
            } else {
                FileMessage(s, create_when_missing ? "held by another program; not saved, nothing changed"
                                                   : "held by another program; it cannot be read now");
            }
            break;
        case LoadStatus::kNoVersion:
            FileMessage(s, "too short to hold its version (" + std::to_string(s.bytes.size()) +
                               " bytes); the tool would replace it with the defaults, qorcfg leaves it alone");
            break;
        case LoadStatus::kNewer:
            FileMessage(s, "version " + std::to_string(ConfigFileVersion(s.bytes).value_or(0)) +
                               " is newer than 272; the tool refuses it, and it is left as it is");
            break;
        case LoadStatus::kOutOfMemory: FileMessage(s, "not enough memory to read it"); break;
    }
    return kStatusFailed;
}

// Not an exit status: the save found that another program wrote the file after it was
// read, and replaced nothing.
constexpr int kChangedMeanwhile = -1;

// After a save that succeeded: a backup that could be neither refreshed nor removed.
void NoteOlderBackup(const Session& s) {
    if (ConfigBackupIsOlder(s.path.c_str()))
        Message(s, PathText(s.path + ".bak") + ": held by another program, so it could not be updated: it still holds "
                   "the file from before an earlier save, not the one this save replaced");
}

// A file another program holds (read and replace both refused, even after waiting) is
// held, not changed: it is not read again.
int Save(Session& s) {
    switch (SaveConfigFile(s.path.c_str(), game_config, nullptr, &s.stamp)) {
        case SaveStatus::kSaved: break;
        case SaveStatus::kChanged: return kChangedMeanwhile;
        case SaveStatus::kHeld: FileMessage(s, "held by another program; not saved, nothing changed"); return kStatusFailed;
        default: FileMessage(s, "not saved; the file is as it was"); return kStatusFailed;
    }
    NoteOlderBackup(s);
    return kStatusDone;
}

// Reads the file, changes it and saves it through `apply`; when another program wrote
// the file in between, does it all once more on the file as it is then, so that its
// change is kept under ours. A second such write gives up and keeps the other
// program's file. Only the messages of the attempt that counted are shown.
template <typename Apply>
int ReadModifyWrite(Session& s, Apply apply) {
    constexpr int kAttempts = 2;
    for (int attempt = 1;; ++attempt) {
        std::string held;
        s.held = &held;
        const int status = apply();
        s.held = nullptr;
        if (status != kChangedMeanwhile) {
            if (!held.empty()) WriteTerminalText(s.err, held);
            return status;
        }
        if (attempt == kAttempts) {
            FileMessage(s, "changed by another program again before it could be saved; not saved, the other "
                           "program's changes are kept (run the command again)");
            return kStatusFailed;
        }
        FileMessage(s, "changed by another program since it was read; reading it again");
    }
}

// --- Reading commands -------------------------------------------------------------

FileFacts Facts(const Session& s) {
    return {s.shown, s.bytes.size(), ConfigFileVersion(s.bytes).value_or(0)};
}

int Show(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "show takes no arguments");
    if (int status = LoadConfiguration(s, false)) return status;
    const FileFacts facts = Facts(s);
    const std::string text = s.line.json ? ShowJson(game_config, facts) : ShowText(game_config, facts);
    return WriteTerminalText(s.out, text, s.line.json) ? kStatusDone : kStatusFailed;
}

int Check(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "check takes no arguments");
    if (int status = LoadConfiguration(s, false)) return status;
    const std::vector<std::string> findings = CheckFindings(s.bytes, game_config);
    const FileFacts facts = Facts(s);
    std::string text = facts.path + ": version " + std::to_string(facts.version) + ", " +
                       std::to_string(facts.size) + " bytes\n";
    for (const std::string& finding : findings) text += "- " + finding + "\n";
    text += findings.empty() ? "no findings\n" : std::to_string(findings.size()) + " finding(s)\n";
    WriteTerminalText(s.out, text);
    return findings.empty() ? kStatusDone : kStatusRefused;
}

bool ListArgument(Session& s, AddressList& list) {
    if (s.line.arguments.empty() || !ParseListName(s.line.arguments[0], list)) {
        Usage(s, s.line.command + " needs a list: denied, allowed or connect");
        return false;
    }
    return true;
}

int List(Session& s) {
    AddressList list;
    if (!ListArgument(s, list)) return kStatusFailed;
    if (s.line.arguments.size() != 1) return Usage(s, "list takes one list");
    if (int status = LoadConfiguration(s, false)) return status;
    return WriteTerminalText(s.out, ListText(ListEntries(game_config, list))) ? kStatusDone : kStatusFailed;
}

int Export(Session& s) {
    AddressList list;
    if (!ListArgument(s, list)) return kStatusFailed;
    if (s.line.arguments.size() > 2) return Usage(s, "export takes a list and at most one file");
    if (int status = LoadConfiguration(s, false)) return status;
    const std::string text = ListText(ListEntries(game_config, list));
    if (s.line.arguments.size() < 2 || s.line.arguments[1] == "-")
        return std::fwrite(text.data(), 1, text.size(), s.out) == text.size() ? kStatusDone : kStatusFailed;
    std::string target;
    if (!PathArgument(s.argv, s.line.argument_index[1], target))
        return Usage(s, "the file's path holds a character that cannot be named in a file path here");
    errno = 0;
    std::FILE* file = OpenPathForWriting(target);
    bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int error_number = errno;
    if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        Message(s, PathText(target) + ": cannot be written: " + ErrorText(error_number));
        return kStatusFailed;
    }
    return kStatusDone;
}

// --- Changing commands ------------------------------------------------------------

struct Incoming {
    AddressPattern address;
    std::size_t number;  // its line in the file, or its place on the command line
};

// Where addresses come from, for messages: a file's lines or the command's arguments.
struct Source {
    std::string name;  // the file, or empty for the command line
    std::string Where(std::size_t number) const {
        return name.empty() ? "argument " + std::to_string(number) : name + ":" + std::to_string(number);
    }
};

// Four octets of 0 to 256 (the wildcard) in 9 bits each.
std::uint64_t PatternKey(const AddressPattern& p) {
    const AddressPattern n = NormalisedPattern(p);
    return static_cast<std::uint64_t>(n.octets[0]) << 27 | static_cast<std::uint64_t>(n.octets[1]) << 18 |
           static_cast<std::uint64_t>(n.octets[2]) << 9 | n.octets[3];
}

// The addresses of a list and where each was first seen, in one open-addressed table
// of packed keys: a list of 65535 needs no allocation per entry.
class PatternTable {
public:
    explicit PatternTable(std::size_t entries) {
        std::size_t capacity = 16;
        while (capacity < 2 * entries) capacity *= 2;
        mask_ = capacity - 1;
        slots_.assign(capacity, 0);
    }
    // Adds the key (36 bits: four 9-bit octets) with `place` (below 2^27) and returns
    // true; or, when it is there already, returns false and the place it was first seen.
    bool Insert(std::uint64_t key, std::size_t place, std::size_t& first_place) {
        const std::uint64_t stored = key + 1;  // 0 marks an empty slot
        std::size_t i = static_cast<std::size_t>((stored * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
        for (; slots_[i] != 0; i = (i + 1) & mask_) {
            if ((slots_[i] & kKeyMask) == stored) {
                first_place = static_cast<std::size_t>(slots_[i] >> kKeyBits);
                return false;
            }
        }
        slots_[i] = stored | static_cast<std::uint64_t>(place) << kKeyBits;
        return true;
    }

private:
    static constexpr int kKeyBits = 37;
    static constexpr std::uint64_t kKeyMask = (std::uint64_t{1} << kKeyBits) - 1;
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

std::string AddressText(const AddressPattern& p) {
    return FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3]);
}

// Reads every line of `text`, numbering from `first`; names every bad one and returns
// false when there is any.
bool ReadLines(const Session& s, std::string_view text, AddressList list, const Source& source, std::size_t first,
               std::vector<Incoming>& incoming) {
    bool all_good = true;
    const std::vector<std::string_view> lines = ListTextLines(text);
    incoming.reserve(incoming.size() + lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t number = first + i;
        const ListLine line = ReadListLine(lines[i], list);
        if (line.kind == ListLine::kBad) {
            Message(s, source.Where(number) + ": \"" + PrintableLine(lines[i]) + "\": " + line.error);
            all_good = false;
        } else if (line.kind == ListLine::kAddress) {
            incoming.push_back({line.address, number});
        }
    }
    return all_good;
}

void StoreEntries(AddressList list, const std::vector<AddressPattern>& entries) {
    if (list == AddressList::kDenied) {
        game_config.denied_patterns = entries;
    } else if (list == AddressList::kAllowed) {
        game_config.allowed_patterns = entries;
    } else {
        for (std::size_t slot = 0; slot < kConnectSlots; ++slot) {
            std::uint8_t* o = game_config.connect_addresses[slot].octets;
            for (int i = 0; i < 4; ++i) o[i] = slot < entries.size() ? static_cast<std::uint8_t>(entries[slot].octets[i]) : 0;
        }
    }
}

bool SameEntries(const std::vector<AddressPattern>& a, const std::vector<AddressPattern>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (PatternKey(a[i]) != PatternKey(b[i])) return false;
    return true;
}

// Appends the new addresses (or, with `replace`, makes them the list), dropping those
// already listed. The connect-to table keeps its slots: new addresses go into the
// empty ones in slot order.
int AddAddresses(Session& s, AddressList list, const std::vector<Incoming>& incoming, const Source& source,
                 bool replace) {
    const std::vector<AddressPattern> old = ListEntries(game_config, list);
    const std::vector<AddressPattern> kept = replace ? std::vector<AddressPattern>() : old;
    PatternTable listed(kept.size() + incoming.size());
    constexpr std::size_t kInFile = 0;  // places: 0 for the file, else incoming index + 1
    std::size_t first_place = 0;
    for (const AddressPattern& p : kept) listed.Insert(PatternKey(p), kInFile, first_place);
    std::vector<AddressPattern> added;
    added.reserve(incoming.size());
    for (std::size_t i = 0; i < incoming.size(); ++i) {
        const Incoming& in = incoming[i];
        if (listed.Insert(PatternKey(in.address), i + 1, first_place)) {
            added.push_back(in.address);
            continue;
        }
        Message(s, source.Where(in.number) + ": " + AddressText(in.address) + " is already listed" +
                       (first_place == kInFile ? std::string(" in the file")
                                               : " at " + source.Where(incoming[first_place - 1].number)) +
                       "; dropped");
    }
    const std::size_t total = kept.size() + added.size();
    if (total > ListCapacity(list)) {
        Message(s, std::string("the ") + ListName(list) + " list would hold " + std::to_string(total) +
                       " addresses, more than its " + std::to_string(ListCapacity(list)) + "; nothing changed");
        return kStatusRefused;
    }
    if (replace) {
        // The connect-to table may also have gaps that the replacement closes.
        if (list != AddressList::kConnect && SameEntries(old, added)) return kStatusDone;
        StoreEntries(list, added);
    } else if (added.empty()) {
        return kStatusDone;
    } else if (list == AddressList::kConnect) {
        std::size_t next = 0;
        for (ConnectAddress& slot : game_config.connect_addresses) {
            std::uint8_t* o = slot.octets;
            if (next == added.size() || o[0] != 0 || o[1] != 0 || o[2] != 0 || o[3] != 0) continue;
            for (int i = 0; i < 4; ++i) o[i] = static_cast<std::uint8_t>(added[next].octets[i]);
            ++next;
        }
    } else {
        std::vector<AddressPattern>& entries =
            list == AddressList::kDenied ? game_config.denied_patterns : game_config.allowed_patterns;
        entries.insert(entries.end(), added.begin(), added.end());
    }
    return Save(s);
}

// The addresses given on the command line after the list, numbered by their place.
bool ReadArguments(const Session& s, AddressList list, std::vector<Incoming>& incoming) {
    bool good = true;
    for (std::size_t i = 1; i < s.line.arguments.size(); ++i)
        good = ReadLines(s, s.line.arguments[i], list, Source{}, i + 1, incoming) && good;
    if (!good) Message(s, "nothing changed");
    return good;
}

int Add(Session& s) {
    AddressList list;
    if (!ListArgument(s, list)) return kStatusFailed;
    if (s.line.arguments.size() < 2) return Usage(s, "add needs at least one address");
    std::vector<Incoming> incoming;
    if (!ReadArguments(s, list, incoming)) return kStatusRefused;
    return ReadModifyWrite(s, [&] {
        if (int status = LoadConfiguration(s, true)) return status;
        return AddAddresses(s, list, incoming, Source{}, false);
    });
}

int Import(Session& s) {
    AddressList list;
    if (!ListArgument(s, list)) return kStatusFailed;
    if (s.line.arguments.size() != 2) return Usage(s, "import needs a list and one file (or -)");
    const bool from_stdin = s.line.arguments[1] == "-";
    std::string path;
    if (!from_stdin && !PathArgument(s.argv, s.line.argument_index[1], path))
        return Usage(s, "the file's path holds a character that cannot be named in a file path here");
    const std::string source = from_stdin ? "-" : PathText(path);
    std::vector<std::uint8_t> input;
    int error_number = 0;
    const FileReadStatus read =
        from_stdin ? ReadStandardInput(input, error_number) : ReadInputFile(path.c_str(), input, error_number);
    if (read != FileReadStatus::kOk) {
        Message(s, source + ": cannot be read: " +
                       (read == FileReadStatus::kOutOfMemory ? std::string("not enough memory") : ErrorText(error_number)));
        return kStatusFailed;
    }
    std::vector<Incoming> incoming;
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    const Source lines{from_stdin ? "stdin" : source};
    if (!ReadLines(s, text, list, lines, 1, incoming)) {
        Message(s, "nothing changed");
        return kStatusRefused;
    }
    return ReadModifyWrite(s, [&] {
        if (int status = LoadConfiguration(s, true)) return status;
        return AddAddresses(s, list, incoming, lines, s.line.replace);
    });
}

int Remove(Session& s) {
    AddressList list;
    if (!ListArgument(s, list)) return kStatusFailed;
    if (s.line.arguments.size() < 2) return Usage(s, "remove needs at least one address");
    std::vector<Incoming> incoming;
    if (!ReadArguments(s, list, incoming)) return kStatusRefused;
    return ReadModifyWrite(s, [&] {
        if (int status = LoadConfiguration(s, false)) return status;
        std::unordered_map<std::uint64_t, std::size_t> wanted;  // key -> entries removed
        for (const Incoming& in : incoming) wanted.emplace(PatternKey(in.address), 0);
        std::size_t removed = 0;
        auto take = [&](const AddressPattern& p) {
            auto found = wanted.find(PatternKey(p));
            if (found == wanted.end()) return false;
            ++found->second;
            ++removed;
            return true;
        };
        if (list == AddressList::kConnect) {
            // The slot is emptied; the other addresses keep their slots.
            for (ConnectAddress& slot : game_config.connect_addresses) {
                std::uint8_t* o = slot.octets;
                if ((o[0] | o[1] | o[2] | o[3]) != 0 && take(AddressPattern{{o[0], o[1], o[2], o[3]}})) std::memset(o, 0, 4);
            }
        } else {
            std::vector<AddressPattern>& entries =
                list == AddressList::kDenied ? game_config.denied_patterns : game_config.allowed_patterns;
            std::erase_if(entries, take);
        }
        for (const Incoming& in : incoming) {
            auto found = wanted.find(PatternKey(in.address));
            if (found->second == 0) {
                Message(s, Source{}.Where(in.number) + ": " + AddressText(in.address) + " is not in the " +
                               ListName(list) + " list");
                found->second = 1;  // noted once
            }
        }
        return removed == 0 ? kStatusDone : Save(s);
    });
}

int SetAllowedOnly(Session& s, const std::string& value) {
    if (value != "on" && value != "off") return Usage(s, "allowed-only is on or off");
    const std::int32_t flag = value == "on" ? 1 : 0;
    return ReadModifyWrite(s, [&] {
        if (int status = LoadConfiguration(s, true)) return status;
        if (game_config.allowed_only == flag && ConfigFileVersion(s.bytes).value_or(0) >= 260)
            return static_cast<int>(kStatusDone);
        game_config.allowed_only = flag;
        return Save(s);
    });
}

int SetId(Session& s) {
    const std::string utf8 = ArgumentText(s.argv, s.line.argument_index[1]);
    std::string id;
    if (!Utf8ToCp932(utf8, id)) {
        Message(s, "the ID must be text that the file's Japanese code page (CP932) can hold; nothing changed");
        return kStatusRefused;
    }
    for (char ch : id) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) {
            Message(s, "the ID cannot hold control characters; nothing changed");
            return kStatusRefused;
        }
    }
    if (id.size() > kConnectIdTextMax) {
        Message(s, "the ID is " + std::to_string(id.size()) + " bytes in CP932, more than the " +
                       std::to_string(kConnectIdTextMax) + " it holds; nothing changed");
        return kStatusRefused;
    }
    return ReadModifyWrite(s, [&] {
        if (int status = LoadConfiguration(s, true)) return status;
        // As the window stores it: the text and its NUL; the bytes after the NUL keep theirs.
        if (std::memcmp(game_config.connect_id, id.c_str(), id.size() + 1) == 0 && !s.bytes.empty())
            return static_cast<int>(kStatusDone);
        std::memcpy(game_config.connect_id, id.c_str(), id.size() + 1);
        return Save(s);
    });
}

int Restore(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "restore takes no arguments");
    const std::string backup = PathText(s.path + ".bak");
    switch (RestoreConfigFile(s.path.c_str(), game_config)) {
        case RestoreStatus::kRestored: NoteOlderBackup(s); return kStatusDone;
        case RestoreStatus::kNoBackup: Message(s, backup + ": no backup to restore; nothing changed"); break;
        case RestoreStatus::kBackupUnreadable: Message(s, backup + ": the backup cannot be read; nothing changed"); break;
        case RestoreStatus::kBackupUnusable:
            Message(s, backup + ": the backup holds no configuration the tool reads (too short, or of a newer "
                                "version); nothing changed");
            break;
        case RestoreStatus::kChanged:  // only with an expected file, which restore gives none
        case RestoreStatus::kFailed: FileMessage(s, "not restored; the file and its backup are as they were"); break;
    }
    return kStatusFailed;
}

int Set(Session& s) {
    if (s.line.arguments.size() != 2) return Usage(s, "set needs a field and a value");
    const std::string& field = s.line.arguments[0];
    if (field == "allowed-only") return SetAllowedOnly(s, s.line.arguments[1]);
    if (field == "id") return SetId(s);
    return Usage(s, "set knows allowed-only and id, not " + PrintableLine(field));
}

// --- The command line ---------------------------------------------------------------

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
            } else if (arg == "--json") {
                line.json = true;
            } else if (arg == "--replace") {
                line.replace = true;
            } else if (arg == "--help" || arg == "-h") {
                line.help = true;
            } else {
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

int Help(const Session& s, const std::string& command) {
    for (const CommandHelp& help : kCommandHelp) {
        if (command != help.name) continue;
        std::string text = help.text;
        if (command == "add" || command == "remove" || command == "import" || command == "list" || command == "export")
            text += std::string("\n") + kAddressRules;
        WriteTerminalText(s.out, text);
        return kStatusDone;
    }
    WriteTerminalText(s.out, std::string(kUsage) + "\n" + kAddressRules);
    return command.empty() ? kStatusDone : kStatusFailed;
}

int Dispatch(Session& s) {
    const std::string& command = s.line.command;
    if (s.line.help || command == "help")
        return Help(s, command == "help" ? (s.line.arguments.empty() ? "" : s.line.arguments[0]) : command);
    if (command.empty()) return Usage(s, "no command given");
    if (s.line.json && command != "show") return Usage(s, "--json belongs to show");
    if (s.line.replace && command != "import") return Usage(s, "--replace belongs to import");
    if (command == "show") return Show(s);
    if (command == "check") return Check(s);
    if (command == "list") return List(s);
    if (command == "export") return Export(s);
    if (command == "add") return Add(s);
    if (command == "remove") return Remove(s);
    if (command == "import") return Import(s);
    if (command == "set") return Set(s);
    if (command == "restore") return Restore(s);
    return Usage(s, "unknown command " + PrintableLine(command));
}

}  // namespace

int RunQorcfg(int argc, char** argv, std::FILE* out, std::FILE* err) {
    Session session{out, err, argv, {}, {}, {}, {}, {}, nullptr};
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
