// Reading and writing a configuration file, for the window and qorcfg alike.
#include "config/config_store.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <map>
#include <new>
#include <string>

#include "config/config_codec.h"
#include "config/file_system.h"

namespace {

void (*before_replace_hook)() = nullptr;

// How long a save waits for another writer's lock: far longer than a save takes, even
// one that waits about a second for a held file, and short enough to give up in.
int lock_wait_ms = 5000;
constexpr int kLockPollMs = 10;

// The backups this process could neither refresh nor remove at a save that succeeded:
// each still holds the file from before an earlier save, and why.
std::map<std::string, FileProblem> older_backups;

std::string BackupPathOf(const std::string& path) { return path + ".bak"; }

bool Exists(const std::string& path) {
    std::uint64_t time = 0;
    return FileWriteTime(path.c_str(), time);
}

std::size_t LayoutSize(std::uint16_t version, const GameConfig& c) {
    std::size_t size = 0;
    for (const ConfigLayoutItem& item :
         ConfigLayout(version, c.allowed_patterns.size(), c.denied_patterns.size(), c.opaque_records.size()))
        size += item.size;
    return size;
}

// True when `rest`, the part of a name after "GameConfig.dat.", is "PID-N.tmp": the
// temporary files of builds that named them after their process. Under the lock no save
// of ours runs, so every one of them is a leftover.
bool OldTemporaryName(const std::string& rest) {
    const std::size_t dash = rest.find('-');
    const std::size_t end = rest.size() >= 4 ? rest.size() - 4 : 0;
    if (dash == 0 || dash == std::string::npos || dash + 1 >= end || rest.compare(end, 4, ".tmp") != 0) return false;
    for (std::size_t i = 0; i < end; ++i)
        if (i != dash && (rest[i] < '0' || rest[i] > '9')) return false;
    return true;
}

// True when what was read just now is the file `expected` stands for.
bool StillExpected(ReadStatus read, const FileBytes& now, const FileStamp& expected) {
    if (read == ReadStatus::kMissing) return !expected.exists;
    if (read != ReadStatus::kOk || !expected.exists || now.size != expected.Bytes().size()) return false;
    return now.size == 0 || std::memcmp(now.data.get(), expected.Bytes().data(), now.size) == 0;
}

// Removes `names` in order, each waited for about a second while another program holds
// it (on Windows a holder of the file refuses the removal of its every name, the kept
// second name included).
void RemoveAll(std::initializer_list<const std::string*> names) {
    constexpr int kTries = 10;
    for (const std::string* name : names)
        for (int attempt = 1; Exists(*name) && !RemoveFile(name->c_str()) && attempt < kTries; ++attempt) {
            if (LastFileProblem() != FileProblem::kHeld && LastFileProblem() != FileProblem::kDenied) break;
            PauseBeforeRetry();
        }
}

}  // namespace

SaveTransaction::SaveTransaction(const char* path)
    : path_(ResolvedPath(path)),
      lock_path_(path_ + ".lock"),
      new_path_(path_ + ".new.tmp"),
      kept_path_(path_ + ".old.tmp") {}

SaveTransaction::~SaveTransaction() { ReleaseLock(lock_); }

SaveStatus SaveTransaction::Fail(SaveStatus status) {
    if (problem_ == FileProblem::kNone) problem_ = LastFileProblem();
    return status;
}

SaveStatus SaveTransaction::Begin() {
    ClearFileProblem();
    problem_ = ProblemAt(path_.c_str());
    if (problem_ != FileProblem::kNone) return SaveStatus::kNotAFile;
    if (!FileMayBeReplaced(path_.c_str())) return SaveStatus::kReadOnly;
    for (int waited = 0; !TryLockFile(lock_path_.c_str(), lock_); waited += kLockPollMs) {
        if (LastFileProblem() != FileProblem::kBusy) return Fail(SaveStatus::kNotWritten);
        if (waited >= lock_wait_ms) return Fail(SaveStatus::kBusy);
        PauseMilliseconds(kLockPollMs);
    }
    Recover();
    return SaveStatus::kSaved;
}

