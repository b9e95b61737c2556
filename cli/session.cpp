// The reading and saving every command of qorcfg shares, and its messages.
#include "cli/session.h"

#include <cerrno>
#include <cstring>

#include "cli/terminal_text.h"
#include "cli/texts.h"
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
    Message(s, Say(CliText::kSeeHelp, {problem}));
    return kStatusFailed;
}

// Why a file could not be read or written: the C library's words in the English face
// (they differ a little between systems), the face's own for the errors a file gives
// most in any other.
std::string ErrorText(int error_number) {
    static const std::pair<int, CliText> kErrors[] = {
        {ENOENT, CliText::kErrorNoEntry},    {EACCES, CliText::kErrorAccess},
        {EPERM, CliText::kErrorPermission},  {EISDIR, CliText::kErrorIsFolder},
        {ENOTDIR, CliText::kErrorNotFolder}, {ENOSPC, CliText::kErrorNoSpace},
#ifdef EDQUOT
        {EDQUOT, CliText::kErrorQuota},
#endif
#ifdef ETXTBSY
        {ETXTBSY, CliText::kErrorTextBusy},
#endif
#ifdef ELOOP
        {ELOOP, CliText::kErrorLoop},
#endif
        {EROFS, CliText::kErrorReadOnlyFileSystem},
        {EIO, CliText::kErrorIo},            {EBUSY, CliText::kErrorBusy},
        {ENAMETOOLONG, CliText::kErrorNameTooLong},
        {EMFILE, CliText::kErrorTooManyOpen},
        {ENOMEM, CliText::kErrorNoMemory},   {EFBIG, CliText::kErrorTooLarge},
        {EINVAL, CliText::kErrorInvalid},
    };
    if (error_number == 0) return Say(CliText::kReadError);
    if (CliFace() != Language::kEnglish)
        for (const auto& [number, text] : kErrors)
            if (number == error_number) return Say(text);
    return std::strerror(error_number);
}

std::string ProblemText(FileProblem problem) {
    switch (problem) {
        case FileProblem::kFolder: return Say(CliText::kProblemFolder);
        case FileProblem::kDevice: return Say(CliText::kProblemDevice);
        case FileProblem::kPipe: return Say(CliText::kProblemPipe);
        case FileProblem::kNoFolder: return Say(CliText::kProblemNoFolder);
        case FileProblem::kNoSpace: return Say(CliText::kProblemNoSpace);
        case FileProblem::kReadOnlyFile: return Say(CliText::kProblemReadOnlyFile);
        case FileProblem::kReadOnlyFileSystem: return Say(CliText::kProblemReadOnlyFileSystem);
        case FileProblem::kDenied: return Say(CliText::kProblemDenied);
        case FileProblem::kHeld: return Say(CliText::kProblemHeld);
        case FileProblem::kBusy: return Say(CliText::kProblemBusy);
        case FileProblem::kNoMemory: return Say(CliText::kProblemNoMemory);
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
        case LoadStatus::kNotAFile: FileMessage(s, Say(CliText::kNothingRead, {ProblemText(ProblemAt(s.path.c_str()))})); break;
        case LoadStatus::kMissing:
            if (ProblemAt(s.path.c_str()) == FileProblem::kNoFolder) {
                FileMessage(s, Say(CliText::kNoFolderNothingChanged));
                return kStatusFailed;
            }
            if (!create_when_missing) {
                FileMessage(s, Say(CliText::kNoSuchFileWouldCreate));
                return kStatusFailed;
            }
            Note(s, Say(CliText::kStartingFromDefaults, {s.shown}));
            NewFileConfig(game_config);
            s.bytes.clear();
            return kStatusDone;
        case LoadStatus::kHeld:
            // Without an errno (Windows' file functions set none) the file could not be
            // opened even after the store's wait, which is almost always another program
            // holding it; with one, the system says why.
            if (error_number != 0) {
                FileMessage(s, Say(CliText::kCannotBeRead, {ErrorText(error_number)}));
                break;
            }
            FileMessage(s, Say(create_when_missing ? CliText::kHeldNotSaved : CliText::kHeldCannotReadNow));
            return kStatusTryAgain;
        case LoadStatus::kNoVersion:
            FileMessage(s, Say(CliText::kTooShortForVersion, {s.bytes.size()}));
            break;
        case LoadStatus::kNewer:
            if (StartsWithText(s.bytes)) {
                FileMessage(s, Say(CliText::kStartsWithText));
                break;
            }
        {
            // A file shorter than the current layout, or of a version no release could
            // have, is not sent to look for a newer tool.
            const std::uint16_t version = ConfigFileVersion(s.bytes).value_or(0);
            const bool doubtful = version > kHighestLikelyVersion || s.bytes.size() < EncodedConfigSize(0, 0, 0);
            FileMessage(s, Say(doubtful ? CliText::kNewerVersionDoubtful : CliText::kNewerVersion,
                               {version, kCurrentConfigVersion}));
            break;
        }
        case LoadStatus::kOutOfMemory: FileMessage(s, Say(CliText::kNoMemoryToRead)); break;
    }
    return kStatusFailed;
}

