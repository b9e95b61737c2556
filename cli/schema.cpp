// The rows of qorcfg's schema: built once from the option rules, the key page's rows
// and the file's items, and found by name, alias or JSON path.
#include "cli/schema.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "config/config_codec.h"

namespace {

std::vector<JsonStep> Steps(std::string_view path) {
    std::vector<JsonStep> steps;
    for (std::size_t at = 0; at < path.size();) {
        if (path[at] == '.') ++at;
        if (path[at] == '[') {
            const std::size_t end = path.find(']', at);
            steps.push_back({"", std::stoi(std::string(path.substr(at + 1, end - at - 1)))});
            at = end + 1;
            continue;
        }
        const std::size_t end = std::min(path.find_first_of(".[", at), path.size());
        steps.push_back({std::string(path.substr(at, end - at)), -1});
        at = end;
    }
    return steps;
}

// A key slot's alias: the first word of its action in the English face ("Attack/Skill
// 1" is attack); slot 8, on no page, has none.
std::string SlotAlias(const KeyRow& key) {
    if (*key.caption == '\0') return "";
    std::string word;
    for (const char* p = key.action; std::isalpha(static_cast<unsigned char>(*p)); ++p)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return word;
}

class RowBuilder {
public:
    std::vector<SchemaRow> rows;

    SchemaRow& Add(RowKind kind, std::string path, std::string name) {
        SchemaRow& row = rows.emplace_back();
        row.row = kind;
        row.steps = Steps(path);
        row.path = std::move(path);
        row.name = std::move(name);
        return row;
    }
    void Fact(std::string path, FactKind fact) { Add(RowKind::kFact, path, path).fact = fact; }
    SchemaRow& Value(std::string path, std::string name, ValueKind kind, std::uint16_t since = 0) {
        SchemaRow& row = Add(RowKind::kValue, std::move(path), std::move(name));
        row.kind = kind;
        row.since = since == kEveryVersion ? 0 : since;
        return row;
    }
    void List(std::string path, AddressList list) {
        Add(RowKind::kList, std::move(path), ListName(list)).list = list;
    }
    void Options() {
        for (const OptionRule& rule : option_rules) {
            const OptionField& field = option_fields[rule.field];
            const std::uint16_t since = field.missing_up_to == kEveryVersion ? 0 : field.missing_up_to + 1;
            Value(std::string("options.") + field.name, field.name, ValueKind::kOption, since).rule = &rule;
        }
    }
    void Player(int player) {
        const std::string path = "players[" + std::to_string(player) + "]";
        const std::string name = "player" + std::to_string(player + 1);
        Fact(path + ".player", FactKind::kPlayer);
        Value(path + ".input_method", name + ".input_method", ValueKind::kInputMethod).index = player;
        for (int slot = 0; slot < static_cast<int>(sizeof(KeyMap)); ++slot) {
            const KeyRow& key = *std::find_if(std::begin(key_rows), std::end(key_rows),
                                              [&](const KeyRow& k) { return k.slot == slot; });
            SchemaRow& row = Value(path + ".key_map[" + std::to_string(slot) + "]", name + ".key_map." + std::to_string(slot),
                                   ValueKind::kKeySlot);
            row.index = player;
            row.slot = slot;
            row.key = &key;
            if (const std::string alias = SlotAlias(key); !alias.empty()) row.alias = name + "." + alias;
        }
        Fact(path + ".keys", FactKind::kKeys);
    }
    void Message(int message) {
        const std::string path = "messages[" + std::to_string(message) + "]";
        const std::string name = "F" + std::to_string(message + 1);
        const std::uint16_t since = file_items[kMessagesItem].since;
        Fact(path + ".key", FactKind::kMessageKey);
        Value(path + ".text", name + ".text", ValueKind::kMessageText, since).index = message;
        Value(path + ".target", name + ".target", ValueKind::kMessageTarget, since).index = message;
    }
};

std::vector<SchemaRow> BuildRows() {
    RowBuilder b;
    b.Fact("file", FactKind::kFile);
    b.Fact("size", FactKind::kSize);
    b.Fact("version", FactKind::kVersion);
    b.Options();
    b.Value("connect.id", "id", ValueKind::kConnectId, file_items[kConnectIdItem].since);
    b.List("connect.addresses", AddressList::kConnect);
    b.Value("allowed_only", "allowed_only", ValueKind::kAllowedOnly, file_items[kAllowedOnlyItem].since);
    b.List("allowed", AddressList::kAllowed);
    b.List("denied", AddressList::kDenied);
    for (int player = 0; player < 2; ++player) b.Player(player);
    for (int message = 0; message < static_cast<int>(kFunctionMessages); ++message) b.Message(message);
    b.Fact("opaque_records", FactKind::kOpaqueRecords);
    b.Fact("opaque_words", FactKind::kOpaqueWords);
    return std::move(b.rows);
}

// Puts `row` into the tree at its path, making the containers on the way.
void Place(ShapeNode& root, const SchemaRow& row) {
    ShapeNode* node = &root;
    for (std::size_t i = 0; i < row.steps.size(); ++i) {
        const JsonStep& step = row.steps[i];
        node->kind = step.index < 0 ? ShapeNode::kObject : ShapeNode::kArray;
        auto found = std::find_if(node->children.begin(), node->children.end(), [&](const ShapeNode& child) {
            return step.index < 0 ? child.name == step.name : &child - node->children.data() == step.index;
        });
        if (found == node->children.end()) found = node->children.insert(node->children.end(), ShapeNode{{}, step.name, {}, {}});
        node = &*found;
    }
    node->kind = ShapeNode::kRow;
    node->row = &row;
}

// A name as set matches it: without regard to case, and "-" for "_".
std::string Folded(std::string_view name) {
    std::string out;
    for (char ch : name) out += ch == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

}  // namespace

std::span<const SchemaRow> SchemaRows() {
    static const std::vector<SchemaRow> rows = BuildRows();
    return rows;
}

const ShapeNode& DocumentShape() {
    static const ShapeNode root = [] {
        ShapeNode tree;
        for (const SchemaRow& row : SchemaRows()) Place(tree, row);
        return tree;
    }();
    return root;
}

const SchemaRow* FindValueRow(std::string_view name) {
    const std::string folded = Folded(name);
    for (const SchemaRow& row : SchemaRows())
        if (row.row == RowKind::kValue && (Folded(row.name) == folded || (!row.alias.empty() && row.alias == folded)))
            return &row;
    return nullptr;
}

const SchemaRow* RowAtPath(std::string_view path) {
    static const auto by_path = [] {
        std::unordered_map<std::string_view, const SchemaRow*> map;
        for (const SchemaRow& row : SchemaRows()) map.emplace(row.path, &row);
        return map;
    }();
    const auto found = by_path.find(path);
    return found == by_path.end() ? nullptr : found->second;
}

std::vector<std::string> ValueNames() {
    std::vector<std::string> names;
    for (const SchemaRow& row : SchemaRows()) {
        if (row.row != RowKind::kValue) continue;
        names.push_back(row.name);
        if (!row.alias.empty()) names.push_back(row.alias);
    }
    return names;
}
