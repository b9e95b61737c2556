// File operations on POSIX systems (the native build that runs the portable tests).
#include "config/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

const char* ConfigFilePath() { return "Data/GameConfig.dat"; }

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
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadStatus::kMissing : ReadStatus::kUnopenable;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return ReadStatus::kReadError;
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
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    close(fd);
    file_steps::Done(FileStep::kCreate, path);
    return true;
}

bool WriteFileBytes(const char* path, std::span<const std::uint8_t> bytes) {
    if (file_steps::Stopped()) return false;
    file_steps::BeforeWrite(path);
    int fd = open(path, O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    if (ok) file_steps::Done(FileStep::kWrite, path, bytes);
    if (file_steps::Stopped()) {
        close(fd);
        return false;
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok) file_steps::Done(FileStep::kFlush, path);
    return ok;
}

bool RemoveFile(const char* path) {
    if (file_steps::Stopped() || unlink(path) != 0) return false;
    file_steps::Done(FileStep::kRemove, path);
    return true;
}

// A file's permission bits never stop a rename over it or its removal here.
void ClearReadOnly(const char*) {}

bool RenameOver(const char* source, const char* target) {
    if (file_steps::Stopped() || std::rename(source, target) != 0) return false;
    file_steps::Done(FileStep::kRename, target, {}, source);
    return true;
}

bool LinkFile(const char* existing, const char* link_path) {
    if (file_steps::Stopped() || link(existing, link_path) != 0) return false;
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

namespace {

std::uint64_t Now() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

// Taken as the program is loaded, before anything of it runs.
const std::uint64_t process_start = Now();

}  // namespace

std::uint64_t ProcessStartTime() { return process_start; }

// A rename is never refused because another process has the file open, so there is no
// in-place fallback here; the new file takes over the old one's permission bits.
bool PutFileInPlace(const char* temporary, const char* target, std::span<const std::uint8_t>, const char*) {
    struct stat info;
    if (!file_steps::Stopped() && stat(target, &info) == 0 && S_ISREG(info.st_mode))
        chmod(temporary, info.st_mode & 07777);
    return RenameOver(temporary, target);
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

bool ProcessIsRunning(unsigned long id) {
    const pid_t pid = static_cast<pid_t>(id);
    return pid > 0 && static_cast<unsigned long>(pid) == id && (kill(pid, 0) == 0 || errno == EPERM);
}

void PauseBeforeRetry() {
    if (!file_steps::Stopped()) usleep(100 * 1000);
}
