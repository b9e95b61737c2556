// One run of qorcfg: its command line, the file it works on and the messages it gives,
// with the reading and saving every command shares.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "config/file_stamp.h"
#include "config/file_system.h"

class SaveTransaction;
struct SaveOutcome;

struct CommandLine {
    std::string command;
    std::vector<std::string> arguments;  // after the command
    std::vector<int> argument_index;     // their places in argv
    int file_index = 0;         // the place in argv of --file's path (or of --file=PATH)
    std::size_t file_skip = 0;  // bytes before the path in that argument
    bool file_given = false;
    bool json = false;
    bool replace = false;
    bool force = false;
    bool dry_run = false;  // apply: say what would change, change nothing
    bool quiet = false;    // -q: no notes and no success line; errors still said
    bool verbose = false;  // -v: a note for each line of a list that was not taken as it stands
    bool help = false;
    bool version = false;
};

struct Session {
    std::FILE* out;
    std::FILE* err;
    char** argv;
    CommandLine line;
    std::string path;   // the file as qorcfg opens it
    std::string shown;  // the path in messages (UTF-8)
    std::vector<std::uint8_t> bytes;
    FileStamp stamp;              // the file as it was read, which a save may replace
    std::string* held = nullptr;  // where messages wait while an attempt may be redone
    SaveTransaction* transaction = nullptr;  // the save whose lock a changing command holds
    // What a changing command does to the file, once its arguments are read: run by the
    // dispatch as one read-modify-write, again if another program wrote the file meanwhile.
    std::function<int()> change;
};

// "qorcfg: TEXT" on standard error (or held with the attempt it belongs to).
void Message(const Session& s, const std::string& text);
// A note that -q keeps quiet: what was dropped, created or re-read, and the one line a
// successful change ends with.
void Note(const Session& s, const std::string& text);
// The same, about the file: "qorcfg: PATH: TEXT".
void FileMessage(const Session& s, const std::string& text);
// A command-line mistake: says so, points to --help and returns kStatusFailed.
int Usage(const Session& s, const std::string& problem);

std::string ErrorText(int error_number);

// What a file problem is, in a few words ("a folder stands there"); empty for none.
std::string ProblemText(FileProblem problem);

// Reads the file for a command. A missing file is an error for reading commands; with
// `create_when_missing` it starts from the defaults a new file gets, as the window does.
// Returns kStatusDone or the status to exit with.
int LoadConfiguration(Session& s, bool create_when_missing);

// Not an exit status: the save found that another program wrote the file after it was
// read, and replaced nothing.
inline constexpr int kChangedMeanwhile = -1;

// Not an exit status: the record encodes as the file read did, so nothing was written
// (and "nothing to save" said). The dispatch ends such a command with kStatusDone.
inline constexpr int kNothingSaved = -2;

// After a save or restore that wrote the file: says what the caller should know (no lock
// was possible, a backup that could be neither refreshed nor removed, a folder that could
// not be flushed) and returns the exit status it leaves (kStatusFailed for the last).
int Saved(const Session& s, const SaveOutcome& outcome);

// Saves the record as the file; kChangedMeanwhile when it changed since it was read,
// kNothingSaved when it holds what the file read holds, byte for byte.
int Save(Session& s);

// Tests only: how long a save waits for another writer's lock (kSaveLockWaitMs unless set).
void SetLockWaitForTests(int milliseconds);

// The end of a run: a write to standard output or standard error that failed makes the
// status kStatusFailed, said on standard error where that still works. A reader that
// closed the pipe early (qorcfg show | head) is no failure and ends quietly.
int EndOfOutput(const Session& s, int status);

// Runs `apply` (read, change, save) under the save's lock, which every writer takes, so
// that no other writer's save falls between the read and the save. When a program that
// takes no lock wrote the file in between, does it all once more on the file as it is
// then, so that its change is kept under ours. A second such write gives up and keeps
// the other program's file. Only the messages of the attempt that counted are shown.
int ReadModifyWrite(Session& s, const std::function<int()>& apply);
