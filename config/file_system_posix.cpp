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
    if (file_steps::Stopped()) return false;
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

}  // namespace

bool TryLockFile(const char* path, FileLock& lock) {
    lock = kNoLock;
    const int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(errno);
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kLockOffset;
    range.l_len = 1;
    // A lock of the open file, not of the process, where the system has it: closing
    // another descriptor of the same file elsewhere in the process then keeps it.
#ifdef F_OFD_SETLK
    const int command = F_OFD_SETLK;
#else
    const int command = F_SETLK;
#endif
    if (fcntl(fd, command, &range) != 0) {
        const int error_number = errno;
        close(fd);
        if (error_number == EAGAIN || error_number == EACCES) {
            NoteFileProblem(FileProblem::kBusy);
            return false;
        }
        return Failed(error_number);
    }
    lock = fd;
    return true;
}

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
bool FileMayBeReplaced(const char* path) {
    if (file_steps::Stopped()) return false;
    struct stat info;
    if (stat(path, &info) != 0) return true;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return access(path, W_OK) == 0;
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
    if (file_steps::Stopped()) return false;
    file_steps::BeforeWrite(path);
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(errno);
    close(fd);
    file_steps::Done(FileStep::kCreate, path);
    return true;
}

bool WriteFileBytes(const char* path, std::span<const std::uint8_t> bytes) {
    if (file_steps::Stopped()) return false;
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
    if (ok && fsync(fd) != 0) ok = false, error_number = errno;
    if (close(fd) != 0 && ok) ok = false, error_number = errno;
    if (!ok) return Failed(error_number);
    file_steps::Done(FileStep::kFlush, path);
    return true;
}

bool RemoveFile(const char* path) {
    if (file_steps::Stopped()) return false;
    file_steps::BeforeWrite(path);
    if (unlink(path) != 0) return Failed(errno);
    file_steps::Done(FileStep::kRemove, path);
    return true;
}

// A file's permission bits never stop a rename over it or its removal here.
void ClearReadOnly(const char*) {}

bool RenameOver(const char* source, const char* target) {
    if (file_steps::Stopped()) return false;
    file_steps::BeforeWrite(source);
    file_steps::BeforeWrite(target);
    if (std::rename(source, target) != 0) return Failed(errno);
    file_steps::Done(FileStep::kRename, target, {}, source);
    return true;
}

bool LinkFile(const char* existing, const char* link_path) {
    if (file_steps::Stopped() || NoLinksTest()) return false;
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
// in-place fallback here; the new file takes over the old one's permission bits.
bool PutFileInPlace(const char* temporary, const char* target, std::span<const std::uint8_t>, const char*) {
    struct stat info;
    if (!file_steps::Stopped() && stat(target, &info) == 0 && S_ISREG(info.st_mode))
        chmod(temporary, info.st_mode & 07777);
    return RenameOver(temporary, target);
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }


void PauseBeforeRetry() {
    if (!file_steps::Stopped()) usleep(100 * 1000);
}

void PauseMilliseconds(int milliseconds) {
    if (!file_steps::Stopped()) usleep(static_cast<useconds_t>(milliseconds) * 1000);
}
