// The handlers of qorcfg's commands, one a command; the table in qorcfg.cpp names them.
// A handler reads its arguments; a command that changes the file leaves its change in
// the session for the dispatch to run, and returns kStatusDone.
#pragma once

#include "cli/session.h"

int ShowCommand(Session& s);
int CheckCommand(Session& s);
int ListCommand(Session& s);
int ExportCommand(Session& s);
int AddCommand(Session& s);
int RemoveCommand(Session& s);
int ImportCommand(Session& s);
int SetCommand(Session& s);
int RestoreCommand(Session& s);
int ApplyCommand(Session& s);
int DiffCommand(Session& s);
int InitCommand(Session& s);

// The text file a command reads, named by its argument at `argument` ("-" for standard
// input): refused when it is the configuration or its backup, a folder, a device or a
// pipe, else read whole into `input`; `source` names it in messages ("stdin" for standard
// input). kStatusDone, or the status to exit with after saying why.
int ReadInputArgument(Session& s, std::size_t argument, std::string& source, FileBytes& input);
