// Reading and writing a configuration file, for the window and qorcfg alike.
#include "config/config_store.h"

#include <cerrno>
#include <cstring>
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

// A name beside `path` for a temporary file of ours: "GameConfig.dat.PID-N.tmp", after
// this process and a counter, so that no two saves share a name.
std::string TemporaryName(const char* path) {
    static unsigned long serial = 0;
    return std::string(path) + "." + std::to_string(CurrentProcessId()) + "-" + std::to_string(serial++) + ".tmp";
}

// Creates a new empty temporary file beside `path`; whatever stands at a name (a
// leftover, a folder) is passed over rather than blocking the save.
bool CreateTemporary(const char* path, std::string& temporary) {
    constexpr int kNamesTried = 100;
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        temporary = TemporaryName(path);
        if (CreateNewFile(temporary.c_str())) return true;
    }
    return false;
}

// The process number in `rest`, the part of a name after "GameConfig.dat.", when it is
// exactly "PID-N.tmp"; 0 when it is not a name of ours.
unsigned long TemporaryOwner(const std::string& rest) {
    const std::size_t dash = rest.find('-');
    const std::size_t end = rest.size() >= 4 ? rest.size() - 4 : 0;
    if (dash == 0 || dash == std::string::npos || dash + 1 >= end || rest.compare(end, 4, ".tmp") != 0) return 0;
    for (std::size_t i = 0; i < end; ++i)
        if (i != dash && (rest[i] < '0' || rest[i] > '9')) return 0;
    return std::strtoul(rest.c_str(), nullptr, 10);
}

