// The document that qorcfg apply takes and diff compares with: the JSON that show
// --json prints, whole or in part, read by the schema's rows into the values and lists
// it gives, each with its place in the document; and applied to a configuration.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/json_reader.h"
#include "cli/schema.h"
#include "config/game_config.h"

// A value the document gives for a row, with where it stands in the document.
struct GivenValue {
    JsonPlace at;
    std::string path;
    const SchemaRow* row;
    ItemValue value;
};

// A list the document gives whole.
struct GivenList {
    JsonPlace at;
    std::string path;
    const SchemaRow* row;
    std::vector<AddressPattern> entries;
};

struct ApplyDocument {
    std::vector<GivenValue> values;   // of a row given twice, the last
    std::vector<GivenList> lists;
    std::vector<JsonMistake> mistakes;  // what the document gives that no row takes

    const GivenValue* ValueFor(const SchemaRow& row) const;
    const GivenList* ListFor(const SchemaRow& row) const;
};

// Reads a document by the schema. False when the text is no JSON document, with
// `not_json` saying where; true otherwise, with what is wrong, if anything, in
// doc.mistakes.
bool ReadApplyDocument(const JsonText& text, ApplyDocument& doc, JsonMistake& not_json);

// One line that applying a document says: a refusal, or a note. A note about a list's
// entry has no place of its own: the path says which.
struct ApplyLine {
    bool refusal;
    JsonMistake said;
};

// Applies the document to `config`; what is refused or noted goes to `lines`, in order.
// False when a value does not fit, and then the configuration, partly changed, is not
// to be saved.
bool ApplyToConfig(GameConfig& config, const ApplyDocument& doc, std::vector<ApplyLine>& lines);
