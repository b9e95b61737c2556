// The commands on single fields and on the whole file: set and restore.
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/list_text.h"
#include "cli/report.h"
#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "config/config_store.h"
#include "model/address_text.h"

namespace {

int SetAllowedOnly(Session& s, const std::string& value) {
    if (value != "on" && value != "off") return Usage(s, "allowed-only is on or off");
    const std::int32_t flag = value == "on" ? 1 : 0;
    s.change = [&s, flag] {
        if (int status = LoadConfiguration(s, true)) return status;
        if (game_config.allowed_only == flag && ConfigFileVersion(s.bytes).value_or(0) > kOldestLayoutLastVersion)
            return static_cast<int>(kStatusDone);
        game_config.allowed_only = flag;
        return Save(s);
    };
    return kStatusDone;
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
    s.change = [&s, id] {
        if (int status = LoadConfiguration(s, true)) return status;
        // As the window stores it: the text and its NUL; the bytes after the NUL keep theirs.
        if (std::memcmp(game_config.connect_id, id.c_str(), id.size() + 1) == 0 && !s.bytes.empty())
            return static_cast<int>(kStatusDone);
        std::memcpy(game_config.connect_id, id.c_str(), id.size() + 1);
        return Save(s);
    };
    return kStatusDone;
}

}  // namespace

int RestoreCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "restore takes no arguments");
    const std::string backup = PathText(s.path + ".bak");
    FileStamp restored;
    FileProblem problem = FileProblem::kNone;
    switch (RestoreConfigFile(s.path.c_str(), game_config, nullptr, &restored, &problem)) {
        case RestoreStatus::kRestored: {
            // What the window will make of the file put back, as check says it.
            for (const std::string& finding : CheckFindings(restored.Bytes(), game_config))
                Message(s, backup + " restored as it stands: " + finding);
            NoteOlderBackup(s);
            return kStatusDone;
        }
        case RestoreStatus::kNoBackup: Message(s, backup + ": no backup to restore; nothing changed"); break;
        case RestoreStatus::kBackupUnreadable: Message(s, backup + ": the backup cannot be read; nothing changed"); break;
        case RestoreStatus::kBackupUnusable:
            Message(s, backup + ": the backup holds no configuration the tool reads as it stands (shorter than its "
                                "version's layout, too short to hold a version, or of a newer version); nothing changed");
            break;
        case RestoreStatus::kBusy:
            FileMessage(s, "another program (qorcfg or the configuration window) is saving it; nothing changed, try again");
            return kStatusTryAgain;
        case RestoreStatus::kChanged:  // only with an expected file, which restore gives none
        case RestoreStatus::kFailed: {
            const std::string why = ProblemText(problem);
            FileMessage(s, "not restored" + (why.empty() ? std::string() : " (" + why + ")") +
                               "; the file and its backup are as they were");
            break;
        }
    }
    return kStatusFailed;
}

int SetCommand(Session& s) {
    if (s.line.arguments.size() != 2) return Usage(s, "set needs a field and a value");
    const std::string& field = s.line.arguments[0];
    if (field == "allowed-only") return SetAllowedOnly(s, s.line.arguments[1]);
    if (field == "id") return SetId(s);
    return Usage(s, "set knows allowed-only and id, not " + PrintableLine(field));
}

