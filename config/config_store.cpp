// Reading and writing a configuration file, for the window and qorcfg alike.
#include "config/config_store.h"

#include <cerrno>
#include <new>
#include <string>

#include "config/config_codec.h"
#include "config/file_system.h"

namespace {

// Attempts to open a file another program holds, with PauseBeforeRetry between them:
// about a second in all.
constexpr int kOpenTries = 10;

void (*before_replace_hook)() = nullptr;

// Reads the file, waiting briefly while another program holds it.
ReadStatus ReadHeldFile(const char* path, FileBytes& bytes) {
    ReadStatus status = ReadFileBytes(path, bytes);
    for (int attempt = 1; attempt < kOpenTries && status == ReadStatus::kUnopenable; ++attempt) {
        PauseBeforeRetry();
        status = ReadFileBytes(path, bytes);
    }
    return status;
}

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
    // replace would. A file that cannot be read cannot be shown to be unchanged.
    FileBytes old;
    const ReadStatus old_read = ReadHeldFile(path, old);
    if (expected != nullptr) {
        const bool readable = old_read == ReadStatus::kOk || old_read == ReadStatus::kMissing;
        const FileStamp now = old_read == ReadStatus::kOk ? StampOf(old) : FileStamp{};
        if (!readable || !SameContent(now, *expected)) {
            RemoveFile(temporary.c_str());
            return SaveStatus::kChanged;
        }
    }
    std::string backup;
    const bool backed_up = old_read == ReadStatus::kOk && PrepareBackup(path, old, backup);
    const bool placed = PutFileInPlace(temporary.c_str(), path, bytes);
    // Gone already when it was moved into place; still there when the new bytes were
    // written into the file in place or the save failed.
    RemoveFile(temporary.c_str());
    if (backed_up && !(placed && RenameOver(backup.c_str(), BackupPathOf(path).c_str()))) RemoveFile(backup.c_str());
    if (!placed) return SaveStatus::kNotReplaced;
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
    const ReadStatus read = ReadHeldFile(path, file);
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

RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, FileStamp* written) {
    FileBytes saved;
    switch (ReadHeldFile(BackupPathOf(path).c_str(), saved)) {
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
    if (WriteThroughTemporary(path, {nullptr, nullptr, &bytes}, nullptr, written) != SaveStatus::kSaved)
        return RestoreStatus::kFailed;
    config = std::move(restored);
    return RestoreStatus::kRestored;
}

bool ConfigBackupExists(const char* path) {
    std::uint64_t time = 0;
    return FileWriteTime(BackupPathOf(path).c_str(), time);
}

void SetBeforeReplaceHook(void (*hook)()) { before_replace_hook = hook; }
