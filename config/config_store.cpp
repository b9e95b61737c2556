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

// Reads the file, waiting briefly while another program holds it.
ReadStatus ReadHeldFile(const char* path, FileBytes& bytes) {
    ReadStatus status = ReadFileBytes(path, bytes);
    for (int attempt = 1; attempt < kOpenTries && status == ReadStatus::kUnopenable; ++attempt) {
        PauseBeforeRetry();
        status = ReadFileBytes(path, bytes);
    }
    return status;
}

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
// as it was. Waits briefly for a program that holds the file, as the replace would, so
// that a save which comes through after the wait still keeps the old file. False when
// there is nothing to keep or the copy failed; the save then goes on without a backup.
bool PrepareBackup(const char* path, std::string& copy) {
    FileBytes old;
    if (ReadHeldFile(path, old) != ReadStatus::kOk) return false;
    if (!CreateTemporary(path, copy)) return false;
    if (WriteFileBytes(copy.c_str(), old.View())) return true;
    RemoveFile(copy.c_str());
    return false;
}

}  // namespace

LoadStatus LoadConfigFile(const char* path, GameConfig& config, std::vector<std::uint8_t>* bytes, int* error_number) {
    errno = 0;
    FileBytes file;
    const ReadStatus read = ReadHeldFile(path, file);
    if (error_number != nullptr) *error_number = errno;
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

SaveStatus SaveConfigFile(const char* path, const GameConfig& config, bool (*fill)()) {
    std::string temporary;
    if (!FileMayBeReplaced(path)) return SaveStatus::kReadOnly;
    if (!CreateTemporary(path, temporary)) return SaveStatus::kNotWritten;
    std::vector<std::uint8_t> bytes;
    const bool written = (fill == nullptr || fill()) && EncodeConfig(config, bytes) &&
                         WriteFileBytes(temporary.c_str(), bytes);
    std::string backup;
    const bool backed_up = written && PrepareBackup(path, backup);
    const bool placed = written && PutFileInPlace(temporary.c_str(), path, bytes);
    // Gone already when it was moved into place; still there when the new bytes were
    // written into the file in place or the save failed.
    RemoveFile(temporary.c_str());
    const std::string backup_path = std::string(path) + ".bak";
    if (backed_up && !(placed && RenameOver(backup.c_str(), backup_path.c_str()))) RemoveFile(backup.c_str());
    if (!written) return SaveStatus::kNotWritten;
    return placed ? SaveStatus::kOk : SaveStatus::kNotReplaced;
}
