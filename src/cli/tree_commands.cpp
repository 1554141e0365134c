#include "cli/tree_commands.h"

#include <cerrno>

#include "cli/arg_parser.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"
#include "text/message_value.h"

namespace oryx::cli {

int RunTree(const Args& allArgs) {
    const Args args = ArgParser("tree").Parse(allArgs);
    if (args.size() != 1) throw UsageError{"tree takes one FILE"};
    prov::ComponentStore store;
    prov::ReadProvisioningFile(args[0], store);
    bool ok = true;
    int err = 0;
    prov::WriteTreeText(store, [&](std::string_view text) {
        if (ok && !WriteStdout(text)) {
            ok = false;
            err = errno;
        }
    });
    if (!ok) return WriteFailure("tree text", err);
    return kExitOk;
}

int RunAttrs(const Args& allArgs) {
    const Args args = ArgParser("attrs").Parse(allArgs);
    if (args.size() != 2) throw UsageError{"attrs takes FILE and PATH"};
    prov::ComponentStore store;
    prov::ReadProvisioningFile(args[0], store);
    const prov::ComponentNode* node = prov::FindComponent(store.AddNode(), args[1]);
    if (!node) {
        PrintError("no component at '" + text::MessageValue(args[1]) + "' in '" + text::MessageValue(args[0]) + "'");
        return kExitFailure;
    }
    Output out;
    for (const prov::AttributeRow& row : prov::VisibleAttributeRows(node)) {
        out.Append(row.name);
        out.Append(" = ");
        out.Append(row.value);
        out.Append("\n");
    }
    if (!out.Commit()) return WriteFailure("attributes", errno);
    return kExitOk;
}

}  // namespace oryx::cli
