// The bash completion script: made from the command table and the schema's rows, so
// that it offers what the command line takes at each place.
#include <map>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/schema.h"

namespace {

std::string Words(const std::vector<std::string>& words, const char* between = " ") {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : between) + word;
    return text;
}

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    return text;
}

// The name of what an argument takes, as the script's dispatch knows it.
const char* TakesName(Takes takes) {
    switch (takes) {
        case Takes::kList: return "list";
        case Takes::kFile: return "file";
        case Takes::kFieldValue: return "field";
        case Takes::kTopic: return "topic";
        case Takes::kShell: return "shell";
        default: return "none";
    }
}

// One case of the script per command: its own options, and what its first argument
// and every one after it take.
std::string CommandCase(const Command& command) {
    std::vector<std::string> options;
    for (const Option& option : Options())
        if (option.commands[0] != nullptr && OptionBelongs(option, command.name)) options.emplace_back(option.name);
    return std::string("    ") + command.name + ") options='" + Words(options) + "' first=" + TakesName(command.takes[0]) +
           " rest=" + TakesName(command.takes[1]) + " ;;\n";
}

// The values of each field, the fields that share a set in one case: "name|alias) values=...".
std::string ValueCases() {
    std::map<std::string, std::vector<std::string>> fields_of;  // values -> names
    for (const SchemaRow& row : SchemaRows()) {
        if (row.row != RowKind::kValue) continue;
        std::vector<std::string>& names = fields_of[Words(ValueWords(row), "\\n")];
        names.push_back(Lower(row.name));
        if (!row.alias.empty()) names.push_back(row.alias);
    }
    std::string text;
    for (const auto& [values, names] : fields_of)
        if (!values.empty()) text += "    " + Words(names, "|") + ") values=$'" + values + "' ;;\n";
    return text;
}

}  // namespace

std::string CompletionScript() {
    std::vector<std::string> global = {"--file"};
    for (const Option& option : Options())
        if (option.commands[0] == nullptr) global.emplace_back(option.name);
    std::string script =
        "# bash completion for qorcfg: source <(qorcfg completion bash)\n"
        "_qorcfg_files() { compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$cur\")); }\n"
        "# After a field of set, its values; between the pairs, the fields.\n"
        "_qorcfg_set() {\n"
        "  if ((n % 2 == 0)); then COMPREPLY=($(compgen -W '" + Words(ValueNames()) + "' -- \"$cur\")); return; fi\n"
        "  # The value as typed, without the backslashes or the opening quote that keep its spaces.\n"
        "  local field=${COMP_WORDS[COMP_CWORD-1],,} typed=${cur//\\\\/} values= k IFS=$'\\n'\n"
        "  typed=${typed#[\\\"\\']}\n"
        "  case ${field//-/_} in\n" + ValueCases() +
        "  esac\n"
        "  COMPREPLY=($(compgen -W \"$values\" -- \"$typed\"))\n"
        "  for k in \"${!COMPREPLY[@]}\"; do COMPREPLY[k]=$(printf %q \"${COMPREPLY[k]}\"); done\n"
        "}\n"
        "_qorcfg() {\n"
        "  local cur=${COMP_WORDS[COMP_CWORD]} cmd= i n=0 words= options= first=command rest=command\n"
        "  [ \"${COMP_WORDS[COMP_CWORD-1]}\" = --file ] && { _qorcfg_files; return; }\n"
        "  # The command, and n: how many of its arguments stand before the cursor.\n"
        "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "    case ${COMP_WORDS[i]} in\n"
        "      --file) ((i++)) ;;\n"
        "      -|-[0-9]*) [ -n \"$cmd\" ] && ((n++)) ;;\n"
        "      -*) ;;\n"
        "      *) if [ -z \"$cmd\" ]; then cmd=${COMP_WORDS[i]}; else ((n++)); fi ;;\n"
        "    esac\n"
        "  done\n"
        "  case $cmd in\n"
        "    '') ;;\n";
    for (const Command& command : Commands()) script += CommandCase(command);
    script += "    help) first=topic rest=none ;;\n"
              "    *) first=none rest=none ;;\n"
              "  esac\n"
              "  local takes=$first\n"
              "  ((n > 0)) && takes=$rest\n"
              "  # A value of set may start with \"-\" (a volume); any other word that does is an option.\n"
              "  if [[ $cur == -?* && ! ($takes == field && $((n % 2)) == 1) ]]; then\n"
              "    words='" + Words(global) + " '$options\n"
              "  else\n"
              "    case $takes in\n"
              "      command) words='" + Words(CommandNames()) + "' ;;\n"
              "      list) words='denied allowed connect' ;;\n"
              "      file) _qorcfg_files; return ;;\n"
              "      field) _qorcfg_set; return ;;\n"
              "      topic) words='" + Words(HelpTopicNames()) + "' ;;\n"
              "      shell) words=bash ;;\n"
              "    esac\n"
              "  fi\n"
              "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
              "}\n"
              "complete -F _qorcfg qorcfg\n";
    return script;
}
