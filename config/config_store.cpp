// Reading and writing a configuration file, for the window and qorcfg alike.
#include "config/config_store.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>

#include "config/config_codec.h"
#include "config/file_system.h"

namespace {

void (*before_replace_hook)() = nullptr;

constexpr int kLockPollMs = 10;

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

// True when `bytes`, a record's encoding, are what the record read from `read` encodes
// as: byte for byte, so that two texts the file's code page stores alike are the same,
// and a file of an older version reads as what it would be saved as. A file of the
// current version the same size as `bytes` encodes as itself, when it is in its exact
// layout, or as something of another size: only other files are decoded again.
bool EncodesAsRead(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& read) {
    if (bytes == read) return true;
    if (ConfigFileVersion(read) == kCurrentConfigVersion && read.size() == bytes.size()) return false;
    GameConfig config;
    ClearConfig(config);
    std::vector<std::uint8_t> again;
    return DecodeConfig(read, config) == DecodeStatus::kOk && EncodeConfig(config, again) && again == bytes;
}

// Decodes a file read whole; `bytes`, when given, receives a copy of it.
LoadStatus DecodeRead(const FileBytes& file, GameConfig& config, std::vector<std::uint8_t>* bytes) {
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

}  // namespace

SaveTransaction::SaveTransaction(const char* path)
    : path_(ResolvedPath(path)),
      lock_path_(path_ + ".lock"),
      new_path_(path_ + ".new.tmp"),
      kept_path_(path_ + ".old.tmp"),
      mark_path_(path_ + ".put.tmp") {}

SaveTransaction::~SaveTransaction() {
    Undo();
    ReleaseLock(lock_);
}

bool SaveTransaction::Interrupted() const {
    return Exists(new_path_) || Exists(kept_path_) || Exists(mark_path_);
}

SaveStatus SaveTransaction::Fail(SaveStatus status) {
    if (problem_ == FileProblem::kNone) problem_ = LastFileProblem();
    return status;
}

SaveStatus SaveTransaction::Begin(int lock_wait_ms) {
    ClearFileProblem();
    problem_ = ProblemAt(path_.c_str());
    if (problem_ != FileProblem::kNone) return SaveStatus::kNotAFile;
    problem_ = WriteProblemAt(path_.c_str());
    if (problem_ != FileProblem::kNone) return SaveStatus::kReadOnly;
    for (int waited = 0;; waited += kLockPollMs) {
        const LockResult lock = TryLockFile(lock_path_.c_str(), lock_, path_.c_str());
        if (lock == LockResult::kLocked) break;
        // As the tool saved before it took a lock: a save must not become impossible on a
        // drive where it used to work.
        if (lock == LockResult::kImpossible) {
            lock_problem_ = LastFileProblem();
            break;
        }
        if (lock == LockResult::kFailed) return Fail(SaveStatus::kNotWritten);
        if (waited >= lock_wait_ms) return Fail(SaveStatus::kBusy);
        PauseMilliseconds(kLockPollMs);
    }
    if (!Recover()) {
        ReleaseLock(lock_);
        problem_ = FileProblem::kHeld;
        return SaveStatus::kHeld;
    }
    begun_ = true;
    return SaveStatus::kBegun;
}

// What a crash left, read from the names of a save in progress. The new content is
// written in full before the file being replaced gets its second name (the kept file),
// and that second name goes before the new content's on an undo: so while the new
// content's name stands, the file was never replaced (undo); without it, the kept name is
// either still the file itself (undo) or the file that was replaced (finish: it becomes
// the backup). A mark (the new content renamed while it is written into the file in
// place) with a kept file beside it is a write in place that may have begun: it is done
// again, so that a mix of old and new bytes never stays, and never does an unchanged
// file's copy become the backup. A file that is gone meanwhile (a user, a cleaner, a
// power loss on a drive without a journal) takes no content with it: the newest
// complete content there is becomes the file, and the kept one the backup. False when a
// write in place could not be done again (the file is held): nothing may be saved then.
bool SaveTransaction::Recover() {
    bool touched = true;
    if (Exists(mark_path_)) {
        if (!Exists(kept_path_) && Exists(path_)) {
            RemoveFile(mark_path_.c_str());  // an undo cut short: the file holds its old bytes
        } else {
            FileBytes content;
            if (ReadFileBytes(mark_path_.c_str(), content) != ReadStatus::kOk ||
                PutFileInPlace(mark_path_.c_str(), path_.c_str(), content.View(), nullptr, mark_path_.c_str()) !=
                    Placed::kPlaced)
                return false;
            FinishKept();
        }
    } else if (Exists(new_path_)) {
        if (!Exists(path_) && NewContentComplete() && RenameOver(new_path_.c_str(), path_.c_str())) {
            FinishKept();
        } else {
            RemoveAll({&kept_path_, &new_path_});
        }
    } else if (Exists(kept_path_)) {
        if (SameFile(path_.c_str(), kept_path_.c_str())) {
            RemoveFile(kept_path_.c_str());
        } else {
            FinishKept();
        }
    } else {
        touched = false;
    }
    const std::size_t cut = path_.find_last_of("/\\");
    const std::string folder = cut == std::string::npos ? std::string() : path_.substr(0, cut + 1);
    const std::string listed = folder.size() > 1 ? folder.substr(0, cut) : folder;  // "/" stays the root
    const std::string prefix = path_.substr(folder.size()) + ".";
    for (const FolderEntry& entry : FilesStartingWith(listed, prefix))
        if (OldTemporaryName(entry.name.substr(prefix.size())))
            touched = RemoveFile((folder + entry.name).c_str()) || touched;
    if (touched) FlushFolderOf(path_.c_str());
    return true;
}

// True when the new content left by a crash is a whole file: it decodes, and holds at
// least its version's layout (a write cut short ends inside the lists its counts name).
bool SaveTransaction::NewContentComplete() const {
    FileBytes content;
    GameConfig config;
    ClearConfig(config);
    return ReadFileBytes(new_path_.c_str(), content) == ReadStatus::kOk &&
           DecodeConfig(content.View(), config) == DecodeStatus::kOk &&
           content.size >= LayoutSize(ConfigFileVersion(content.View()).value_or(0), config);
}

// After a crash: the kept file, the one a save replaced, becomes the backup. An empty one
// marks a save that could not keep the file it replaced (it could not be read): the
// backup, which stands for an older file, goes with it.
SaveTransaction::Kept SaveTransaction::FinishKept() {
    if (!Exists(kept_path_)) return {BackupOutcome::kUntouched, FileProblem::kNone};
    FileBytes kept;
    if (ReadFileBytes(kept_path_.c_str(), kept) != ReadStatus::kOk || kept.size != 0)
        return KeepBackup(kept_path_, FileBytes{});
    const Kept removed = KeepBackup(std::string(), FileBytes{});
    RemoveFile(kept_path_.c_str());
    return removed;
}

// Makes `kept`, the file a save replaced, the backup (none: removes the backup). A
// read-only backup is the tool's own and is replaced all the same; one another program
// holds is waited for as the file is, and written in place where it can be. A backup that
// cannot be made the replaced file is removed, so that no older file stands for the one
// before this save; only where even that fails (held without sharing its removal, a
// folder in its place) does it stay, older. `old` holds the kept file's bytes when they
// were read; otherwise they are read only where the backup must be written in place.
SaveTransaction::Kept SaveTransaction::KeepBackup(const std::string& kept, const FileBytes& old) {
    const std::string target = BackupPathOf(path_);
    FileProblem problem = ProblemAt(target.c_str());
    if (HeldByTest(target.c_str())) problem = FileProblem::kHeld;
    bool done = false;
    if (problem == FileProblem::kNone && !kept.empty()) {
        ClearReadOnly(target.c_str());
        done = RenameOver(kept.c_str(), target.c_str());
        FileBytes read;
        if (!done && (old.data || ReadFileBytes(kept.c_str(), read) == ReadStatus::kOk))
            done = PutFileInPlace(kept.c_str(), target.c_str(), old.data ? old.View() : read.View(), nullptr,
                                  kept.c_str()) == Placed::kPlaced;
        if (!done) problem = LastFileProblem();
    }
    // Gone already when it was moved into place; a rename onto a second name of the same
    // file leaves both.
    if (!kept.empty() && Exists(kept)) RemoveFile(kept.c_str());
    if (done) return {BackupOutcome::kKept, FileProblem::kNone};
    if (!Exists(target) || (problem != FileProblem::kHeld && RemoveFile(target.c_str())))
        return {BackupOutcome::kRemoved, FileProblem::kNone};
    if (problem == FileProblem::kNone) problem = LastFileProblem();
    return {BackupOutcome::kOlder, problem == FileProblem::kNone ? FileProblem::kHeld : problem};
}

// What a commit made and has not handed over goes, the kept name first, so that no crash
// leaves it standing without the new content's.
void SaveTransaction::Undo() {
    if (!half_done_) return;
    half_done_ = false;
    RemoveAll({&kept_path_, &new_path_});
}

SaveOutcome SaveTransaction::Commit(std::vector<std::uint8_t> bytes, const FileStamp* expected) {
    ClearFileProblem();
    SaveOutcome outcome = Attempt(std::move(bytes), expected);
    Undo();
    outcome.locked = Locked();
    outcome.lock_problem = lock_problem_;
    return outcome;
}

// The steps of a commit, each failure a return: Commit undoes what they left.
SaveOutcome SaveTransaction::Attempt(std::vector<std::uint8_t> bytes, const FileStamp* expected) {
    SaveOutcome outcome;
    half_done_ = true;
    // Flushed before it takes the file's place, so that no crash can put a file in place
    // whose bytes are not yet on the disk.
    if (!CreateNewFile(new_path_.c_str()) || !WriteFileBytes(new_path_.c_str(), bytes)) {
        outcome.problem = LastFileProblem();
        return outcome;
    }
    if (before_replace_hook != nullptr) before_replace_hook();
    // The file as it stands just before it is replaced is kept, under a second name (a
    // link, no copy) where the file system allows it, else as a copy with its ownership.
    // It is compared with what the caller read through that name, so the backup is the
    // file that was checked. A file that stays unreadable is not known to have changed:
    // the save goes on without a backup of it (placing it waits and falls back to writing
    // in place).
    const bool linked = !HeldByTest(path_.c_str()) && LinkFile(path_.c_str(), kept_path_.c_str());
    FileBytes old;
    ReadStatus old_read = ReadStatus::kOk;
    if (expected != nullptr || !linked) old_read = ReadFileBytesWaiting(linked ? kept_path_.c_str() : path_.c_str(), old);
    if (expected != nullptr && (old_read == ReadStatus::kOk || old_read == ReadStatus::kMissing) &&
        !StillExpected(old_read, old, *expected)) {
        if (old_read == ReadStatus::kOk) outcome.found = StampOf(std::move(old));
        outcome.status = SaveStatus::kChanged;
        return outcome;
    }
    bool kept = linked;
    if (!linked && old_read == ReadStatus::kOk) {
        kept = CreateNewFile(kept_path_.c_str()) && WriteFileBytes(kept_path_.c_str(), old.View());
        if (kept) CopyOwnership(path_.c_str(), kept_path_.c_str());
    }
    if (!kept && Exists(kept_path_)) RemoveFile(kept_path_.c_str());
    // With no file to keep, the backup that stands would claim to be the file this save
    // replaced: it goes once the new file is in place, and an empty kept file marks that
    // until then, for the next transaction should this one be cut short. Where there was
    // no file, the backup stays: it is still the last file a save replaced.
    const bool drop_backup = !kept && old_read != ReadStatus::kMissing;
    if (drop_backup) CreateNewFile(kept_path_.c_str());
    Placed placed = Placed::kNotPlaced;
    if (HeldByTest(path_.c_str())) {
        NoteFileProblem(FileProblem::kHeld);
    } else {
        placed = PutFileInPlace(new_path_.c_str(), path_.c_str(), bytes, linked ? kept_path_.c_str() : nullptr,
                                mark_path_.c_str());
    }
    if (placed != Placed::kPlaced) {
        // A write in place cut short leaves its mark and the kept file: the next
        // transaction writes it again, so they stay.
        if (placed == Placed::kCut) half_done_ = false;
        outcome.problem = LastFileProblem();
        outcome.status = old_read == ReadStatus::kUnopenable || outcome.problem == FileProblem::kHeld
                             ? SaveStatus::kHeld
                             : SaveStatus::kNotReplaced;
        return outcome;
    }
    half_done_ = false;
    Kept backup = {BackupOutcome::kUntouched, FileProblem::kNone};
    if (kept) {
        backup = KeepBackup(kept_path_, linked ? FileBytes{} : std::move(old));
    } else if (drop_backup) {
        backup = KeepBackup(std::string(), FileBytes{});
        RemoveFile(kept_path_.c_str());
    }
    outcome.backup = backup.outcome;
    outcome.backup_problem = backup.problem;
    // One flush makes the new file's name and the backup's durable together, before the
    // save says it is done: a power loss before it takes both back (the old file and its
    // backup), and a crash between them leaves the kept name for the next transaction.
    // When it fails, the file and its backup are in place all the same: said so, they
    // stay.
    outcome.status = SaveStatus::kSaved;
    if (!FlushFolderOf(path_.c_str())) {
        outcome.status = SaveStatus::kNotFlushed;
        outcome.problem = LastFileProblem();
    }
    std::uint64_t time = 0;
    FileWriteTime(path_.c_str(), time);
    outcome.written = StampOf(std::move(bytes), time);
    return outcome;
}

SaveOutcome SaveTransaction::Save(const GameConfig& config, const SaveRequest& request) {
    SaveOutcome outcome;
    if (!begun_ && (outcome.status = Begin(request.lock_wait_ms)) != SaveStatus::kBegun) {
        outcome.problem = problem_;
        return outcome;
    }
    outcome.locked = Locked();
    outcome.lock_problem = lock_problem_;
    outcome.status = SaveStatus::kNotWritten;
    std::vector<std::uint8_t> bytes;
    if (request.harvest != nullptr && !request.harvest()) return outcome;
    if (!EncodeConfig(config, bytes)) {
        outcome.problem = FileProblem::kNoMemory;
        return outcome;
    }
    if (request.read != nullptr && !request.read->empty() && EncodesAsRead(bytes, *request.read)) {
        outcome.status = SaveStatus::kUnchanged;
        return outcome;
    }
    return Commit(std::move(bytes), request.expected);
}

LoadStatus LoadConfigFile(const char* path, GameConfig& config, std::vector<std::uint8_t>* bytes, int* error_number,
                          FileStamp* stamp) {
    errno = 0;
    FileBytes file;
    const ReadStatus read = ReadFileBytesWaiting(path, file);
    if (error_number != nullptr) *error_number = errno;
    if (stamp != nullptr) *stamp = FileStamp{};
    switch (read) {
        case ReadStatus::kOk: break;
        case ReadStatus::kMissing: return LoadStatus::kMissing;
        case ReadStatus::kUnopenable:
        case ReadStatus::kReadError: return LoadStatus::kHeld;
        case ReadStatus::kOutOfMemory: return LoadStatus::kOutOfMemory;
        case ReadStatus::kNotAFile: return LoadStatus::kNotAFile;
    }
    const LoadStatus status = DecodeRead(file, config, bytes);
    // The stamp takes over the buffer read, whatever the decode found.
    if (stamp != nullptr) *stamp = StampOf(std::move(file));
    return status;
}

SaveOutcome SaveConfigFile(const char* path, const GameConfig& config, const FileStamp* expected) {
    SaveTransaction save(path);
    SaveRequest request;
    request.expected = expected;
    return save.Save(config, request);
}

// Two looks when there is nothing to finish, which is almost always: a start-up pays
// for the lock only after a crash, and never waits for it.
void FinishInterruptedSave(const char* path) {
    SaveTransaction save(path);
    if (save.Interrupted()) save.Begin(0);
}

namespace {

RestoreStatus Restore(SaveTransaction& save, GameConfig& config, const FileStamp* expected, SaveOutcome& outcome) {
    outcome.status = save.Begin();
    if (outcome.status != SaveStatus::kBegun) {
        outcome.problem = save.Problem();
        return outcome.status == SaveStatus::kBusy ? RestoreStatus::kBusy : RestoreStatus::kFailed;
    }
    outcome.status = SaveStatus::kNotWritten;
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
    outcome = save.Commit(std::vector<std::uint8_t>(saved.data.get(), saved.data.get() + saved.size), expected);
    if (outcome.status == SaveStatus::kChanged) return RestoreStatus::kChanged;
    if (!outcome.Written()) return RestoreStatus::kFailed;
    config = std::move(restored);
    return RestoreStatus::kRestored;
}

}  // namespace

RestoreStatus RestoreConfigFile(const char* path, GameConfig& config, const FileStamp* expected, SaveOutcome* outcome) {
    SaveTransaction save(path);
    SaveOutcome committed;
    const RestoreStatus status = Restore(save, config, expected, committed);
    if (outcome != nullptr) *outcome = std::move(committed);
    return status;
}

bool ConfigBackupExists(const char* path) {
    const std::string backup = BackupPathOf(ResolvedPath(path));
    return ProblemAt(backup.c_str()) == FileProblem::kNone && Exists(backup);
}

void SetBeforeReplaceHook(void (*hook)()) { before_replace_hook = hook; }