int Saved(const Session& s, const SaveOutcome& outcome) {
    if (!outcome.locked) {
        const std::string why = outcome.lock_problem == FileProblem::kDenied
                                    ? Say(CliText::kLockFileDenied, {PathText(s.path + ".lock")})
                                    : Say(CliText::kNoLockHere);
        FileMessage(s, Say(CliText::kSavedWithoutLock, {why}));
    }
    const std::string backup = PathText(s.path + ".bak");
    if (outcome.backup == BackupOutcome::kOlder && outcome.backup_problem == FileProblem::kHeld) {
        Message(s, Say(CliText::kBackupHeld, {backup}));
    } else if (outcome.backup == BackupOutcome::kOlder) {
        Message(s, Say(CliText::kBackupNotKept, {backup, ProblemText(outcome.backup_problem)}));
    }
    if (outcome.status != SaveStatus::kNotFlushed) return kStatusDone;
    const std::string why = ProblemText(outcome.problem);
    FileMessage(s, why.empty() ? Say(CliText::kNotFlushed) : Say(CliText::kNotFlushedBecause, {why}));
    return kStatusFailed;
}

namespace {

// Why a save or its start failed, said once; the exit status tells a script whether the
// same command may succeed later.
int SaveFailed(const Session& s, SaveStatus status, FileProblem problem) {
    const std::string why = ProblemText(problem);
    switch (status) {
        case SaveStatus::kBusy:
            FileMessage(s, Say(CliText::kSaveBusy, {kSaveLockWaitMs / 1000}));
            return kStatusTryAgain;
        case SaveStatus::kHeld: FileMessage(s, Say(CliText::kHeldNotSaved)); return kStatusTryAgain;
        case SaveStatus::kNotAFile: FileMessage(s, Say(CliText::kNothingChangedAfter, {why})); return kStatusFailed;
        case SaveStatus::kReadOnly:
            FileMessage(s, Say(CliText::kNotSavedNothingChanged,
                               {problem == FileProblem::kDenied ? Say(CliText::kMayNotWrite) : why}));
            return kStatusFailed;
        default:
            FileMessage(s, why.empty() ? Say(CliText::kNotSaved) : Say(CliText::kNotSavedBecause, {why}));
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
            Note(s, Say(CliText::kAlreadyHoldsSettings, {s.shown}));
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
            FileMessage(s, Say(CliText::kChangedAgain));
            status = kStatusTryAgain;
        } else {
            Note(s, Say(CliText::kChangedReadingAgain, {s.shown}));
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
        Message(s, Say(CliText::kOutputNotWritten, {ErrorText(out_error)}));
        return kStatusFailed;
    }
    if (err_failed && err_error != EPIPE) return kStatusFailed;
    // The commands that print give kStatusFailed for a write that failed; a reader that
    // stopped reading is none.
    if (out_failed && status == kStatusFailed) return kStatusDone;
    return status;
}
