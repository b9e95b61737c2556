// The help topics that are made, not only said: the address rules, which name the lists'
// sizes, and the list of fields, which walks the schema's rows.
#include <string>

#include "cli/command_table.h"
#include "cli/schema.h"
#include "cli/texts.h"
#include "model/address_lists.h"

std::string AddressRulesText(Language face) {
    return SayIn(face, CliText::kAddressRules,
                 {ListCapacity(AddressList::kConnect), ListCapacity(AddressList::kDenied)});
}

std::string FieldsHelpText(Language face) {
    std::string text = SayIn(face, CliText::kFieldsHead);
    for (const SchemaRow& row : SchemaRows())
        if (row.row == RowKind::kValue)
            text += "  " + (row.alias.empty() ? row.name : row.alias + ", " + row.name) + " ($." + row.path + "): " +
                    RowHelp(row, face) + "\n      " + ValueSetText(row, face) + "\n";
    text += SayIn(face, CliText::kFieldsLists);
    for (const SchemaRow& row : SchemaRows())
        if (row.row == RowKind::kList) text += "  " + row.name + " ($." + row.path + "): " + RowHelp(row, face) + "\n";
    return text + SayIn(face, CliText::kFieldsExamples);
}
