#include "reports/custom_report.h"

#include <algorithm>
#include <new>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "reports/attribute_search.h"
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
    for (auto& [key, definition] : config.KeysAndValues(section)) {
        // "path" + one separator + "&" + attribute text: the character before
        // the "&" is dropped whatever it is, so "Shelf Card/0&cardtype" names
        // the path "Shelf Card/". Without an "&" the path is empty.
        const std::size_t amp = definition.find('&');
        std::string value;
        if (amp != std::string::npos && add != nullptr) {
            const std::string_view path = std::string_view(definition).substr(0, amp == 0 ? 0 : amp - 1);
            const prov::ComponentNode* node = prov::FindComponent(add, path);
            if (node != nullptr) {
                value = FindAttributeValue(prov::GetAttributes(node), text::AsciiLowered(definition.substr(amp + 1)));
            }
        }
        rows.push_back({key, {value}});
    }
} catch (const std::bad_alloc&) {
    ReportRows().swap(rows);
    throw NotEnoughMemoryToBuild(section);
}

}  // namespace oryx::reports
