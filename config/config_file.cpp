// The window's load and save: the store's statuses turned into the tool's messages.
#include "config/config_file.h"

#include "config/config_store.h"
#include "config/file_system.h"
#include "message/error_message.h"

namespace {

bool Saved(SaveStatus status) {
    if (status == SaveStatus::kOk) return true;
    ShowErrorMessage(MessageId::kSaveFailed);
    return false;
}

}  // namespace

bool WriteConfigFile() { return Saved(SaveConfigFile(ConfigFilePath(), game_config)); }

bool SaveConfig(bool (*harvest)()) { return Saved(SaveConfigFile(ConfigFilePath(), game_config, harvest)); }

bool LoadConfig() {
    ClearConfig(game_config);
    LoadStatus status = LoadConfigFile(ConfigFilePath(), game_config);
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
        status = LoadConfigFile(ConfigFilePath(), game_config);
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
