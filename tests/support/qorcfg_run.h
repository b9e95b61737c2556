// Runs the qorcfg program (the checked build) in the current scratch folder, for the
// tests that drive it as a user would, and reads and writes the files it works on.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

struct QorcfgResult {
    int status;
    std::string out;
    std::string err;
};

inline std::string ReadText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// UTF-8 text from a u8 literal (narrow literals of the project are CP932).
inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

inline void WriteText(const char* path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Runs `prefix` + the program with `args` quoted one by one and `input` on standard
// input, for at most ten seconds: a command that would wait for ever fails its test
// instead of the suite.
inline QorcfgResult RunQorcfgCommand(const std::string& prefix, const std::vector<std::string>& args,
                                     const std::string& input) {
    WriteText("stdin.txt", input);
    std::string command = prefix + "timeout 10 " + QORCFG_PROGRAM;
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " <stdin.txt >stdout.txt 2>stderr.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText("stdout.txt"), ReadText("stderr.txt")};
}

inline QorcfgResult Qorcfg(const std::vector<std::string>& args, const std::string& input = "") {
    return RunQorcfgCommand("", args, input);
}

// The same under `environment` ("QORCFG_LANG=ja", "LC_ALL=C LANG=ja_JP.UTF-8"), none of
// the variables that choose qorcfg's face inherited.
inline QorcfgResult QorcfgIn(const std::string& environment, const std::vector<std::string>& args,
                             const std::string& input = "") {
    return RunQorcfgCommand("env -u QORCFG_LANG -u LC_ALL -u LC_MESSAGES -u LANG " + environment + " ", args, input);
}

}  // namespace testing_support
