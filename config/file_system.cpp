// The file operations that are spelled the same on every platform.
#include "config/file_system.h"

namespace {

// Attempts to open a file another program holds, about a second in all.
constexpr int kOpenTries = 10;

bool (*held_by_test)(const char* path) = nullptr;

FileProblem last_problem = FileProblem::kNone;

}  // namespace

ReadStatus ReadFileBytesWaiting(const char* path, FileBytes& out) {
    for (int attempt = 1;; ++attempt) {
        if (HeldByTest(path)) NoteFileProblem(FileProblem::kHeld);
        const ReadStatus status = HeldByTest(path) ? ReadStatus::kUnopenable : ReadFileBytes(path, out);
        if (status != ReadStatus::kUnopenable || attempt == kOpenTries) return status;
        PauseBeforeRetry();
    }
}

void SetHeldFileTest(bool (*held)(const char* path)) { held_by_test = held; }

bool HeldByTest(const char* path) { return held_by_test != nullptr && held_by_test(path); }

FileProblem LastFileProblem() { return last_problem; }
void ClearFileProblem() { last_problem = FileProblem::kNone; }
void NoteFileProblem(FileProblem problem) { last_problem = problem; }