// What a crash left, read from the two names of a save in progress. The new content is
// written in full before the file being replaced gets its second name, and that second
// name goes before the new content's on an undo: so while the new content's name
// stands, the file was never replaced (undo); without it, the kept name is either still
// the file itself (undo) or the file that was replaced (finish: it becomes the backup).
// An empty kept file marks a save that could not keep the file it replaced (it could
// not be read): finishing it removes the backup, which no longer stands for that file.
void SaveTransaction::Recover() {
    bool touched = false;
    if (Exists(new_path_)) {
        RemoveAll({&kept_path_, &new_path_});
        touched = true;
    } else if (Exists(kept_path_)) {
        FileBytes kept;
        if (SameFile(path_.c_str(), kept_path_.c_str())) {
            RemoveFile(kept_path_.c_str());
        } else if (ReadFileBytes(kept_path_.c_str(), kept) == ReadStatus::kOk && kept.size == 0) {
            KeepBackup(std::string(), FileBytes{});  // the mark of a file that could not be kept
            RemoveFile(kept_path_.c_str());
        } else {
            KeepBackup(kept_path_, FileBytes{});
        }
        touched = true;
    }
    const std::size_t cut = path_.find_last_of("/\\");
    const std::string folder = cut == std::string::npos ? std::string() : path_.substr(0, cut + 1);
    const std::string listed = folder.size() > 1 ? folder.substr(0, cut) : folder;  // "/" stays the root
    const std::string prefix = path_.substr(folder.size()) + ".";
    for (const FolderEntry& entry : FilesStartingWith(listed, prefix))
        if (OldTemporaryName(entry.name.substr(prefix.size())))
            touched = RemoveFile((folder + entry.name).c_str()) || touched;
    if (touched) FlushFolderOf(path_.c_str());
}

// Makes `kept`, the file a save replaced, the backup. A read-only backup is the tool's
// own and is replaced all the same; one another program holds is waited for as the file
// is. A backup that cannot be made the replaced file is removed, so that no older file
// stands for the one before this save; only where even that fails (held without sharing
// its removal, a folder in its place) is it remembered as older. `old` holds the kept
// file's bytes when they were read; otherwise they are read only where the backup must
// be written in place.
void SaveTransaction::KeepBackup(const std::string& kept, const FileBytes& old) {
    const std::string target = BackupPathOf(path_);
    FileProblem problem = ProblemAt(target.c_str());
    if (HeldByTest(target.c_str())) problem = FileProblem::kHeld;
    bool done = false;
    if (problem == FileProblem::kNone && !kept.empty()) {
        ClearReadOnly(target.c_str());
        if (old.data) {
            done = PutFileInPlace(kept.c_str(), target.c_str(), old.View());
        } else if (!(done = RenameOver(kept.c_str(), target.c_str()))) {
            FileBytes bytes;
            done = ReadFileBytes(kept.c_str(), bytes) == ReadStatus::kOk &&
                   PutFileInPlace(kept.c_str(), target.c_str(), bytes.View());
        }
        if (!done && problem == FileProblem::kNone) problem = LastFileProblem();
    }
    // Gone already when it was moved into place; a rename onto a second name of the same
    // file leaves both.
    if (!kept.empty() && Exists(kept)) RemoveFile(kept.c_str());
    if (!done) done = !Exists(target) || (problem != FileProblem::kHeld && RemoveFile(target.c_str()));
    if (!done && problem == FileProblem::kNone) problem = LastFileProblem();
    if (done) {
        older_backups.erase(target);
    } else {
        older_backups[target] = problem == FileProblem::kNone ? FileProblem::kHeld : problem;
    }
}

