// Test helpers shared by the native and Windows suites: a scratch game folder that
// becomes the current directory, recorded error messages, failing file operations, and
// hex byte literals.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "config/file_system.h"

namespace testing_support {

// Makes a fresh folder (with a Data subfolder unless told otherwise) the current
// directory for the lifetime of the object, then restores the old one and removes it.
class ScratchGameFolder {
public:
    explicit ScratchGameFolder(bool with_data_folder = true);
    ~ScratchGameFolder();
    ScratchGameFolder(const ScratchGameFolder&) = delete;
    ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;

    std::filesystem::path ConfigPath() const;
    std::vector<std::uint8_t> ReadConfig() const;
    void WriteConfig(const std::vector<std::uint8_t>& bytes) const;
    bool ConfigExists() const;

private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

// Records every error message shown while it lives instead of showing a box.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    const std::vector<std::string>& Messages() const;
    void Clear();
};

// The names in the Data folder of the current directory, sorted.
std::vector<std::string> DataEntries();

// The bytes of any file; empty when it cannot be read.
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

// For SetFailingFileTest: every operation `step` fails with `problem` (a disk that fails
// to flush a folder is kOther, as EIO).
template <FileStep step, FileProblem problem>
FileProblem StepFails(FileStep at, const char*) {
    return at == step ? problem : FileProblem::kNone;
}

// "10 01 ff" -> {0x10, 0x01, 0xff}; whitespace between bytes is ignored.
std::vector<std::uint8_t> Hex(const std::string& text);

}  // namespace testing_support
