// qorcfg: the configuration file from the command line.
#pragma once

#include <cstdio>

// Exit statuses of every command.
enum QorcfgStatus {
    kStatusDone = 0,      // done; `check`: no findings
    kStatusRefused = 1,   // `check`: findings; others: the input was refused, nothing changed
    kStatusFailed = 2,    // the file is missing, unreadable or newer, a save failed, or bad usage
};

// Try again later (EX_TEMPFAIL): another program holds the file, or kept changing it
// while a change was applied; nothing changed.
inline constexpr int kStatusTryAgain = 75;

// Runs one command line (argv[0] is the program) with its output on `out` and its
// messages on `err`; returns the exit status.
int RunQorcfg(int argc, char** argv, std::FILE* out, std::FILE* err);
