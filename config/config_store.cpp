// Reading and writing a configuration file, for the window and qorcfg alike.
#include "config/config_store.h"

#include <cerrno>
#include <new>
#include <set>
#include <string>

#include "config/config_codec.h"
#include "config/file_system.h"

namespace {

void (*before_replace_hook)() = nullptr;

// The backups this process could neither refresh nor remove at a save that succeeded:
// each still holds the file from before an earlier save.
std::set<std::string> older_backups;

std::string BackupPathOf(const char* path) { return std::string(path) + ".bak"; }

std::size_t LayoutSize(std::uint16_t version, const GameConfig& c) {
    std::size_t size = 0;
    for (const ConfigLayoutItem& item :
         ConfigLayout(version, c.allowed_patterns.size(), c.denied_patterns.size(), c.opaque_records.size()))
        size += item.size;
    return size;
}

// Creates a new empty file beside `path`, named after it, this process and a counter, so
// that no two saves share a name and whatever stands at a name (a leftover of a crash, a
// folder) is passed over rather than blocking the save.
bool CreateTemporary(const char* path, std::string& temporary) {
    static unsigned long serial = 0;
    constexpr int kNamesTried = 100;
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        temporary = std::string(path) + "." + std::to_string(CurrentProcessId()) + "-" + std::to_string(serial++) +
                    ".tmp";
        if (CreateNewFile(temporary.c_str())) return true;
    }
    return false;
}

// Copies the file a save is about to replace into a new temporary file, which becomes
// the backup only once the save has succeeded: a failed save leaves the previous backup
// as it was. False when the copy failed; the save then goes on without a backup.
bool PrepareBackup(const char* path, const FileBytes& old, std::string& copy) {
    if (!CreateTemporary(path, copy)) return false;
    if (WriteFileBytes(copy.c_str(), old.View())) return true;
    RemoveFile(copy.c_str());
    return false;
}

// Puts the file a save replaced, copied to `copy` (empty: there is no copy, the file
// could not be read or copied), in the place of the backup once the save succeeded. A
// read-only backup is the tool's own and is replaced all the same; one another program
// holds is waited for as the file is. A backup that cannot be made the replaced file is
// removed, so that no older file stands for the one before this save; only where even
// that fails (held without sharing its removal) is it remembered as older.
void KeepBackup(const char* path, const std::string& copy, std::span<const std::uint8_t> old) {
    const std::string target = BackupPathOf(path);
    ClearReadOnly(target.c_str());
    const bool held = HeldByTest(target.c_str());
    bool kept = !copy.empty() && !held && PutFileInPlace(copy.c_str(), target.c_str(), old);
    if (!copy.empty()) RemoveFile(copy.c_str());  // gone already when it was moved into place
    std::uint64_t time = 0;
    if (!kept) kept = !FileWriteTime(target.c_str(), time) || (!held && RemoveFile(target.c_str()));
    if (kept) {
        older_backups.erase(target);
    } else {
        older_backups.insert(target);
    }
}

// What a save writes: a record, encoded once the fill has run, or bytes as they are.
struct SaveContent {
    const GameConfig* config;
    bool (*fill)();
    const std::vector<std::uint8_t>* bytes;
};