SaveStatus SaveTransaction::Commit(std::vector<std::uint8_t> bytes, const FileStamp* expected, FileStamp* written,
                                   FileStamp* found) {
    ClearFileProblem();
    problem_ = FileProblem::kNone;
    // Whatever this attempt made and did not hand over is removed on every way out: the
    // kept name first, so that no crash leaves it standing without the new content's.
    struct Attempt {
        SaveTransaction& save;
        bool placed = false;
        ~Attempt() {
            if (!placed) RemoveAll({&save.kept_path_, &save.new_path_});
        }
    } attempt{*this};
    if (!CreateNewFile(new_path_.c_str())) return Fail(SaveStatus::kNotWritten);
    // Flushed before it takes the file's place, so that no crash can put a file in place
    // whose bytes are not yet on the disk.
    if (!WriteFileBytes(new_path_.c_str(), bytes)) return Fail(SaveStatus::kNotWritten);
    if (before_replace_hook != nullptr) before_replace_hook();
    // The file as it stands just before it is replaced is kept, under a second name (a
    // link, no copy) where the file system allows it, else as a copy. It is compared with
    // what the caller read through that name, so the backup is the file that was
    // checked. A file that stays unreadable is not known to have changed: the save goes
    // on without a backup of it (placing it waits and falls back to writing in place).
    const bool linked = !HeldByTest(path_.c_str()) && LinkFile(path_.c_str(), kept_path_.c_str());
    FileBytes old;
    ReadStatus old_read = ReadStatus::kOk;
    if (expected != nullptr || !linked) old_read = ReadFileBytesWaiting(linked ? kept_path_.c_str() : path_.c_str(), old);
    if (expected != nullptr && (old_read == ReadStatus::kOk || old_read == ReadStatus::kMissing) &&
        !StillExpected(old_read, old, *expected)) {
        if (found != nullptr) *found = old_read == ReadStatus::kOk ? StampOf(std::move(old)) : FileStamp{};
        return SaveStatus::kChanged;
    }
    bool kept = linked;
    if (!linked && old_read == ReadStatus::kOk)
        kept = CreateNewFile(kept_path_.c_str()) && WriteFileBytes(kept_path_.c_str(), old.View());
    if (!kept && Exists(kept_path_)) RemoveFile(kept_path_.c_str());
    // With no file to keep, the backup that stands would claim to be the file this save
    // replaced: it goes once the new file is in place, and an empty kept file marks that
    // until then, for the next transaction should this one be cut short. Where there was
    // no file, the backup stays: it is still the last file a save replaced.
    const bool drop_backup = !kept && old_read != ReadStatus::kMissing;
    if (drop_backup) CreateNewFile(kept_path_.c_str());
    if (HeldByTest(path_.c_str()) ||
        !PutFileInPlace(new_path_.c_str(), path_.c_str(), bytes, linked ? kept_path_.c_str() : nullptr)) {
        problem_ = LastFileProblem();
        return old_read == ReadStatus::kUnopenable ? SaveStatus::kHeld : SaveStatus::kNotReplaced;
    }
    attempt.placed = true;
    if (kept) KeepBackup(kept_path_, linked ? FileBytes{} : std::move(old));
    if (drop_backup) {
        KeepBackup(std::string(), FileBytes{});
        RemoveFile(kept_path_.c_str());
    }
    // One flush makes the new file's name and the backup's durable together, before the
    // save says it is done: a power loss before it takes both back (the old file and its
    // backup), and a crash between them leaves the kept name for the next transaction.
    FlushFolderOf(path_.c_str());
    if (written != nullptr) {
        std::uint64_t time = 0;
        FileWriteTime(path_.c_str(), time);
        *written = StampOf(std::move(bytes), time);
    }
    return SaveStatus::kSaved;
}

void SetSaveLockWait(int milliseconds) { lock_wait_ms = milliseconds; }

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
        case ReadStatus::kNotAFile: return LoadStatus::kNotAFile;
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

