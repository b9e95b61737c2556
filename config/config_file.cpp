// Loading, creating and saving the configuration file.
#include "config/config_file.h"

#include <string>
#include <vector>

#include "config/config_codec.h"
#include "message/error_message.h"
#include "config/file_system.h"

namespace {


// Attempts to open a file another program holds, with PauseBeforeRetry between them:
// about a second in all.
constexpr int kOpenTries = 10;

// Reads the file, waiting briefly while another program holds it.
ReadStatus ReadConfigBytes(FileBytes& bytes) {
    ReadStatus status = ReadFileBytes(ConfigFilePath(), bytes);
    for (int attempt = 1; attempt < kOpenTries && status == ReadStatus::kUnopenable; ++attempt) {
        PauseBeforeRetry();
        status = ReadFileBytes(ConfigFilePath(), bytes);
    }
    return status;
}

// Creates a new empty file beside the configuration, named after it, this process and a
// counter, so that no two saves share a name and whatever stands at a name (a leftover
// of a crash, a folder) is passed over rather than blocking the save.
bool CreateTemporary(std::string& path) {
    static unsigned long serial = 0;
    constexpr int kNamesTried = 100;
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        path = std::string(ConfigFilePath()) + "." + std::to_string(CurrentProcessId()) + "-" +
               std::to_string(serial++) + ".tmp";
        if (CreateNewFile(path.c_str())) return true;
    }
    return false;
}

// Copies the file a save is about to replace into a new temporary file, which becomes
// the backup only once the save has succeeded: a failed save leaves the previous backup
// as it was. Waits briefly for a program that holds the file, as the replace would, so
// that a save which comes through after the wait still keeps the old file. False when
// there is nothing to keep or the copy failed; the save then goes on without a backup.
bool PrepareBackup(std::string& path) {
    FileBytes old;
    if (ReadConfigBytes(old) != ReadStatus::kOk) return false;
    if (!CreateTemporary(path)) return false;
    if (WriteFileBytes(path.c_str(), old.View())) return true;
    RemoveFile(path.c_str());
    return false;
}

// Writes game_config to a temporary file that takes the old file's place only once it is
// complete on disk, so a failed save never leaves a damaged or half-written file, and no
// file of ours is left behind whatever happens.
bool WriteThroughTemporary(bool (*harvest)()) {
    std::string temp_path;
    if (!FileMayBeReplaced(ConfigFilePath()) || !CreateTemporary(temp_path)) {
        ShowErrorMessage(MessageId::kSaveFailed);
        return false;
    }
    bool ok = harvest == nullptr || harvest();
    std::vector<std::uint8_t> bytes;
    ok = ok && EncodeConfig(game_config, bytes);
    ok = ok && WriteFileBytes(temp_path.c_str(), bytes);
    std::string backup_path;
    const bool backup = ok && PrepareBackup(backup_path);
    ok = ok && PutFileInPlace(temp_path.c_str(), ConfigFilePath(), bytes);
    // Gone already when it was moved into place; still there when the new bytes were
    // written into the file in place or the save failed.
    RemoveFile(temp_path.c_str());
    if (backup && !(ok && RenameOver(backup_path.c_str(), ConfigBackupPath()))) RemoveFile(backup_path.c_str());
    if (!ok) ShowErrorMessage(MessageId::kSaveFailed);
    return ok;
}

}  // namespace

bool WriteConfigFile() { return WriteThroughTemporary(nullptr); }

bool SaveConfig(bool (*harvest)()) { return WriteThroughTemporary(harvest); }

bool LoadConfig() {
    ClearConfig(game_config);

    FileBytes bytes;
    ReadStatus read = ReadConfigBytes(bytes);
    // Only a file that is not there, or too short to hold its version, is created anew. A
    // file that exists but cannot be opened or read (another program holds it, access is
    // denied, the disk fails) holds settings we could not see: the load fails and nothing
    // is written.
    if (read == ReadStatus::kMissing || (read == ReadStatus::kOk && bytes.size < 2)) {
        ShowErrorMessage(MessageId::kConfigUnreadableCreating);
        SetConfigDefaults(game_config);
        for (int player = 0; player < 2; ++player) {
            game_config.options.input_method[player] = 0;
            game_config.options.key_map[player] = IdentityKeyMap();
        }
        if (!WriteConfigFile()) {
            ShowErrorMessage(MessageId::kCreateFailed);
            return false;
        }
        read = ReadConfigBytes(bytes);
        if (read == ReadStatus::kOutOfMemory) return false;
        if (read != ReadStatus::kOk || bytes.size < 2) {
            ShowErrorMessage(MessageId::kCreatedUnopenable);
            return false;
        }
    } else if (read != ReadStatus::kOk) {
        return false;
    }

    switch (DecodeConfig(bytes.View(), game_config)) {
        case DecodeStatus::kOk:
            return true;
        case DecodeStatus::kTooNew:
            ShowErrorMessage(MessageId::kNewerVersion);
            return false;
        case DecodeStatus::kNoVersion:
        case DecodeStatus::kOutOfMemory:
            break;
    }
    return false;
}
