// Scratch game folders, message recording and hex literals for the tests.
#include "support/scratch_dir.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "message/error_message.h"

namespace testing_support {

namespace {
std::vector<std::string> recorded;
void Record(const char* text) { recorded.emplace_back(text); }
std::atomic<int> folder_serial{0};
}  // namespace

ScratchGameFolder::ScratchGameFolder(bool with_data_folder) {
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() /
              ("qor-test-" + std::to_string(folder_serial++) + "-" +
               std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    if (with_data_folder) std::filesystem::create_directories(folder_ / "Data");
    std::filesystem::current_path(folder_);
}

ScratchGameFolder::~ScratchGameFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path ScratchGameFolder::ConfigPath() const { return folder_ / "Data" / "GameConfig.dat"; }

std::vector<std::uint8_t> ScratchGameFolder::ReadConfig() const { return ReadBytes(ConfigPath()); }

std::vector<std::string> DataEntries() {
    std::vector<std::string> names;
    // The save's lock file stays once made, empty, by design; every other name counts.
    for (const auto& entry : std::filesystem::directory_iterator("Data"))
        if (entry.path().filename() != "GameConfig.dat.lock" || std::filesystem::file_size(entry.path()) != 0)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ScratchGameFolder::WriteConfig(const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(ConfigPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool ScratchGameFolder::ConfigExists() const { return std::filesystem::exists(ConfigPath()); }

MessageRecorder::MessageRecorder() {
    recorded.clear();
    SetErrorMessageSink(Record);
}
MessageRecorder::~MessageRecorder() { SetErrorMessageSink(nullptr); }
const std::vector<std::string>& MessageRecorder::Messages() const { return recorded; }
void MessageRecorder::Clear() { recorded.clear(); }

std::vector<std::uint8_t> Hex(const std::string& text) {
    std::vector<std::uint8_t> out;
    int nibble = -1;
    for (char ch : text) {
        int v;
        if (ch >= '0' && ch <= '9') v = ch - '0';
        else if (ch >= 'a' && ch <= 'f') v = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F') v = ch - 'A' + 10;
        else continue;
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(nibble * 16 + v));
            nibble = -1;
        }
    }
    if (nibble >= 0) throw std::invalid_argument("odd number of hex digits");
    return out;
}

}  // namespace testing_support
