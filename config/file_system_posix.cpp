// File operations on POSIX systems (the native build that runs the portable tests).
#include "config/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

const char* ConfigFilePath() { return "Data/GameConfig.dat"; }

namespace {

// Notes why an operation failed; returns false for the caller to pass on.
bool Failed(int error_number) {
    switch (error_number) {
        case ENOSPC:
        case EDQUOT: NoteFileProblem(FileProblem::kNoSpace); break;
        case EROFS: NoteFileProblem(FileProblem::kReadOnlyFileSystem); break;
        case EACCES:
        case EPERM: NoteFileProblem(FileProblem::kDenied); break;
        case EISDIR: NoteFileProblem(FileProblem::kFolder); break;
        case ENOENT:
        case ENOTDIR: NoteFileProblem(FileProblem::kNoFolder); break;
        case ENOMEM: NoteFileProblem(FileProblem::kNoMemory); break;
        default: NoteFileProblem(FileProblem::kOther); break;
    }
    return false;
}

FileProblem ProblemOfMode(mode_t mode) {
    if (S_ISDIR(mode)) return FileProblem::kFolder;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileProblem::kDevice;
    if (S_ISFIFO(mode) || S_ISSOCK(mode)) return FileProblem::kPipe;
    return FileProblem::kNone;
}

std::string FolderPart(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

}  // namespace

FileProblem ProblemAt(const char* path) {
    struct stat info;
    if (stat(path, &info) == 0) return ProblemOfMode(info.st_mode);
    if (errno == ENOTDIR) return FileProblem::kNoFolder;
    if (errno != ENOENT) return FileProblem::kNone;  // named by the operation that meets it
    struct stat folder;
    const std::string parent = FolderPart(path);
    if (stat(parent.c_str(), &folder) != 0) return FileProblem::kNoFolder;
    return S_ISDIR(folder.st_mode) ? FileProblem::kNone : FileProblem::kNoFolder;
}

std::string ResolvedPath(const char* path) {
    std::string resolved = path;
    // As many links as the system itself follows; a loop is left for the save to meet.
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (lstat(resolved.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        char target[PATH_MAX];
        const ssize_t length = readlink(resolved.c_str(), target, sizeof target - 1);
        if (length <= 0) break;
        const std::string named(target, static_cast<std::size_t>(length));
        resolved = named[0] == '/' || resolved.find('/') == std::string::npos ? named : FolderPart(resolved) + "/" + named;
    }
    return resolved;
}

bool FlushFolderOf(const char* path) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kFlushFolder, path)) return false;
    const int fd = open(FolderPart(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Failed(errno);
    const bool ok = fsync(fd) == 0 || errno == EINVAL;  // a file system that cannot flush a folder keeps its names
    const int error_number = errno;
    close(fd);
    if (!ok) return Failed(error_number);
    file_steps::Done(FileStep::kFlushFolder, path);
    return true;
}

namespace {

// Past any content a configuration could have, so that the lock never covers a byte
// that is read, and the same offset Windows programs lock (Wine carries theirs onto the
// file as this kind of lock).
constexpr off_t kLockOffset = 0x7ffffff0;

LockRefusal lock_refusal = LockRefusal::kNone;

int SetLock(int fd, int command, struct flock& range) {
#ifdef F_OFD_SETLK
    if (lock_refusal == LockRefusal::kOpenFileLocks && command == F_OFD_SETLK) {
        errno = EINVAL;  // as a kernel before 3.15 answers
        return -1;
    }
#endif
    if (lock_refusal == LockRefusal::kEvery) {
        errno = ENOLCK;  // as NFS answers without its lock service
        return -1;
    }
    return fcntl(fd, command, &range);
}

// Gives the open file the owner and group of `from`, or its group alone where the
// process may not give the owner (only root may).
bool GiveOwner(int fd, const struct stat& from) {
    struct stat now;
    if (fstat(fd, &now) == 0 && now.st_uid == from.st_uid && now.st_gid == from.st_gid) return true;
    return fchown(fd, from.st_uid, from.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), from.st_gid) == 0;
}

// Opens the lock file for writing, making it when missing; one that this process makes
// gets the owner of `owner_of`, so that a save run as root does not shut the file's own
// user out of it.
int OpenLockFile(const char* path, const char* owner_of) {
    int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? open(path, O_RDWR | O_CLOEXEC) : fd;
    struct stat owner;
    if (owner_of != nullptr && stat(owner_of, &owner) == 0) GiveOwner(fd, owner);
    return fd;
}

}  // namespace

