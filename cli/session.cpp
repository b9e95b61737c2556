// The reading and saving every command of qorcfg shares, and its messages.
#include "cli/session.h"

#include <cerrno>
#include <cstring>

#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "config/config_store.h"

namespace {

int lock_wait_ms = kSaveLockWaitMs;

// Versions count up one by one from 259; one far above the current, which no release
// could have given a file, says more likely that the file is no configuration at all.
constexpr std::uint16_t kHighestLikelyVersion = 1000;

}  // namespace

void SetLockWaitForTests(int milliseconds) { lock_wait_ms = milliseconds; }

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
        case FileProblem::kReadOnlyFile: return "the file is read-only";
        case FileProblem::kReadOnlyFileSystem: return "the file system is read-only";
        case FileProblem::kDenied: return "permission denied";
        case FileProblem::kHeld: return "held by another program";
        case FileProblem::kBusy: return "another program is saving it";
        case FileProblem::kNoMemory: return "not enough memory";
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
        {
            // A file shorter than the current layout, or of a version no release could
            // have, is not sent to look for a newer tool.
            const std::uint16_t version = ConfigFileVersion(s.bytes).value_or(0);
            const bool doubtful = version > kHighestLikelyVersion || s.bytes.size() < EncodedConfigSize(0, 0, 0);
            FileMessage(s, "version " + std::to_string(version) + " is newer than " +
                               std::to_string(kCurrentConfigVersion) +
                               (doubtful ? "; it may not be a configuration file at all" : "") +
                               "; the tool refuses it, and it is left as it is");
            break;
        }
        case LoadStatus::kOutOfMemory: FileMessage(s, "not enough memory to read it"); break;
    }
    return kStatusFailed;
}

int Saved(const Session& s, const SaveOutcome& outcome) {
    if (!outcome.locked) {
        const std::string why = outcome.lock_problem == FileProblem::kDenied
                                    ? "its lock file " + PathText(s.path + ".lock") + " may not be opened (permission denied)"
                                    : std::string("this file system allows no lock");
        FileMessage(s, "saved without the lock that keeps two writers apart: " + why +
                           ", so a save by another program at the same moment could have been lost");
    }
    const std::string backup = PathText(s.path + ".bak");
    if (outcome.backup == BackupOutcome::kOlder && outcome.backup_problem == FileProblem::kHeld) {
        Message(s, backup + ": held by another program, so it could not be updated: it still holds the file from before "
                   "an earlier save, not the one this save replaced");
    } else if (outcome.backup == BackupOutcome::kOlder) {
        Message(s, backup + ": " + ProblemText(outcome.backup_problem) +
                       ", so no backup could be kept of the file this save replaced");
    }
    if (outcome.status != SaveStatus::kNotFlushed) return kStatusDone;
    const std::string why = ProblemText(outcome.problem);
    FileMessage(s, "saved, but its folder could not be flushed" + (why.empty() ? std::string() : " (" + why + ")") +
                       ", so a power loss now could still take the change back; the file and its backup are in "
                       "place, and running the command again is harmless");
    return kStatusFailed;
}

namespace {

// Why a save or its start failed, said once; the exit status tells a script whether the
// same command may succeed later.
int SaveFailed(const Session& s, SaveStatus status, FileProblem problem) {
    const std::string why = ProblemText(problem);
    switch (status) {
        case SaveStatus::kBusy:
            FileMessage(s, "another program (qorcfg or the configuration window) is saving it and did not finish within " +
                               std::to_string(kSaveLockWaitMs / 1000) + " seconds; nothing changed, try again");
            return kStatusTryAgain;
        case SaveStatus::kHeld: FileMessage(s, "held by another program; not saved, nothing changed"); return kStatusTryAgain;
        case SaveStatus::kNotAFile: FileMessage(s, why + "; nothing changed"); return kStatusFailed;
        case SaveStatus::kReadOnly:
            FileMessage(s, (problem == FileProblem::kDenied ? std::string("you may not write it (permission denied)") : why) +
                               "; not saved, nothing changed");
            return kStatusFailed;
        default:
            FileMessage(s, "not saved" + (why.empty() ? std::string() : " (" + why + ")") + "; the file is as it was");
            return kStatusFailed;
    }
}

}  // namespace

// A file another program holds (read and replace both refused, even after waiting) is
// held, not changed: it is not read again. The save writes nothing when the record
// encodes as the file read did: two texts the file's code page stores alike, a value an
// older file reads as already, so that the backup keeps the last real change.
int Save(Session& s) {
    SaveTransaction own(s.path.c_str());
    SaveTransaction& save = s.transaction != nullptr ? *s.transaction : own;
    SaveRequest request;
    request.expected = &s.stamp;
    request.read = &s.bytes;
    request.lock_wait_ms = lock_wait_ms;
    const SaveOutcome outcome = save.Save(game_config, request);
    switch (outcome.status) {
        case SaveStatus::kChanged: return kChangedMeanwhile;
        case SaveStatus::kUnchanged:
            Note(s, s.shown + ": already holds these settings as the file stores them; nothing to save");
            return kNothingSaved;
        case SaveStatus::kSaved:
        case SaveStatus::kNotFlushed: return Saved(s, outcome);
        default: return SaveFailed(s, outcome.status, outcome.problem);
    }
}

int ReadModifyWrite(Session& s, const std::function<int()>& apply) {
    SaveTransaction save(s.path.c_str());
    if (const SaveStatus begun = save.Begin(lock_wait_ms); begun != SaveStatus::kBegun)
        return SaveFailed(s, begun, save.Problem());
    s.transaction = &save;
    constexpr int kAttempts = 2;
    int status = kChangedMeanwhile;
    for (int attempt = 1; status == kChangedMeanwhile; ++attempt) {
        std::string held;
        s.held = &held;
        status = apply();
        s.held = nullptr;
        if (status != kChangedMeanwhile) {
            if (!held.empty()) WriteTerminalText(s.err, held);
        } else if (attempt == kAttempts) {
            FileMessage(s, "changed by another program again before it could be saved; not saved, the other "
                           "program's changes are kept (run the command again)");
            status = kStatusTryAgain;
        } else {
            Note(s, s.shown + ": changed by another program since it was read; reading it again");
        }
    }
    s.transaction = nullptr;
    return status == kNothingSaved ? static_cast<int>(kStatusDone) : status;
}

int EndOfOutput(const Session& s, int status) {
    // The errno of a write that failed inside the command, should the stream not fail
    // again on the flush below (its buffer may be empty by then).
    const int left = errno;
    errno = 0;
    const bool out_failed = std::fflush(s.out) != 0 || std::ferror(s.out) != 0;
    const int out_error = errno != 0 ? errno : left;
    errno = 0;
    const bool err_failed = std::fflush(s.err) != 0 || std::ferror(s.err) != 0;
    const int err_error = errno != 0 ? errno : left;
    if (out_failed && out_error != EPIPE) {
        Message(s, "the output could not be written: " + ErrorText(out_error));
        return kStatusFailed;
    }
    if (err_failed && err_error != EPIPE) return kStatusFailed;
    // The commands that print give kStatusFailed for a write that failed; a reader that
    // stopped reading is none.
    if (out_failed && status == kStatusFailed) return kStatusDone;
    return status;
}
