// The window's load and save: the store's statuses turned into the tool's messages.
#include "ui/config_file.h"

#include <vector>

#include "config/config_codec.h"
#include "config/file_system.h"
#include "message/error_message.h"

namespace {

FileStamp config_file_stamp;

// Every failure but a file another program changed is shown the one way the window has;
// a save that waited in vain for another writer says so, since trying again will do.
SaveStatus Reported(SaveStatus status) {
    if (status == SaveStatus::kBusy) {
        ShowErrorMessage(MessageId::kSaveBusy);
    } else if (status != SaveStatus::kSaved && status != SaveStatus::kChanged) {
        ShowErrorMessage(MessageId::kSaveFailed);
    }
    return status;
}

// One save transaction: the lock, then the harvest into the record, then the file.
SaveStatus Save(const char* path, bool (*harvest)(), const FileStamp* expected, FileStamp* found) {
    SaveTransaction save(path);
    SaveStatus status = save.Begin();
    if (status != SaveStatus::kSaved) return status;
    std::vector<std::uint8_t> bytes;
    if ((harvest != nullptr && !harvest()) || !EncodeConfig(game_config, bytes)) return SaveStatus::kNotWritten;
    return save.Commit(std::move(bytes), expected, &config_file_stamp, found);
}

}  // namespace

bool WriteConfigFile() { return Reported(Save(ConfigFilePath(), nullptr, nullptr, nullptr)) == SaveStatus::kSaved; }

bool SaveConfig(bool (*harvest)()) {
    return Reported(Save(ConfigFilePath(), harvest, nullptr, nullptr)) == SaveStatus::kSaved;
}

SaveStatus SaveConfigIfUnchanged(const char* path, const FileStamp& expected, bool (*harvest)(), FileStamp* found) {
    return Reported(Save(path, harvest, &expected, found));
}

RestoreStatus RestoreConfigBackup(const char* path, GameConfig& config, const FileStamp& expected) {
    const RestoreStatus status = RestoreConfigFile(path, config, &expected, &config_file_stamp);
    if (status == RestoreStatus::kFailed) ShowErrorMessage(MessageId::kSaveFailed);
    if (status == RestoreStatus::kBusy) ShowErrorMessage(MessageId::kSaveBusy);
    return status;
}

const FileStamp& ConfigFileStamp() { return config_file_stamp; }

bool LoadConfig() {
    FinishInterruptedSave(ConfigFilePath());
    // A file read replaces every field; the lists keep their buffers for it.
    LoadStatus status = LoadConfigFile(ConfigFilePath(), game_config, nullptr, nullptr, &config_file_stamp);
    if (status != LoadStatus::kOk && status != LoadStatus::kDamaged) ClearConfig(game_config);
    // Only a file that is not there, or too short to hold its version, is created anew. A
    // file that exists but cannot be opened or read (another program holds it, access is
    // denied, the disk fails) holds settings we could not see: the load fails and nothing
    // is written.
    if (status == LoadStatus::kMissing || status == LoadStatus::kNoVersion) {
        ShowErrorMessage(MessageId::kConfigUnreadableCreating);
        NewFileConfig(game_config);
        if (!WriteConfigFile()) {
            ShowErrorMessage(MessageId::kCreateFailed);
            return false;
        }
        status = LoadConfigFile(ConfigFilePath(), game_config, nullptr, nullptr, &config_file_stamp);
        if (status == LoadStatus::kOutOfMemory) return false;
        if (status == LoadStatus::kMissing || status == LoadStatus::kNoVersion || status == LoadStatus::kHeld) {
            ShowErrorMessage(MessageId::kCreatedUnopenable);
            return false;
        }
    }
    switch (status) {
        case LoadStatus::kOk:
        case LoadStatus::kDamaged: return true;
        case LoadStatus::kNewer: ShowErrorMessage(MessageId::kNewerVersion); return false;
        default: return false;
    }
}
