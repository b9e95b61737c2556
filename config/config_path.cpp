// Where the configuration file is: the default place, or the path a caller set.
#include <string>

#include "config/file_system.h"

namespace {

std::string config_path;  // empty: the default place
std::string backup_path;

}  // namespace

const char* ConfigFilePath() { return config_path.empty() ? DefaultConfigFilePath() : config_path.c_str(); }

void SetConfigFilePath(const char* path) { config_path = path != nullptr ? path : ""; }

const char* ConfigBackupPath() {
    backup_path = std::string(ConfigFilePath()) + ".bak";
    return backup_path.c_str();
}
