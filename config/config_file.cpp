// Loading, creating and saving the configuration file.
#include "config/config_file.h"

#include <string>
#include <vector>

#include "config/config_codec.h"
#include "message/error_message.h"
#include "config/file_system.h"

namespace {

const char kReadFailedCreating[] = "コンフィグファイルが読み込めませんでした\n新規作成します";
const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";
const char kCreateFailed[] = "コンフィグファイルの新規作成に失敗しました";
const char kCreatedUnreadable[] = "作成されたコンフィグファイルが開けません";
const char kNewerVersion[] = "新しいバージョンのコンフィグファイルです";

// Attempts to open a file another program holds, with PauseBeforeRetry between them:
// about a second in all.
constexpr int kOpenTries = 10;

FileStamp config_file_stamp;
void (*before_replace_hook)() = nullptr;

// Reads the file, waiting briefly while another program holds it.
ReadStatus ReadConfigBytes(const char* path, FileBytes& bytes) {
    ReadStatus status = ReadFileBytes(path, bytes);
    for (int attempt = 1; attempt < kOpenTries && status == ReadStatus::kUnopenable; ++attempt) {
        PauseBeforeRetry();
        status = ReadFileBytes(path, bytes);
    }
    return status;
}

// The previous file, kept by every save that replaces one: the file's name with ".bak".
std::string BackupPathOf(const char* path) { return std::string(path) + ".bak"; }

// Creates a new empty file beside the configuration, named after it, this process and a
// counter, so that no two saves share a name and whatever stands at a name (a leftover
// of a crash, a folder) is passed over rather than blocking the save.
bool CreateTemporary(const char* config_path, std::string& path) {
    static unsigned long serial = 0;
    constexpr int kNamesTried = 100;
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        path = std::string(config_path) + "." + std::to_string(CurrentProcessId()) + "-" +
               std::to_string(serial++) + ".tmp";
        if (CreateNewFile(path.c_str())) return true;
    }
    return false;
}

// Copies the file a save is about to replace into a new temporary file, which becomes
// the backup only once the save has succeeded: a failed save leaves the previous backup
// as it was. False when the copy failed; the save then goes on without a backup.
bool PrepareBackup(const char* config_path, const FileBytes& old, std::string& path) {
    if (!CreateTemporary(config_path, path)) return false;
    if (WriteFileBytes(path.c_str(), old.View())) return true;
    RemoveFile(path.c_str());
    return false;
}

struct SaveRequest {
    const char* path;
    const FileStamp* expected;               // null: whatever the file holds is replaced
    bool (*harvest)();                       // null: nothing to harvest
    const std::vector<std::uint8_t>* bytes;  // null: game_config, encoded
};

// Writes the new content to a temporary file that takes the old file's place only once
// it is complete on disk, so a failed save never leaves a damaged or half-written file,
// and no file of ours is left behind whatever happens.
SaveStatus WriteThroughTemporary(const SaveRequest& request) {
    const char* path = request.path;
    std::string temp_path;
    if (!FileMayBeReplaced(path) || !CreateTemporary(path, temp_path)) {
        ShowErrorMessage(kSaveFailed);
        return SaveStatus::kFailed;
    }
    bool ok = request.harvest == nullptr || request.harvest();
    std::vector<std::uint8_t> encoded;
    if (request.bytes == nullptr) ok = ok && EncodeConfig(game_config, encoded);
    const std::vector<std::uint8_t>& bytes = request.bytes != nullptr ? *request.bytes : encoded;
    ok = ok && WriteFileBytes(temp_path.c_str(), bytes);
    if (ok && before_replace_hook != nullptr) before_replace_hook();
    // The file as it stands just before it is replaced: compared with what the caller
    // read, and kept as the backup. Waits briefly for a program that holds it, as the
    // replace would. A file that cannot be read cannot be shown to be unchanged.
    FileBytes old;
    const ReadStatus old_read = ok ? ReadConfigBytes(path, old) : ReadStatus::kMissing;
    if (ok && request.expected != nullptr) {
        const bool readable = old_read == ReadStatus::kOk || old_read == ReadStatus::kMissing;
        const FileStamp now = old_read == ReadStatus::kOk ? StampOf(old) : FileStamp{};
        if (!readable || !SameContent(now, *request.expected)) {
            RemoveFile(temp_path.c_str());
            return SaveStatus::kChanged;
        }
    }
    std::string backup_path;
    const bool backup = old_read == ReadStatus::kOk && PrepareBackup(path, old, backup_path);
    ok = ok && PutFileInPlace(temp_path.c_str(), path, bytes);
    // Gone already when it was moved into place; still there when the new bytes were
    // written into the file in place or the save failed.
    RemoveFile(temp_path.c_str());
    if (backup && !(ok && RenameOver(backup_path.c_str(), BackupPathOf(path).c_str())))
        RemoveFile(backup_path.c_str());
    if (!ok) {
        ShowErrorMessage(kSaveFailed);
        return SaveStatus::kFailed;
    }
    std::uint64_t written_time = 0;
    FileWriteTime(path, written_time);
    config_file_stamp = StampOf(bytes, written_time);
    return SaveStatus::kSaved;
}

