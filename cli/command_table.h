// qorcfg's commands and options, one row each, which the usage text, the help, the
// command line, the suggestions, the completion script and the dispatch all read. The
// words for people that go with them stand in the faces' tables (cli/texts.h).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/session.h"
#include "cli/texts.h"

// What an argument of a command is, for completion.
enum class Takes {
    kNothing,
    kList,      // denied, allowed or connect
    kFile,      // a file name (or - for standard input)
    kAddress,   // an address, typed
    kFieldValue,  // set's pairs: a field's name, then one of its values
    kTopic,     // a help topic
    kShell,     // a shell: bash
};

struct Command {
    const char* name;
    const char* forms[2];   // the arguments of each way of calling it (the second may be null)
    Takes takes[2];         // its first argument, and every one after it
    bool address_rules;     // it reads addresses: its help points to 'help addresses'
    bool changes_file;      // it may save the file: its change runs as a read-modify-write
    int (*handler)(Session&);
    CliText summary;        // one line for the usage text
    CliText help;           // what --help says after the usage lines, examples last
};

// An option of the command line, with the commands it belongs to (none: every command).
struct Option {
    const char* name;
    const char* short_name;
    bool CommandLine::*given;
    const char* commands[5];
};

std::span<const Command> Commands();
std::span<const Option> Options();
const Command* FindCommand(std::string_view name);
bool OptionBelongs(const Option& option, std::string_view command);

// "help", then every command's name; and the other help topics.
std::vector<std::string> CommandNames();
std::vector<std::string> HelpTopicNames();

// The help topics made from the address lists' sizes and the schema's rows, in a face.
std::string AddressRulesText(Language face);
std::string FieldsHelpText(Language face);

// The bash completion script, made from these tables and the schema's rows.
std::string CompletionScript();
