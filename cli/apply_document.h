// The document that qorcfg apply takes, the JSON that show --json prints (whole or in
// part): read into the values and lists it gives, each with its place in the document,
// and applied to a configuration.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/config_items.h"
#include "config/game_config.h"
#include "model/address_lists.h"

// A value the document gives for an item, with where it stands in the document.
struct GivenValue {
    std::string path;
    const ConfigItem* item;
    ItemValue value;
};

// A list the document gives whole.
struct GivenList {
    std::string path;
    AddressList list;
    std::vector<AddressPattern> entries;
};

struct ApplyDocument {
    std::vector<GivenValue> values;
    std::vector<GivenList> lists;
    std::vector<std::string> errors;  // "PATH: what is wrong"
};

// Reads the bytes of a document: UTF-8 (a byte-order mark at the start skipped), or
// UTF-16 with its byte-order mark (what a Windows shell's ">" writes). The bytes are
// read in place, and changed. False when they are no JSON document, with `error_byte`
// the place of the mistake (counted from 1 in the bytes as read, the UTF-8 mark
// included); true otherwise, with the document's mistakes, if any, in doc.errors.
// Members are read in the order of their names; of a name given twice in one object,
// the last counts.
bool ReadApplyDocument(std::span<char> bytes, ApplyDocument& doc, std::size_t& error_byte);

// One line that applying a document says: a refusal, or a note.
struct ApplyLine {
    bool refusal;
    std::string text;
};

// Applies the document to `config`: the names of what changed go to `changed`, what is
// refused or noted to `lines`, in order. False when a value does not fit, and then the
// configuration, partly changed, is not to be saved.
bool ApplyToConfig(GameConfig& config, ApplyDocument& doc, std::vector<std::string>& changed,
                   std::vector<ApplyLine>& lines);