SaveStatus WriteThroughTemporary(const char* path, const SaveContent& content, const FileStamp* expected,
                                 FileStamp* written) {
    std::string temporary;
    if (!FileMayBeReplaced(path)) return SaveStatus::kReadOnly;
    if (!CreateTemporary(path, temporary)) return SaveStatus::kNotWritten;
    std::vector<std::uint8_t> encoded;
    bool ok = content.bytes != nullptr ||
              ((content.fill == nullptr || content.fill()) && EncodeConfig(*content.config, encoded));
    const std::vector<std::uint8_t>& bytes = content.bytes != nullptr ? *content.bytes : encoded;
    ok = ok && WriteFileBytes(temporary.c_str(), bytes);
    if (!ok) {
        RemoveFile(temporary.c_str());
        return SaveStatus::kNotWritten;
    }
    if (before_replace_hook != nullptr) before_replace_hook();
    // The file as it stands just before it is replaced: compared with what the caller
    // read, and kept as the backup. Waits briefly for a program that holds it, as the
    // load does. A file that stays unreadable is not known to have changed: the save
    // goes on as it would without the comparison (placing it waits and falls back to
    // writing in place), and fails as held when it cannot be placed either.
    FileBytes old;
    const ReadStatus old_read = ReadFileBytesWaiting(path, old);
    if (expected != nullptr && (old_read == ReadStatus::kOk || old_read == ReadStatus::kMissing)) {
        const FileStamp now = old_read == ReadStatus::kOk ? StampOf(old) : FileStamp{};
        if (!SameContent(now, *expected)) {
            RemoveFile(temporary.c_str());
            return SaveStatus::kChanged;
        }
    }
    std::string backup;
    if (old_read == ReadStatus::kOk && !PrepareBackup(path, old, backup)) backup.clear();
    const bool placed = !HeldByTest(path) && PutFileInPlace(temporary.c_str(), path, bytes);
    // Gone already when it was moved into place; still there when the new bytes were
    // written into the file in place or the save failed.
    RemoveFile(temporary.c_str());
    if (!placed) {
        if (!backup.empty()) RemoveFile(backup.c_str());
        return old_read == ReadStatus::kUnopenable ? SaveStatus::kHeld : SaveStatus::kNotReplaced;
    }
    // Where there was no file, the backup stays: it is still the last file a save replaced.
    if (old_read != ReadStatus::kMissing) KeepBackup(path, backup, old.View());
    if (written != nullptr) {
        std::uint64_t time = 0;
        FileWriteTime(path, time);
        *written = StampOf(bytes, time);
    }
    return SaveStatus::kSaved;
}

}  // namespace

LoadStatus LoadConfigFile(const char* path, GameConfig& config, std::vector<std::uint8_t>* bytes, int* error_number,
                          FileStamp* stamp) {
    errno = 0;
    FileBytes file;
    const ReadStatus read = ReadFileBytesWaiting(path, file);
    if (error_number != nullptr) *error_number = errno;
    if (stamp != nullptr) *stamp = read == ReadStatus::kOk ? StampOf(file) : FileStamp{};
    switch (read) {
        case ReadStatus::kOk: break;
        case ReadStatus::kMissing: return LoadStatus::kMissing;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError: return LoadStatus::kHeld;
        case ReadStatus::kOutOfMemory: return LoadStatus::kOutOfMemory;
    }
    if (bytes != nullptr) {
        try {
            bytes->assign(file.data.get(), file.data.get() + file.size);
        } catch (const std::bad_alloc&) {
            return LoadStatus::kOutOfMemory;
        }
    }
    switch (DecodeConfig(file.View(), config)) {
        case DecodeStatus::kOk: break;
        case DecodeStatus::kTooNew: return LoadStatus::kNewer;
        case DecodeStatus::kNoVersion: return LoadStatus::kNoVersion;
        case DecodeStatus::kOutOfMemory: return LoadStatus::kOutOfMemory;
    }
    const std::uint16_t version = ConfigFileVersion(file.View()).value_or(0);
    return file.size == LayoutSize(version, config) ? LoadStatus::kOk : LoadStatus::kDamaged;
}

SaveStatus SaveConfigFile(const char* path, const GameConfig& config, bool (*fill)(), const FileStamp* expected,
                          FileStamp* written) {
    return WriteThroughTemporary(path, {&config, fill, nullptr}, expected, written);
}

RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, const FileStamp* expected, FileStamp* written) {
    FileBytes saved;
    switch (ReadFileBytesWaiting(BackupPathOf(path).c_str(), saved)) {
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
    switch (WriteThroughTemporary(path, {nullptr, nullptr, &bytes}, expected, written)) {
        case SaveStatus::kSaved: break;
        case SaveStatus::kChanged: return RestoreStatus::kChanged;
        default: return RestoreStatus::kFailed;
    }
    config = std::move(restored);
    return RestoreStatus::kRestored;
}

bool ConfigBackupExists(const char* path) {
    std::uint64_t time = 0;
    return FileWriteTime(BackupPathOf(path).c_str(), time);
}

bool ConfigBackupIsOlder(const char* path) { return older_backups.count(BackupPathOf(path)) != 0; }

void SetBeforeReplaceHook(void (*hook)()) { before_replace_hook = hook; }