LockResult TryLockFile(const char* path, FileLock& lock, const char* owner_of) {
    lock = kNoLock;
    const int fd = OpenLockFile(path, owner_of);
    if (fd < 0) {
        const int error_number = errno;
        Failed(error_number);
        // A lock file another user made and this one may not write keeps no save from
        // happening that happened before there was a lock.
        return error_number == EACCES || error_number == EPERM ? LockResult::kImpossible : LockResult::kFailed;
    }
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kLockOffset;
    range.l_len = 1;
    // A lock of the open file, not of the process, where the kernel has it: closing
    // another descriptor of the same file elsewhere in the process then keeps it. Where
    // it has none, the process's lock on the same byte keeps other processes out as well.
#ifdef F_OFD_SETLK
    int result = SetLock(fd, F_OFD_SETLK, range);
    if (result != 0 && errno == EINVAL) result = SetLock(fd, F_SETLK, range);
#else
    int result = SetLock(fd, F_SETLK, range);
#endif
    if (result == 0) {
        lock = fd;
        return LockResult::kLocked;
    }
    const int error_number = errno;
    close(fd);
    switch (error_number) {
        case EAGAIN:
        case EACCES: NoteFileProblem(FileProblem::kBusy); return LockResult::kBusy;
        case ENOLCK:
        case EINVAL:
        case EOPNOTSUPP:
        case ENOSYS: NoteFileProblem(FileProblem::kNone); return LockResult::kImpossible;
        default: Failed(error_number); return LockResult::kFailed;
    }
}

void SetLockRefusalTest(LockRefusal refusal) { lock_refusal = refusal; }
LockRefusal LockRefusalTest() { return lock_refusal; }

void ReleaseLock(FileLock& lock) {
    if (lock != kNoLock) close(static_cast<int>(lock));
    lock = kNoLock;
}

