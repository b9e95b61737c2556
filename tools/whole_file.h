// A file the build generates is written whole: into PATH.part, then renamed, so that an
// interrupted build leaves no half-written file that the next build takes as done.
#pragma once

#include <cstdio>
#include <string>

inline bool WriteWholeFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written && std::rename(temporary.c_str(), path.c_str()) == 0;
}
