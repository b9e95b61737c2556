// File operations on POSIX systems (the native build that runs the portable tests).
#include "config/file_system.h"

#include <unistd.h>

const char* ConfigFilePath() { return "Data/GameConfig.dat"; }
const char* ConfigTempPath() { return "Data/GameConfig.dat.new"; }

bool FileMayBeReplaced(const char* path) { return access(path, F_OK) != 0 || access(path, W_OK) == 0; }

bool CommitFile(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool ReplaceFileAtomically(const char* source, const char* target) {
    return std::rename(source, target) == 0;
}
