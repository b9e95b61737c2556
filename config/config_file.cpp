// The window's load and save: the store's statuses turned into the tool's messages.
#include "config/config_file.h"

#include "config/file_system.h"
#include "message/error_message.h"

namespace {

FileStamp config_file_stamp;

// Every failure but a file another program changed is shown the one way the window has.
SaveStatus Reported(SaveStatus status) {
    if (status != SaveStatus::kSaved && status != SaveStatus::kChanged) ShowErrorMessage(MessageId::kSaveFailed);
    return status;
}

}  // namespace

bool WriteConfigFile() {
    return Reported(SaveConfigFile(ConfigFilePath(), game_config, nullptr, nullptr, &config_file_stamp)) ==
           SaveStatus::kSaved;
}

bool SaveConfig(bool (*harvest)()) {
    return Reported(SaveConfigFile(ConfigFilePath(), game_config, harvest, nullptr, &config_file_stamp)) ==
           SaveStatus::kSaved;
}

SaveStatus SaveConfigIfUnchanged(const char* path, const FileStamp& expected, bool (*harvest)()) {
    return Reported(SaveConfigFile(path, game_config, harvest, &expected, &config_file_stamp));
}

RestoreStatus RestoreConfigBackup(const char* path, GameConfig& config, const FileStamp& expected) {
    const RestoreStatus status = RestoreConfigFile(path, config, &expected, &config_file_stamp);
    if (status == RestoreStatus::kFailed) ShowErrorMessage(MessageId::kSaveFailed);
    return status;
}

const FileStamp& ConfigFileStamp() { return config_file_stamp; }

bool LoadConfig() {
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
