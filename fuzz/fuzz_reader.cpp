// Feeds arbitrary bytes to the reader and writes the tree text of the result;
// a read that records its diagnostics gives the same tree text, and every
// component and attribute line it records a line for lies within the file.
// Read ahead on a second thread, in batches of a line, with the pairs joined
// on either thread, the file gives the same components and lines.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"
#include "prov/tree_text.h"

namespace {

std::string TreeText(const oryx::prov::ComponentStore& store) {
    std::string text;
    oryx::prov::WriteTreeText(store, [&](std::string_view piece) { text += piece; });
    return text;
}

// Every component below `node` but the add node, and its attribute lines,
// have a line of the file.
void RequireLines(const oryx::prov::ComponentStore& store, const oryx::prov::ReadDiagnostics& diagnostics,
                  const oryx::prov::ComponentNode& node, std::size_t lines) {
    for (const oryx::prov::ComponentNode* child : node.Children()) {
        if (child == store.AddNode()) {  // no line made it
            RequireLines(store, diagnostics, *child, lines);
            continue;
        }
        const std::uint32_t line = diagnostics.NodeLine(store, *child);
        oryx::fuzz::Require(line >= 1 && line <= lines, "a component's line is in the file");
        const oryx::prov::FileLineRange attributes = child->FileLines();
        for (auto attribute = attributes.begin(); attribute != attributes.end(); ++attribute) {
            const std::uint32_t at = diagnostics.AttributeLine(store, attribute.Id());
            oryx::fuzz::Require(at >= 1 && at <= lines, "an attribute line's line is in the file");
        }
        // Deep files are fine here: the fuzzer's inputs are small.
        RequireLines(store, diagnostics, *child, lines);
    }
}

// The tree text and every component's attribute lines.
std::string Contents(const oryx::prov::ComponentStore& store) {
    std::string text = TreeText(store);
    std::vector<const oryx::prov::ComponentNode*> pending{&store.Root()};
    while (!pending.empty()) {
        const oryx::prov::ComponentNode* node = pending.back();
        pending.pop_back();
        text += '\n';
        text += node->Name();
        for (std::string_view line : node->FileLines()) (text += '|') += line;
        pending.insert(pending.end(), node->Children().begin(), node->Children().end());
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = oryx::fuzz::InputFile(oryx::fuzz::Bytes(data, size));
    oryx::prov::ComponentStore store;
    oryx::prov::ReadProvisioningFile(path, store);
    const std::string text = TreeText(store);
    (void)oryx::prov::IsConfigureFile(path);

    oryx::prov::ComponentStore noted;
    oryx::prov::ReadDiagnostics diagnostics;
    const oryx::prov::FileShape shape = oryx::prov::ReadProvisioningFile(path, noted, &diagnostics);
    oryx::fuzz::Require(TreeText(noted) == text, "diagnostics change nothing that is read");
    for (const oryx::prov::ReadNote& note : diagnostics.Notes())
        oryx::fuzz::Require(note.line >= 1 && note.line <= shape.lines, "a note's line is in the file");
    RequireLines(noted, diagnostics, noted.Root(), shape.lines);

    const std::string contents = Contents(store);
    using PairWork = oryx::prov::BatchCuts::PairWork;
    for (const PairWork work : {PairWork::CutAndJoin, PairWork::CutOnly}) {
        oryx::prov::ComponentStore ahead;
        const oryx::prov::ReadSplit split{oryx::prov::ReadSplit::Mode::Parallel, {1, {}, work}};
        oryx::prov::ReadProvisioningFile(path, ahead, nullptr, split);
        oryx::fuzz::Require(Contents(ahead) == contents, "reading ahead changes nothing that is read");
    }
    return 0;
}
