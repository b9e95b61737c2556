// The reading and saving every command of qorcfg shares, and its messages.
#include "cli/session.h"

#include <cstring>

#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "config/config_store.h"

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
        case LoadStatus::kMissing:
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
        case SaveStatus::kHeld: FileMessage(s, "held by another program; not saved, nothing changed"); return kStatusTryAgain;
        default: FileMessage(s, "not saved; the file is as it was"); return kStatusFailed;
    }
    NoteOlderBackup(s);
    return kStatusDone;
}

int ReadModifyWrite(Session& s, const std::function<int()>& apply) {
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

