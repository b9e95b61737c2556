// The reading and saving every command of qorcfg shares, and its messages.
#include "cli/session.h"

#include <cstring>

#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "config/config_store.h"

namespace {

// How long a save waits for another writer, for the message that it gave up.
constexpr int kLockWaitSeconds = 5;

}  // namespace

void Message(const Session& s, const std::string& text) {
    if (s.held != nullptr) {
        *s.held += "qorcfg: " + text + "\n";
        return;
    }
    WriteTerminalText(s.err, "qorcfg: " + text + "\n");
}

void FileMessage(const Session& s, const std::string& text) { Message(s, s.shown + ": " + text); }

void Note(const Session& s, const std::string& text) {
    if (!s.line.quiet) Message(s, text);
}

int Usage(const Session& s, const std::string& problem) {
    Message(s, problem + " (see 'qorcfg --help')");
    return kStatusFailed;
}

std::string ErrorText(int error_number) { return error_number != 0 ? std::strerror(error_number) : "read error"; }

std::string ProblemText(FileProblem problem) {
    switch (problem) {
        case FileProblem::kFolder: return "a folder stands there, not a file";
        case FileProblem::kDevice: return "it is a device, not a file";
        case FileProblem::kPipe: return "it is a pipe, not a file";
        case FileProblem::kNoFolder: return "its folder does not exist";
        case FileProblem::kNoSpace: return "the disk is full";
        case FileProblem::kReadOnlyFileSystem: return "the file system is read-only";
        case FileProblem::kDenied: return "permission denied";
        case FileProblem::kHeld: return "held by another program";
        case FileProblem::kBusy: return "another program is saving it";
        case FileProblem::kNone:
        case FileProblem::kOther: break;
    }
    return std::string();
}

// A configuration file starts with its version, two bytes that are never both printable
// text; a list or a document given in its place does.
static bool StartsWithText(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return true;  // UTF-16's byte-order mark
    auto text = [](std::uint8_t b) { return (b >= 0x20 && b < 0x7f) || b == '\t' || b == '\r' || b == '\n' || b >= 0xEF; };
    return bytes.size() >= 2 && text(bytes[0]) && text(bytes[1]);
}

int LoadConfiguration(Session& s, bool create_when_missing) {
    int error_number = 0;
    switch (LoadConfigFile(s.path.c_str(), game_config, &s.bytes, &error_number, &s.stamp)) {
        case LoadStatus::kOk:
        case LoadStatus::kDamaged: return kStatusDone;
        case LoadStatus::kNotAFile: FileMessage(s, ProblemText(ProblemAt(s.path.c_str())) + "; nothing read"); break;
        case LoadStatus::kMissing:
            if (ProblemAt(s.path.c_str()) == FileProblem::kNoFolder) {
                FileMessage(s, "its folder does not exist; nothing changed");
                return kStatusFailed;
            }
            if (!create_when_missing) {
                FileMessage(s, "no such file (the tool would create it with the defaults)");
                return kStatusFailed;
            }
            Note(s, s.shown + ": no such file: starting from the defaults of a new file, as the tool does");
            NewFileConfig(game_config);
            s.bytes.clear();
            return kStatusDone;
        case LoadStatus::kHeld:
            // Without an errno (Windows' file functions set none) the file could not be
            // opened even after the store's wait, which is almost always another program
            // holding it; with one, the system says why.
            if (error_number != 0) {
                FileMessage(s, "cannot be read: " + ErrorText(error_number));
                break;
            }
            FileMessage(s, create_when_missing ? "held by another program; not saved, nothing changed"
                                               : "held by another program; it cannot be read now");
            return kStatusTryAgain;
        case LoadStatus::kNoVersion:
            FileMessage(s, "too short to hold its version (" + std::to_string(s.bytes.size()) +
                               " bytes); the tool would replace it with the defaults, qorcfg leaves it alone");
            break;
        case LoadStatus::kNewer:
            if (StartsWithText(s.bytes)) {
                FileMessage(s, "not a configuration file (it starts with text); it is left as it is");
                break;
            }
            FileMessage(s, "version " + std::to_string(ConfigFileVersion(s.bytes).value_or(0)) +
                               " is newer than " + std::to_string(kCurrentConfigVersion) +
                               "; the tool refuses it, and it is left as it is");
            break;
        case LoadStatus::kOutOfMemory: FileMessage(s, "not enough memory to read it"); break;
    }
    return kStatusFailed;
}

void NoteOlderBackup(const Session& s) {
    if (!ConfigBackupIsOlder(s.path.c_str())) return;
    const std::string backup = PathText(s.path + ".bak");
    const FileProblem problem = ConfigBackupProblem(s.path.c_str());
    if (problem == FileProblem::kHeld) {
        Message(s, backup + ": held by another program, so it could not be updated: it still holds the file from before "
                   "an earlier save, not the one this save replaced");
    } else {
        Message(s, backup + ": " + ProblemText(problem) + ", so no backup could be kept of the file this save replaced");
    }
}

namespace {

// Why a save or its start failed, said once; the exit status tells a script whether the
// same command may succeed later.
int SaveFailed(const Session& s, SaveStatus status, FileProblem problem) {
    const std::string why = ProblemText(problem);
    switch (status) {
        case SaveStatus::kBusy:
            FileMessage(s, "another program (qorcfg or the configuration window) is saving it and did not finish within " +
                               std::to_string(kLockWaitSeconds) + " seconds; nothing changed, try again");
            return kStatusTryAgain;
        case SaveStatus::kHeld: FileMessage(s, "held by another program; not saved, nothing changed"); return kStatusTryAgain;
        case SaveStatus::kNotAFile: FileMessage(s, why + "; nothing changed"); return kStatusFailed;
        case SaveStatus::kReadOnly: FileMessage(s, "the file is read-only; not saved, nothing changed"); return kStatusFailed;
        default:
            FileMessage(s, "not saved" + (why.empty() ? std::string() : " (" + why + ")") + "; the file is as it was");
            return kStatusFailed;
    }
}

}  // namespace

// A file another program holds (read and replace both refused, even after waiting) is
// held, not changed: it is not read again.
int Save(Session& s) {
    std::vector<std::uint8_t> bytes;
    if (!EncodeConfig(game_config, bytes)) {
        FileMessage(s, "not enough memory to save it; the file is as it was");
        return kStatusFailed;
    }
    SaveTransaction own(s.path.c_str());
    SaveTransaction& save = s.transaction != nullptr ? *s.transaction : own;
    SaveStatus status = s.transaction != nullptr ? SaveStatus::kSaved : save.Begin();
    if (status == SaveStatus::kSaved) status = save.Commit(std::move(bytes), &s.stamp);
    if (status == SaveStatus::kChanged) return kChangedMeanwhile;
    if (status != SaveStatus::kSaved) return SaveFailed(s, status, save.Problem());
    NoteOlderBackup(s);
    return kStatusDone;
}

int ReadModifyWrite(Session& s, const std::function<int()>& apply) {
    SaveTransaction save(s.path.c_str());
    if (const SaveStatus begun = save.Begin(); begun != SaveStatus::kSaved) return SaveFailed(s, begun, save.Problem());
    s.transaction = &save;
    struct Release {
        Session& s;
        ~Release() { s.transaction = nullptr; }
    } release{s};
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
            return kStatusTryAgain;
        }
        Note(s, s.shown + ": changed by another program since it was read; reading it again");
    }
}
