// What differs between two configurations, or between a configuration and what a
// document would make of it: collected once, then printed as text, as JSON, or as the
// line a change ends with. diff, apply --dry-run and apply's own line all print these.
#pragma once

#include <string>
#include <vector>

#include "cli/apply_document.h"
#include "cli/schema.h"
#include "config/game_config.h"

// One side of a comparison: a configuration, with the values and lists of a document
// standing over its own where the document gives them.
struct ConfigSide {
    const GameConfig& config;
    const ApplyDocument* document = nullptr;

    ItemValue Value(const SchemaRow& row) const;
    // The document's list or the configuration's own, not copied (the connect-to list's
    // entries are gathered into `gathered`).
    const std::vector<AddressPattern>& List(const SchemaRow& row, std::vector<AddressPattern>& gathered) const;
};

struct ValueDifference {
    const SchemaRow* row;
    ItemValue from, to;
};

struct ListDifference {
    const SchemaRow* row;
    std::vector<AddressPattern> added, removed;  // in the order of the side that holds them
    bool reordered;  // neither: the same entries in another order, or another number of times
};

// The records and words the tool carries unchanged, as numbers: the two words, or the
// record count (whose records' bytes differ).
struct CarriedDifference {
    const SchemaRow* row;
    std::vector<std::uint64_t> from, to;
};

struct Differences {
    std::vector<ValueDifference> values;
    std::vector<ListDifference> lists;
    std::vector<CarriedDifference> carried;

    bool Empty() const { return values.empty() && lists.empty() && carried.empty(); }
};

Differences Compare(const ConfigSide& from, const ConfigSide& to);

// "FIELD: FROM -> TO" per value, "LIST: + ADDRESS" or "LIST: - ADDRESS" per entry.
std::string DifferencesText(const Differences& differences);

// {"other": FROM_NAME, "this": TO_NAME, "same": bool, "fields": [...], "lists": {...}}.
std::string DifferencesJson(const Differences& differences, const std::string& from_name, const std::string& to_name);

// "changed screen_size, id; denied: 17 removed, 1 added", for the line a change ends with.
std::string DifferencesSummary(const Differences& differences);
