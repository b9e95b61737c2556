// Loading, creating and saving the configuration file.
#include "config/config_file.h"

#include <cstdio>
#include <new>
#include <vector>

#include "config/config_codec.h"
#include "config/error_message.h"
#include "config/file_system.h"

namespace {

const char kReadFailedCreating[] = "コンフィグファイルが読み込めませんでした\n新規作成します";
const char kSaveFailed[] = "コンフィグファイルの保存に失敗しました";
const char kCreateFailed[] = "コンフィグファイルの新規作成に失敗しました";
const char kCreatedUnreadable[] = "作成されたコンフィグファイルが開けません";
const char kNewerVersion[] = "新しいバージョンのコンフィグファイルです";

// Set by AbandonSave while a harvest runs.
bool save_abandoned = false;

enum class ReadResult { kOk, kCannotOpen, kReadError, kOutOfMemory };

// Reads the whole file. Only a file that cannot be opened is unreadable in the sense
// that a new one is created; a read that fails part-way is an error of its own.
ReadResult ReadWholeFile(const char* path, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return ReadResult::kCannotOpen;
    ReadResult result = ReadResult::kOk;
    try {
        bytes.clear();
        std::uint8_t chunk[16384];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        if (std::ferror(file)) result = ReadResult::kReadError;
    } catch (const std::bad_alloc&) {
        result = ReadResult::kOutOfMemory;
    }
    std::fclose(file);
    return result;
}

// Writes game_config through a temporary file that replaces the old file only once it
// is complete on disk, so a failed save never leaves a damaged or half-written file.
bool WriteThroughTemporary(void (*harvest)()) {
    const char* temp_path = ConfigTempPath();
    std::FILE* file = FileMayBeReplaced(ConfigFilePath()) ? std::fopen(temp_path, "wb") : nullptr;
    if (file == nullptr) {
        ShowErrorMessage(kSaveFailed);
        return false;
    }
    save_abandoned = false;
    if (harvest != nullptr) harvest();

    std::vector<std::uint8_t> bytes;
    bool ok = !save_abandoned;
    save_abandoned = false;
    ok = ok && EncodeConfig(game_config, bytes);
    ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && CommitFile(file);
    ok = (std::fclose(file) == 0) && ok;
    ok = ok && ReplaceFileAtomically(temp_path, ConfigFilePath());
    if (!ok) {
        std::remove(temp_path);
        ShowErrorMessage(kSaveFailed);
    }
    return ok;
}

}  // namespace

bool WriteConfigFile() { return WriteThroughTemporary(nullptr); }

bool SaveConfig(void (*harvest)()) { return WriteThroughTemporary(harvest); }

void AbandonSave() { save_abandoned = true; }

bool LoadConfig() {
    ClearConfig(game_config);

    std::vector<std::uint8_t> bytes;
    ReadResult read = ReadWholeFile(ConfigFilePath(), bytes);
    // A file that opened but could not be read holds settings we could not see: fail the
    // load rather than replace it with defaults.
    if (read == ReadResult::kOutOfMemory || read == ReadResult::kReadError) return false;
    // A file too short to hold its version holds no settings: it is created anew.
    if (read == ReadResult::kCannotOpen || bytes.size() < 2) {
        ShowErrorMessage(kReadFailedCreating);
        SetConfigDefaults(game_config);
        for (int player = 0; player < 2; ++player) {
            game_config.options.input_method[player] = 0;
            game_config.options.key_map[player] = IdentityKeyMap();
        }
        if (!WriteConfigFile()) {
            ShowErrorMessage(kCreateFailed);
            return false;
        }
        read = ReadWholeFile(ConfigFilePath(), bytes);
        if (read == ReadResult::kOutOfMemory) return false;
        if (read != ReadResult::kOk || bytes.size() < 2) {
            ShowErrorMessage(kCreatedUnreadable);
            return false;
        }
    }

    switch (DecodeConfig(bytes, game_config)) {
        case DecodeStatus::kOk:
            return true;
        case DecodeStatus::kTooNew:
            ShowErrorMessage(kNewerVersion);
            return false;
        case DecodeStatus::kNoVersion:
        case DecodeStatus::kOutOfMemory:
            break;
    }
    return false;
}
