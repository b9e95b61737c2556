// The window's load and save: the store's statuses turned into the tool's messages.
#include "ui/config_file.h"

#include <vector>

#include "config/config_codec.h"
#include "config/file_system.h"
#include "message/error_message.h"

namespace {

FileStamp config_file_stamp;
// The last save that replaced a file could neither refresh nor remove the backup.
bool backup_older = false;

// Every failure but a file another program changed is shown the one way the window has;
// a save that waited in vain for another writer says so, since trying again will do, and
// a save whose folder could not be flushed says that the file was written all the same.
// A file system that allows no lock is not said: a player can do nothing about it.
SaveStatus Reported(const SaveOutcome& outcome) {
    switch (outcome.status) {
        case SaveStatus::kSaved:
        case SaveStatus::kUnchanged:
        case SaveStatus::kChanged: break;
        case SaveStatus::kBusy: ShowErrorMessage(MessageId::kSaveBusy); break;
        case SaveStatus::kNotFlushed: ShowErrorMessage(MessageId::kSaveNotFlushed); break;
        default: ShowErrorMessage(MessageId::kSaveFailed); break;
    }
    return outcome.status;
}

// The file the window's record now stands for, once a save or restore wrote it.
void Remember(const SaveOutcome& outcome) {
    if (!outcome.Written()) return;
    config_file_stamp = outcome.written;
    if (outcome.backup != BackupOutcome::kUntouched) backup_older = outcome.backup == BackupOutcome::kOlder;
}

// One save transaction: the lock, then the harvest into the record, then the file.
SaveOutcome Save(const char* path, bool (*harvest)(), const FileStamp* expected) {
    SaveTransaction save(path);
    SaveRequest request;
    request.expected = expected;
    request.harvest = harvest;
    SaveOutcome outcome = save.Save(game_config, request);
    Remember(outcome);
    return outcome;
}

bool Written(SaveStatus status) { return status == SaveStatus::kSaved || status == SaveStatus::kNotFlushed; }

}  // namespace

bool WriteConfigFile() { return Written(Reported(Save(ConfigFilePath(), nullptr, nullptr))); }

bool SaveConfig(bool (*harvest)()) { return Written(Reported(Save(ConfigFilePath(), harvest, nullptr))); }

SaveStatus SaveConfigIfUnchanged(const char* path, const FileStamp& expected, bool (*harvest)(), FileStamp* found) {
    SaveOutcome outcome = Save(path, harvest, &expected);
    if (found != nullptr) *found = outcome.found;
    return Reported(outcome);
}

RestoreStatus RestoreConfigBackup(const char* path, GameConfig& config, const FileStamp& expected) {
    SaveOutcome outcome;
    const RestoreStatus status = RestoreConfigFile(path, config, &expected, &outcome);
    if (status == RestoreStatus::kRestored || status == RestoreStatus::kFailed || status == RestoreStatus::kBusy) {
        Remember(outcome);
        Reported(outcome);
    }
    return status;
}

const FileStamp& ConfigFileStamp() { return config_file_stamp; }

bool BackupIsOlder() { return backup_older; }

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
        // Created only where what the load found still stands (nothing, or the short
        // file): a file another program made while the message was open is read instead.
        const FileStamp found = config_file_stamp;
        const SaveStatus created = Reported(Save(ConfigFilePath(), nullptr, &found));
        if (created != SaveStatus::kChanged && !Written(created)) {
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
