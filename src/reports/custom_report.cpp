#include "reports/custom_report.h"

#include <algorithm>
#include <new>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/many_keys_search.h"
#include "reports/report_config.h"
#include "reports/report_error.h"
#include "reports/report_text.h"
#include "text/ascii_case.h"

namespace oryx::reports {

std::vector<std::string> CustomReportMenuNames(const ReportConfig& config) {
    std::vector<std::string> names = config.SectionNames();
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return prov::CompareNames(a, b) < 0; });
    return names;
}

void BuildCustomReportRows(const prov::ComponentStore& store, const ReportConfig& config, std::string_view section,
                           ReportRows& rows) try {
    const prov::ComponentNode* add = prov::FindComponent(&store.Root(), "add");
    const auto keysAndValues = config.KeysAndValues(section);
    // Each key's component and attribute text; keys on one component are
    // then searched together, so many keys over a wide component cost no
    // more than reading its lines once.
    struct Lookup {
        const prov::ComponentNode* node = nullptr;
        std::string word;
    };
    std::vector<Lookup> lookups(keysAndValues.size());
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < keysAndValues.size(); ++k) {
        // "path" + one separator + "&" + attribute text: the character before
        // the "&" is dropped whatever it is, so "Shelf Card/0&cardtype" names
        // the path "Shelf Card/". Without an "&" the path is empty.
        const std::string& definition = keysAndValues[k].second;
        const std::size_t amp = definition.find('&');
        if (amp == std::string::npos || add == nullptr) continue;
        const std::string_view path = std::string_view(definition).substr(0, amp == 0 ? 0 : amp - 1);
        lookups[k].node = prov::FindComponent(add, path);
        if (lookups[k].node == nullptr) continue;
        lookups[k].word = text::AsciiLowered(definition.substr(amp + 1));
        order.push_back(k);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lookups[a].node < lookups[b].node; });
    std::vector<std::string> values(keysAndValues.size());
    for (std::size_t first = 0; first < order.size();) {
        std::size_t last = first;
        std::vector<std::string_view> words;
        while (last < order.size() && lookups[order[last]].node == lookups[order[first]].node)
            words.push_back(lookups[order[last++]].word);
        const auto found = FindMatchingAttributeValues(prov::GetAttributes(lookups[order[first]].node), words);
        for (std::size_t i = first; i < last; ++i) values[order[i]] = found[i - first].value_or(std::string());
        first = last;
    }
    for (std::size_t k = 0; k < keysAndValues.size(); ++k) rows.push_back({keysAndValues[k].first, {values[k]}});
} catch (const std::bad_alloc&) {
    ReportRows().swap(rows);
    throw NotEnoughMemoryToBuild(section);
}

}  // namespace oryx::reports
