// Writing JSON with RapidJSON's writer.
#include "cli/json_writer.h"

#include "cli/terminal_text.h"

std::string JsonOut::ValidUtf8(std::string_view text) {
    std::string valid;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t good = Utf8MistakeAt(text.substr(at));
        valid.append(text.substr(at, good));
        at += good;
        if (at < text.size()) {
            valid.append("\xEF\xBF\xBD");
            ++at;
        }
    }
    return valid;
}

std::string QuotedText(std::string_view utf8) {
    rapidjson::StringBuffer buffer;
    JsonOut::LineWriter writer(buffer);
    JsonOut::PutString(writer, utf8);
    return std::string(buffer.GetString(), buffer.GetSize());
}
