// Writes qorcfg's manual page, qorcfg.1, from the texts 'qorcfg help' prints (the command
// table and its help), when qorcfg is built: the page says what the program says.
//   qorcfg_man VERSION OUTPUT
// The usage's first line is the synopsis and its paragraph that starts "Exit status:" the
// exit-status section; each command becomes a subsection of COMMANDS, each other topic a
// section of its own. Lines indented in a help text stay as they stand (examples, lists).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/qorcfg.h"
#include "tools/whole_file.h"

namespace {

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "qorcfg_man: %s\n", why.c_str());
    std::exit(1);
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The help text's paragraphs, each as its lines.
std::vector<std::vector<std::string>> Paragraphs(std::string_view text) {
    std::vector<std::vector<std::string>> paragraphs(1);
    for (const std::string& line : Split(text, '\n')) {
        if (line.find_first_not_of(' ') == std::string::npos) {
            if (!paragraphs.back().empty()) paragraphs.emplace_back();
        } else {
            paragraphs.back().push_back(line);
        }
    }
    if (paragraphs.back().empty()) paragraphs.pop_back();
    return paragraphs;
}

// Text as roff reads it: backslashes and hyphens (which would print as a typographic
// hyphen, and not paste as "-") escaped, and no control character at a line's start.
std::string Roff(std::string_view text) {
    std::string out = text.starts_with('.') || text.starts_with('\'') ? "\\&" : "";
    for (char ch : text) {
        if (ch == '\\') out += "\\e";
        else if (ch == '-') out += "\\-";
        else out += ch;
    }
    return out;
}

bool Indented(const std::string& line) { return line.starts_with("  "); }

// A paragraph: its plain lines filled, its indented lines kept as they stand.
std::string Paragraph(const std::vector<std::string>& lines) {
    std::string out = ".PP\n";
    for (std::size_t i = 0; i < lines.size();) {
        if (!Indented(lines[i])) {
            out += Roff(lines[i++]) + "\n";
            continue;
        }
        out += ".RS 4\n.nf\n";
        for (; i < lines.size() && Indented(lines[i]); ++i) out += Roff(std::string_view(lines[i]).substr(2)) + "\n";
        out += ".fi\n.RE\n";
    }
    return out;
}

std::string Upper(std::string text) {
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return text;
}

std::string Page(const std::string& version) {
    std::string description, exit_status, commands, topics, synopsis;
    // The manual page is English, whatever the face of the machine that builds it.
    for (const HelpTopic& topic : HelpTopics(Language::kEnglish)) {
        auto paragraphs = Paragraphs(topic.text);
        if (paragraphs.empty()) Fail("the help on '" + topic.name + "' is empty");
        if (topic.command) {
            // The usage lines ("Usage: qorcfg ...", "       qorcfg ..."), then the help.
            commands += ".SS " + topic.name + "\n.nf\n";
            for (const std::string& line : paragraphs[0]) {
                const std::size_t call = line.find("qorcfg ");
                if (call == std::string::npos) Fail("the help on '" + topic.name + "' starts with no usage line");
                commands += "\\fB" + Roff(std::string_view(line).substr(call)) + "\\fR\n";
            }
            commands += ".fi\n";
            for (std::size_t i = 1; i < paragraphs.size(); ++i) commands += Paragraph(paragraphs[i]);
        } else if (topic.name.empty()) {
            const std::string& usage = paragraphs[0][0];
            if (!usage.starts_with("Usage: ")) Fail("the usage does not start with 'Usage: '");
            synopsis = Roff(std::string_view(usage).substr(7));
            if (!synopsis.starts_with("qorcfg ")) Fail("the usage does not start with 'Usage: qorcfg '");
            for (std::size_t i = 1; i < paragraphs.size(); ++i)
                (paragraphs[i][0].starts_with("Exit status:") ? exit_status : description) += Paragraph(paragraphs[i]);
        } else {
            topics += ".SH " + Upper(topic.name) + "\n";
            for (const auto& paragraph : paragraphs) topics += Paragraph(paragraph);
        }
    }
    std::string page = ".\\\" Written from qorcfg's help texts when qorcfg was built. Do not edit.\n"
                       ".TH QORCFG 1 \"\" \"qorcfg " + version + "\" \"QORConfig\"\n"
                       // Words stay whole and lines ragged: names and options paste as typed.
                       ".nh\n.ad l\n"
                       ".SH NAME\nqorcfg \\- read and change the game's configuration file from the command line\n"
                       ".SH SYNOPSIS\n\\fBqorcfg\\fR " + synopsis.substr(7) + "\n" +
                       ".SH DESCRIPTION\n" + description + ".SH COMMANDS\n" + commands + topics;
    if (!exit_status.empty()) page += ".SH EXIT STATUS\n" + exit_status;
    return page + ".SH SEE ALSO\n"
                  "The full manual, with the JSON that show \\-\\-json prints and apply reads: qorcfg.md in\n"
                  "the QORConfig release zip.\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: qorcfg_man VERSION OUTPUT");
    const std::string page = Page(argv[1]);
    if (!WriteWholeFile(argv[2], page)) Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
