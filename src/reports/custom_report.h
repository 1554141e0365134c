#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reports/report_rows.h"

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::reports {

class ReportConfig;

// The custom reports' menu entries: the section names sorted in the order of
// component names (letter case ignored), duplicates kept, equal names in file
// order.
std::vector<std::string> CustomReportMenuNames(const ReportConfig& config);

// The rows of the custom report `section`: one per key, in file order, the key
// as first cell and the attribute value its value names as second. A value is
// "component path" + one separator character + "&" + attribute text; the path
// is looked up with FindComponent from the add node. Running out of memory
// leaves `rows` empty and throws ReportError("not enough memory to build the
// SECTION report").
void BuildCustomReportRows(const prov::ComponentStore& store, const ReportConfig& config, std::string_view section,
                           ReportRows& rows);

}  // namespace oryx::reports
