// File operations on Windows.
#include "config/file_system.h"

#include <io.h>
#include <windows.h>

const char* ConfigFilePath() { return "Data\\GameConfig.dat"; }
const char* ConfigTempPath() { return "Data\\GameConfig.dat.new"; }

bool FileMayBeReplaced(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

bool CommitFile(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool ReplaceFileAtomically(const char* source, const char* target) {
    // A virus scanner or the game itself may hold the file for a moment: try for about
    // a second before giving up.
    constexpr int kTries = 10;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
            error != ERROR_LOCK_VIOLATION)
            return false;
        if (attempt + 1 < kTries) Sleep(100);
    }
    return false;
}
