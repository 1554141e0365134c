#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::history {

// The values of one component's attributes across the versions of a node:
// one row per attribute name, one cell per version. Names are merged ignoring
// ASCII letter case and spelt as first seen, in order of first appearance; a
// name given several times within a version has a row for each occurrence,
// right after its first. Lines beginning with "&" take no part. The values
// are copied, so no version's store need stay.
class ValueTable final {
public:
    struct Row {
        std::string name;
        std::vector<std::string> cells;  // one per version, empty where absent
    };

    // Names left out, ASCII letter case ignored.
    explicit ValueTable(const std::vector<std::string>& ignoredNames);

    // The next version's column: the component's lines, or none when it is
    // absent from that version (null).
    void AddVersion(const prov::ComponentNode* node);

    std::size_t VersionCount() const { return versions_; }
    // The rows in table order, every one with a cell for every version.
    std::vector<Row> TakeRows();

private:
    struct Name {
        std::string spelling;
        std::vector<std::size_t> rows;  // its occurrences' rows
        std::size_t seenInVersion = 0;
    };

    std::map<std::string, std::size_t> byLoweredName_;
    std::vector<Name> names_;
    std::vector<Row> rows_;
    std::vector<std::string> ignored_;  // lowered
    std::size_t versions_ = 0;
};

}  // namespace oryx::history