bool Saved(const SaveRequest& request) { return WriteThroughTemporary(request) == SaveStatus::kSaved; }

}  // namespace

bool WriteConfigFile() { return Saved({ConfigFilePath(), nullptr, nullptr, nullptr}); }

bool SaveConfig(bool (*harvest)()) { return Saved({ConfigFilePath(), nullptr, harvest, nullptr}); }

SaveStatus SaveConfigIfUnchanged(const char* path, const FileStamp& expected, bool (*harvest)()) {
    return WriteThroughTemporary({path, &expected, harvest, nullptr});
}

const FileStamp& ConfigFileStamp() { return config_file_stamp; }

void SetBeforeReplaceHook(void (*hook)()) { before_replace_hook = hook; }

bool ConfigBackupExists(const char* path) {
    std::uint64_t time = 0;
    return FileWriteTime(BackupPathOf(path).c_str(), time);
}

RestoreStatus RestoreConfigBackup(const char* path, GameConfig& config) {
    FileBytes saved;
    switch (ReadConfigBytes(BackupPathOf(path).c_str(), saved)) {
        case ReadStatus::kOk: break;
        case ReadStatus::kMissing: return RestoreStatus::kNoBackup;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError:
        case ReadStatus::kOutOfMemory: return RestoreStatus::kBackupUnreadable;
    }
    // Only a backup the tool can read goes back: it is then what the window shows.
    GameConfig restored;
    ClearConfig(restored);
    switch (DecodeConfig(saved.View(), restored)) {
        case DecodeStatus::kOk: break;
        case DecodeStatus::kTooNew:
        case DecodeStatus::kNoVersion: return RestoreStatus::kBackupUnusable;
        case DecodeStatus::kOutOfMemory: return RestoreStatus::kBackupUnreadable;
    }
    const std::vector<std::uint8_t> bytes(saved.data.get(), saved.data.get() + saved.size);
    if (!Saved({path, nullptr, nullptr, &bytes})) return RestoreStatus::kFailed;
    config = std::move(restored);
    return RestoreStatus::kRestored;
}

bool LoadConfig() {
    ClearConfig(game_config);

    FileBytes bytes;
    ReadStatus read = ReadConfigBytes(ConfigFilePath(), bytes);
    // Only a file that is not there, or too short to hold its version, is created anew. A
    // file that exists but cannot be opened or read (another program holds it, access is
    // denied, the disk fails) holds settings we could not see: the load fails and nothing
    // is written.
    if (read == ReadStatus::kMissing || (read == ReadStatus::kOk && bytes.size < 2)) {
        ShowErrorMessage(kReadFailedCreating);
        SetConfigDefaults(game_config);
        for (int player = 0; player < 2; ++player) {
            game_config.options.input_method[player] = 0;
            game_config.options.key_map[player] = IdentityKeyMap();
        }
        if (!WriteConfigFile()) {
            ShowErrorMessage(kCreateFailed);
            return false;
        }
        read = ReadConfigBytes(ConfigFilePath(), bytes);
        if (read == ReadStatus::kOutOfMemory) return false;
        if (read != ReadStatus::kOk || bytes.size < 2) {
            ShowErrorMessage(kCreatedUnreadable);
            return false;
        }
    } else if (read != ReadStatus::kOk) {
        return false;
    }

    switch (DecodeConfig(bytes.View(), game_config)) {
        case DecodeStatus::kOk:
            config_file_stamp = StampOf(bytes);
            return true;
        case DecodeStatus::kTooNew:
            ShowErrorMessage(kNewerVersion);
            return false;
        case DecodeStatus::kNoVersion:
        case DecodeStatus::kOutOfMemory:
            break;
    }
    return false;
}
