#include "history/value_table.h"

#include <algorithm>

#include "prov/component_store.h"
#include "text/ascii_case.h"
#include "text/hidden_name.h"

namespace oryx::history {

ValueTable::ValueTable(const std::vector<std::string>& ignoredNames) {
    for (const std::string& name : ignoredNames) ignored_.push_back(text::AsciiLowered(name));
}

void ValueTable::AddVersion(const prov::ComponentNode* node) {
    const std::size_t version = versions_++;
    for (Name& name : names_) name.seenInVersion = 0;
    if (!node) return;
    for (std::string_view line : node->FileLines()) {
        if (text::IsHiddenName(line)) continue;
        const std::string_view spelling = prov::LineName(line);
        std::string lowered = text::AsciiLowered(spelling);
        if (std::find(ignored_.begin(), ignored_.end(), lowered) != ignored_.end()) continue;
        const auto [at, added] = byLoweredName_.try_emplace(std::move(lowered), names_.size());
        if (added) names_.push_back({std::string(spelling), {}, 0});
        Name& name = names_[at->second];
        if (name.seenInVersion == name.rows.size()) {
            name.rows.push_back(rows_.size());
            rows_.push_back({name.spelling, {}});
        }
        std::vector<std::string>& cells = rows_[name.rows[name.seenInVersion++]].cells;
        cells.resize(version + 1);
        cells[version] = prov::LineValue(line);
    }
}

std::vector<ValueTable::Row> ValueTable::TakeRows() {
    std::vector<Row> rows;
    rows.reserve(rows_.size());
    for (const Name& name : names_)
        for (std::size_t row : name.rows) {
            rows.push_back(std::move(rows_[row]));
            rows.back().cells.resize(versions_);
        }
    rows_.clear();
    names_.clear();
    byLoweredName_.clear();
    return rows;
}

}  // namespace oryx::history