SaveStatus SaveConfigFile(const char* path, const GameConfig& config, const FileStamp* expected, FileStamp* written,
                          FileProblem* problem) {
    SaveTransaction save(path);
    SaveStatus status = save.Begin();
    std::vector<std::uint8_t> bytes;
    if (status == SaveStatus::kSaved)
        status = EncodeConfig(config, bytes) ? save.Commit(std::move(bytes), expected, written) : SaveStatus::kNotWritten;
    if (problem != nullptr) *problem = save.Problem();
    return status;
}

void FinishInterruptedSave(const char* path) {
    // Two looks when there is nothing to finish, which is almost always: a start-up pays
    // for the lock only after a crash.
    const std::string file = ResolvedPath(path);
    if (!Exists(file + ".new.tmp") && !Exists(file + ".old.tmp")) return;
    SaveTransaction save(path);
    int no_wait = 0;
    std::swap(no_wait, lock_wait_ms);
    save.Begin();
    std::swap(no_wait, lock_wait_ms);
}

RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, const FileStamp* expected, FileStamp* written,
                                FileProblem* problem) {
    SaveTransaction save(path);
    struct ProblemOnReturn {
        SaveTransaction& save;
        FileProblem* problem;
        ~ProblemOnReturn() {
            if (problem != nullptr) *problem = save.Problem();
        }
    } problem_on_return{save, problem};
    switch (save.Begin()) {
        case SaveStatus::kSaved: break;
        case SaveStatus::kBusy: return RestoreStatus::kBusy;
        default: return RestoreStatus::kFailed;
    }
    // Read under the lock, so that it is the backup of the last save that completed.
    FileBytes saved;
    switch (ReadFileBytesWaiting(BackupPathOf(save.Path()).c_str(), saved)) {
        case ReadStatus::kOk: break;
        case ReadStatus::kMissing: return RestoreStatus::kNoBackup;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError:
        case ReadStatus::kNotAFile:
        case ReadStatus::kOutOfMemory: return RestoreStatus::kBackupUnreadable;
    }
    // Only a backup the tool reads as it stands goes back: it is then what the window
    // shows. One shorter than its version's layout would put a cut file in place, which
    // the game reads with zeros where its lists were.
    GameConfig restored;
    ClearConfig(restored);
    switch (DecodeConfig(saved.View(), restored)) {
        case DecodeStatus::kOk: break;
        case DecodeStatus::kTooNew:
        case DecodeStatus::kNoVersion: return RestoreStatus::kBackupUnusable;
        case DecodeStatus::kOutOfMemory: return RestoreStatus::kBackupUnreadable;
    }
    if (saved.size < LayoutSize(ConfigFileVersion(saved.View()).value_or(0), restored)) return RestoreStatus::kBackupUnusable;
    std::vector<std::uint8_t> bytes(saved.data.get(), saved.data.get() + saved.size);
    switch (save.Commit(std::move(bytes), expected, written)) {
        case SaveStatus::kSaved: break;
        case SaveStatus::kChanged: return RestoreStatus::kChanged;
        default: return RestoreStatus::kFailed;
    }
    config = std::move(restored);
    return RestoreStatus::kRestored;
}

bool ConfigBackupExists(const char* path) {
    const std::string backup = BackupPathOf(ResolvedPath(path));
    return ProblemAt(backup.c_str()) == FileProblem::kNone && Exists(backup);
}

bool ConfigBackupIsOlder(const char* path) { return older_backups.count(BackupPathOf(ResolvedPath(path))) != 0; }

FileProblem ConfigBackupProblem(const char* path) {
    const auto found = older_backups.find(BackupPathOf(ResolvedPath(path)));
    return found == older_backups.end() ? FileProblem::kNone : found->second;
}

void SetBeforeReplaceHook(void (*hook)()) { before_replace_hook = hook; }
