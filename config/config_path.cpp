// Where the configuration file is: the default place, or the path a caller set.
#include <string>

#include "config/file_system.h"

namespace {

std::string config_path;  // empty: the default place

}  // namespace

const char* ConfigFilePath() { return config_path.empty() ? DefaultConfigFilePath() : config_path.c_str(); }

void SetConfigFilePath(const char* path) { config_path = path != nullptr ? path : ""; }
