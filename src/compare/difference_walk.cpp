#include "compare/difference_walk.h"

#include <string>
#include <vector>

#include "prov/component_store.h"

namespace oryx::compare {

void ForEachDifference(const Comparison& comparison, const DifferenceVisitor& visit) {
    using Index = Comparison::Index;
    struct Frame {
        Index node;
        Index next;
        // The paths' lengths before this component's name was added.
        std::size_t firstLength;
        std::size_t secondLength;
    };
    // The path of the current component in each file's spelling; they differ
    // only in letter case, and an added component takes the second's.
    std::string firstPath, secondPath;
    std::vector<Frame> stack{{Comparison::kRoot, comparison.ChildBegin(Comparison::kRoot), 0, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == comparison.ChildEnd(frame.node)) {
            firstPath.resize(frame.firstLength);
            secondPath.resize(frame.secondLength);
            stack.pop_back();
            continue;
        }
        const Index i = frame.next++;
        const ComparedComponent node = comparison[i];
        const bool below = stack.size() > 1;
        const auto extend = [below](std::string& path, std::string_view name) {
            if (below) path += ' ';
            path += name;
        };
        if (comparison.IsDifference(i)) {
            std::string& path = node.first ? firstPath : secondPath;
            const std::size_t length = path.size();
            extend(path, comparison.Name(i));
            visit(i, path);
            path.resize(length);
        }
        if (node.differenceBelow) {
            // Only components in both files have differences beneath.
            const std::size_t firstLength = firstPath.size(), secondLength = secondPath.size();
            extend(firstPath, node.first->Name());
            extend(secondPath, node.second->Name());
            stack.push_back({i, comparison.ChildBegin(i), firstLength, secondLength});
        }
    }
}

}  // namespace oryx::compare