// A save cut short (the process killed, the power lost) leaves its temporary files
// beside the file, and nothing else would ever remove them. Removed here: the files of
// our own naming last written before this process started, unless the process they
// name still runs (another instance in the middle of its own save). Nothing else is
// touched.
void RemoveLeftoverTemporaries(const char* path) {
    const std::string whole(path);
    const std::size_t cut = whole.find_last_of("/\\");
    const std::string folder = cut == std::string::npos ? std::string() : whole.substr(0, cut + 1);
    const std::string listed = folder.size() > 1 ? folder.substr(0, cut) : folder;  // "/" stays the root
    const std::string prefix = whole.substr(folder.size()) + ".";
    const std::uint64_t started = ProcessStartTime();
    for (const FolderEntry& entry : FilesStartingWith(listed, prefix)) {
        const unsigned long owner = TemporaryOwner(entry.name.substr(prefix.size()));
        if (owner == 0 || entry.write_time >= started) continue;
        if (owner != CurrentProcessId() && ProcessIsRunning(owner)) continue;
        RemoveFile((folder + entry.name).c_str());
    }
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

// Puts the file a save replaced, kept under the temporary name `copy` (empty: there is
// none, the file could not be read or copied), in the place of the backup once the save
// succeeded. A read-only backup is the tool's own and is replaced all the same; one
// another program holds is waited for as the file is. A backup that cannot be made the
// replaced file is removed, so that no older file stands for the one before this save;
// only where even that fails (held without sharing its removal) is it remembered as
// older. `old` holds the replaced file's bytes when they were read; a linked copy that
// was not read is read only where the backup must be written in place.
void KeepBackup(const char* path, const std::string& copy, const FileBytes& old) {
    const std::string target = BackupPathOf(path);
    ClearReadOnly(target.c_str());
    const bool held = HeldByTest(target.c_str());
    bool kept = false;
    if (!copy.empty() && !held) {
        if (old.data) {
            kept = PutFileInPlace(copy.c_str(), target.c_str(), old.View());
        } else if (!(kept = RenameOver(copy.c_str(), target.c_str()))) {
            FileBytes bytes;
            kept = ReadFileBytes(copy.c_str(), bytes) == ReadStatus::kOk &&
                   PutFileInPlace(copy.c_str(), target.c_str(), bytes.View());
        }
    }
    // Gone already when it was moved into place; a rename onto a second name of the same
    // file leaves both.
    if (!copy.empty()) RemoveFile(copy.c_str());
    std::uint64_t time = 0;
    if (!kept) kept = !FileWriteTime(target.c_str(), time) || (!held && RemoveFile(target.c_str()));
    if (kept) {
        older_backups.erase(target);
    } else {
        older_backups.insert(target);
    }
}

// What a save writes: a record, encoded once the fill has run, or bytes as they are
// (taken over by the save).
struct SaveContent {
    const GameConfig* config;
    bool (*fill)();
    std::vector<std::uint8_t>* bytes;
};

// True when what was read just now is the file `expected` stands for.
bool StillExpected(ReadStatus read, const FileBytes& now, const FileStamp& expected) {
    if (read == ReadStatus::kMissing) return !expected.exists;
    if (read != ReadStatus::kOk || !expected.exists || now.size != expected.Bytes().size()) return false;
    return now.size == 0 || std::memcmp(now.data.get(), expected.Bytes().data(), now.size) == 0;
}

SaveStatus WriteThroughTemporary(const char* path, const SaveContent& content, const FileStamp* expected,
                                 FileStamp* written) {
    std::string temporary;
    if (!FileMayBeReplaced(path)) return SaveStatus::kReadOnly;
    RemoveLeftoverTemporaries(path);
    if (!CreateTemporary(path, temporary)) return SaveStatus::kNotWritten;
    std::vector<std::uint8_t> encoded;
    bool ok = content.bytes != nullptr ||
              ((content.fill == nullptr || content.fill()) && EncodeConfig(*content.config, encoded));
    std::vector<std::uint8_t>& bytes = content.bytes != nullptr ? *content.bytes : encoded;
    // Flushed before it takes the file's place, so that no crash can put a file in place
    // whose bytes are not yet on the disk.
    ok = ok && WriteFileBytes(temporary.c_str(), bytes);
    if (!ok) {
        RemoveFile(temporary.c_str());
        return SaveStatus::kNotWritten;
    }
    if (before_replace_hook != nullptr) before_replace_hook();
    // The file as it stands just before it is replaced is kept as the backup: under a
    // second name (a link, no copy) where the file system allows it, else as a copy.
    // It is compared with what the caller read, through that name, so the backup is
    // the file that was checked. Waits briefly for a program that holds it, as the
    // load does. A file that stays unreadable is not known to have changed: the save
    // goes on as it would without the comparison (placing it waits and falls back to
    // writing in place), and fails as held when it cannot be placed either.
    std::string backup = TemporaryName(path);
    const bool linked = !HeldByTest(path) && LinkFile(path, backup.c_str());
    if (!linked) backup.clear();
    FileBytes old;
    ReadStatus old_read = ReadStatus::kOk;
    if (expected != nullptr || !linked) old_read = ReadFileBytesWaiting(linked ? backup.c_str() : path, old);
    if (expected != nullptr && (old_read == ReadStatus::kOk || old_read == ReadStatus::kMissing) &&
        !StillExpected(old_read, old, *expected)) {
        RemoveFile(temporary.c_str());
        if (linked) RemoveFile(backup.c_str());
        return SaveStatus::kChanged;
    }
    if (!linked && old_read == ReadStatus::kOk && !PrepareBackup(path, old, backup)) backup.clear();
    const bool placed =
        !HeldByTest(path) && PutFileInPlace(temporary.c_str(), path, bytes, linked ? backup.c_str() : nullptr);
    // Gone already when it was moved into place; still there when the new bytes were
    // written into the file in place or the save failed.
    RemoveFile(temporary.c_str());
    if (!placed) {
        if (!backup.empty()) RemoveFile(backup.c_str());
        return old_read == ReadStatus::kUnopenable ? SaveStatus::kHeld : SaveStatus::kNotReplaced;
    }
    // Where there was no file, the backup stays: it is still the last file a save replaced.
    if (old_read != ReadStatus::kMissing) KeepBackup(path, backup, old);
    if (written != nullptr) {
        std::uint64_t time = 0;
        FileWriteTime(path, time);
        *written = StampOf(std::move(bytes), time);
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
    if (stamp != nullptr) *stamp = FileStamp{};
    // The stamp takes over the buffer read once the decode is done with it, whatever it found.
    struct StampOnReturn {
        FileStamp* stamp;
        FileBytes& file;
        ~StampOnReturn() {
            if (stamp != nullptr && file.data) *stamp = StampOf(std::move(file));
        }
    } stamp_on_return{read == ReadStatus::kOk ? stamp : nullptr, file};
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
    std::vector<std::uint8_t> bytes(saved.data.get(), saved.data.get() + saved.size);
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
