// qorcfg: the configuration file from the command line.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "model/language.h"

// Runs one command line (argv[0] is the program) with its output on `out` and its
// messages on `err`; returns the exit status.
int RunQorcfg(int argc, char** argv, std::FILE* out, std::FILE* err);

// A text that 'qorcfg help' prints: the usage (name ""), a command's help, or another
// topic's. qorcfg's manual page is written from them when it is built.
struct HelpTopic {
    std::string name;
    bool command;  // a command of the table
    std::string text;
};

// Every help text in a face, in the order a manual shows them: the usage, each command
// in the table's order, then the other topics.
std::vector<HelpTopic> HelpTopics(Language face);