bool SameFile(const char* a, const char* b) {
    struct stat first, second;
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// A file without any write permission is read-only, as Windows' attribute says, even for
// a user (root) whom access() would let write it.
FileProblem WriteProblemAt(const char* path) {
    if (file_steps::Stopped()) return FileProblem::kOther;
    if (file_steps::Refused(FileStep::kCheckWrite, path)) return LastFileProblem();
    struct stat info;
    if (stat(path, &info) != 0) return FileProblem::kNone;
    const bool writable = access(path, W_OK) == 0;
    if (!writable && errno == EROFS) return FileProblem::kReadOnlyFileSystem;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return FileProblem::kReadOnlyFile;
    return writable || (errno != EACCES && errno != EPERM) ? FileProblem::kNone : FileProblem::kDenied;
}

bool CopyOwnership(const char* from, const char* to) {
    struct stat info;
    if (file_steps::Stopped() || stat(from, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const int fd = open(to, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    // The owner first: giving it away clears the set-id bits that the mode then restores.
    bool ok = GiveOwner(fd, info);
    ok = fchmod(fd, info.st_mode & 07777) == 0 || ok;
    close(fd);
    return ok;
}

namespace {

// read() may return less than asked (a signal); goes on until `size` bytes or the end.
bool ReadFully(int fd, std::uint8_t* into, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        ssize_t n = read(fd, into + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

namespace {

std::uint64_t WriteTimeOf(const struct stat& info) {
    return static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
}

}  // namespace

bool FileWriteTime(const char* path, std::uint64_t& time) {
    struct stat info;
    if (file_steps::Stopped() || stat(path, &info) != 0) return false;
    time = WriteTimeOf(info);
    return true;
}

ReadStatus ReadFileBytes(const char* path, FileBytes& out) {
    if (file_steps::Stopped()) return ReadStatus::kReadError;
    if (file_steps::Refused(FileStep::kRead, path))
        return LastFileProblem() == FileProblem::kHeld ? ReadStatus::kUnopenable : ReadStatus::kReadError;
    // Never waits: a pipe with no writer would block an ordinary open.
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error_number = errno;
        Failed(error_number);
        if (error_number == ENXIO) return ReadStatus::kNotAFile;  // a socket
        return error_number == ENOENT || error_number == ENOTDIR ? ReadStatus::kMissing : ReadStatus::kUnopenable;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const FileProblem problem = ProblemOfMode(info.st_mode);
        close(fd);
        NoteFileProblem(problem);
        return problem != FileProblem::kNone ? ReadStatus::kNotAFile : ReadStatus::kReadError;
    }
    // The file is read from where the last read ended, so the offset is implied.
    const ReadStatus status = ReadWholeOpenFile(
        static_cast<std::size_t>(info.st_size),
        [fd](std::size_t, std::uint8_t* into, std::size_t room, std::size_t& got) {
            return ReadFully(fd, into, room, got);
        },
        out);
    close(fd);
    out.write_time = WriteTimeOf(info);
    file_steps::Done(FileStep::kRead, path);
    return status;
}

bool CreateNewFile(const char* path) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kCreate, path)) return false;
    file_steps::BeforeWrite(path);
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(errno);
    close(fd);
    file_steps::Done(FileStep::kCreate, path);
    return true;
}

bool WriteFileBytes(const char* path, std::span<const std::uint8_t> bytes) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kWrite, path)) return false;
    file_steps::BeforeWrite(path);
    int fd = open(path, O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return Failed(errno);
    std::size_t done = 0;
    bool ok = true;
    int error_number = 0;
    while (ok && done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
        else error_number = n == 0 ? ENOSPC : errno;
    }
    if (ok) file_steps::Done(FileStep::kWrite, path, bytes);
    if (file_steps::Stopped()) {
        close(fd);
        return false;
    }
    if (ok && file_steps::Refused(FileStep::kFlush, path)) {
        close(fd);
        return false;
    }
    if (ok && fsync(fd) != 0) ok = false, error_number = errno;
    if (close(fd) != 0 && ok) ok = false, error_number = errno;
    if (!ok) return Failed(error_number);
    file_steps::Done(FileStep::kFlush, path);
    return true;
}

bool RemoveFile(const char* path) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kRemove, path)) return false;
    file_steps::BeforeWrite(path);
    if (unlink(path) != 0) return Failed(errno);
    file_steps::Done(FileStep::kRemove, path);
    return true;
}

// A file's permission bits never stop a rename over it or its removal here.
void ClearReadOnly(const char*) {}

bool RenameOver(const char* source, const char* target) {
    if (file_steps::Stopped() || file_steps::Refused(FileStep::kRename, target)) return false;
    file_steps::BeforeWrite(source);
    file_steps::BeforeWrite(target);
    if (std::rename(source, target) != 0) return Failed(errno);
    file_steps::Done(FileStep::kRename, target, {}, source);
    return true;
}

bool LinkFile(const char* existing, const char* link_path) {
    if (file_steps::Stopped() || NoLinksTest() || file_steps::Refused(FileStep::kLink, link_path)) return false;
    file_steps::BeforeWrite(existing);
    file_steps::BeforeWrite(link_path);
    if (link(existing, link_path) != 0) return Failed(errno);
    file_steps::Done(FileStep::kLink, link_path, {}, existing);
    return true;
}

std::vector<FolderEntry> FilesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<FolderEntry> found;
    if (file_steps::Stopped()) return found;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return found;
    while (const dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) continue;
        struct stat info;
        const std::string path = folder.empty() ? entry->d_name : folder + "/" + entry->d_name;
        if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            found.push_back({entry->d_name, WriteTimeOf(info)});
    }
    closedir(dir);
    return found;
}


// A rename is never refused because another process has the file open, so there is no
// in-place fallback here; the new file takes over the old one's owner and permission bits
// before it takes its name, so that no moment shows it with others.
Placed PutFileInPlace(const char* temporary, const char* target, std::span<const std::uint8_t>, const char*,
                      const char*) {
    CopyOwnership(target, temporary);
    return RenameOver(temporary, target) ? Placed::kPlaced : Placed::kNotPlaced;
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }


void PauseBeforeRetry() {
    if (!file_steps::Stopped()) usleep(100 * 1000);
}

void PauseMilliseconds(int milliseconds) {
    if (!file_steps::Stopped()) usleep(static_cast<useconds_t>(milliseconds) * 1000);
}
