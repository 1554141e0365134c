#include "cli/tree_commands.h"

#include <cerrno>

#include "cli/arg_parser.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"
#include "text/hidden_name.h"
#include "text/message_value.h"

namespace oryx::cli {

namespace {

// What the path walk of FindComponent passed over to reach `found`: the
// pieces that named no component and were skipped, and whether the component
// or one above it is hidden. The window and the reports take such a path as
// they find it; a script is told that it was not exact.
void TellInexactPath(const prov::ComponentNode* add, std::string_view path, const prov::ComponentNode* found) {
    const prov::ComponentNode* current = add;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = path.find(' ', start);
        const std::string_view piece = path.substr(start, space == std::string_view::npos ? path.npos : space - start);
        if (space == std::string_view::npos) break;
        const prov::ComponentNode* child = prov::GetChild(current, piece);
        if (child != nullptr)
            current = child;
        else
            PrintError("'" + text::MessageValue(piece) + "' names no component; it was skipped");
        start = space + 1;
    }
    for (const prov::ComponentNode* n = found; n != nullptr && n != add; n = n->Container()) {
        if (text::IsHiddenName(n->Name())) {
            PrintError("'" + text::MessageValue(prov::ComponentPath(*found)) +
                       "' is hidden: the tree does not show it");
            break;
        }
    }
}

}  // namespace

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
    TellInexactPath(store.AddNode(), args[1], node);
    // Rows go out as they are made, in pieces: a component may hold millions.
    constexpr std::size_t kPiece = 1 << 16;
    std::string piece;
    for (const std::string_view line : node->Attributes().FileLines()) {
        if (text::IsHiddenName(line)) continue;
        piece.append(prov::LineName(line)).append(" = ").append(prov::LineValue(line)).append("\n");
        if (piece.size() >= kPiece) {
            if (!WriteStdout(piece)) return WriteFailure("attributes", errno);
            piece.clear();
        }
    }
    if (!WriteStdout(piece)) return WriteFailure("attributes", errno);
    return kExitOk;
}

}  // namespace oryx::cli
