#include <unordered_set>

#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

namespace {

struct Connection {
    std::string atmIf, vcc;
};

std::vector<Connection> CollectConnections(const prov::ComponentNode* add) {
    std::vector<Connection> connections;
    // Interfaces (letters folded) that already have a row: one that ends up
    // without any still gets a row of its own.
    std::unordered_set<std::string> listed;
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "ATMIF/")) continue;
        const std::string atmIf(DropFront(entry->Name(), 6));
        if (const prov::ComponentNode* node = prov::FindComponent(add, "AtmIf/" + atmIf)) {
            for (const prov::ComponentNode* child : node->Children()) {
                if (!ContainsUpper(child->Name(), "VCC/")) continue;
                connections.push_back({atmIf, std::string(DropFront(child->Name(), 4))});
                listed.insert(LowerAscii(atmIf));
            }
        }
        if (listed.insert(LowerAscii(atmIf)).second) connections.push_back({atmIf, {}});
    }
    return connections;
}

// The next hop of an Nrp, or else the kind of end point component the
// connection has; of several kinds the last one in this order is shown.
// `connection` is where the walk of the connection's path ended.
std::string NextHop(const prov::ComponentNode* connection) {
    if (const prov::ComponentNode* nrp = prov::FindComponent(connection, "Nrp")) {
        return FindAttributeValue(prov::GetAttributes(nrp), "nexthop");
    }
    std::string kind;
    for (const char* other : {"Nep", "Src", "Mnrp", "Loop", "Test"}) {
        if (prov::FindComponent(connection, other)) kind = other;
    }
    return kind;
}

void AppendTrafficFields(const std::string& value, std::vector<std::string>& cells) {
    if (value.empty()) {
        cells.resize(cells.size() + 5);
        return;
    }
    for (std::string& field : SplitTrafficDescriptor(value)) cells.push_back(std::move(field));
}

}  // namespace

std::array<std::string, 5> SplitTrafficDescriptor(std::string_view text) {
    std::array<std::string, 5> fields;
    text = DropFront(text, 2);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t blank = text.find(' ');
        if (blank == std::string_view::npos) {
            text = DropFront(text, 3);
            continue;
        }
        fields[i] = std::string(text.substr(0, blank));
        text = DropFront(text, blank + 1 + 3);
    }
    fields[4] = std::string(text);
    return fields;
}

void BuildAtmIfVccRows(const prov::ComponentStore& store, ReportRows& rows) {
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return;

    // Every lookup of a row shares the path "add AtmIf/A Vcc/V": it is walked
    // once per interface and once per connection, and the components below
    // are looked up from where that walk ended.
    std::string walkedAtmIf;
    const prov::ComponentNode* atmIfWalk = nullptr;
    for (Connection& connection : CollectConnections(add)) {
        if (atmIfWalk == nullptr || connection.atmIf != walkedAtmIf) {
            walkedAtmIf = connection.atmIf;
            atmIfWalk = WalkPath(root, "add AtmIf/" + connection.atmIf);
        }
        const prov::ComponentNode* vccWalk = WalkPath(atmIfWalk, "Vcc/" + connection.vcc);
        const prov::ComponentNode* tm = prov::FindComponent(vccWalk, "Vcd Tm");
        const prov::ComponentNode* vcd = prov::FindComponent(vccWalk, "Vcd");
        // A key the Tm component holds, even with an empty value, hides the Vcd's.
        auto traffic = [&](std::string_view key) {
            if (tm != nullptr) {
                if (auto value = FindMatchingAttributeValue(prov::GetAttributes(tm), key)) return *value;
            }
            return vcd != nullptr ? FindAttributeValue(prov::GetAttributes(vcd), key) : std::string();
        };

        ReportRow row{std::move(connection.atmIf), {}};
        row.cells.reserve(14);
        row.cells.push_back(std::move(connection.vcc));
        row.cells.push_back(NextHop(vccWalk));
        row.cells.push_back(traffic("txtrafficdesctype"));
        row.cells.push_back(traffic("atmservicecategory"));
        AppendTrafficFields(traffic("txtrafficdescparm"), row.cells);
        AppendTrafficFields(traffic("rxtrafficdescparm"), row.cells);
        rows.push_back(std::move(row));
    }
}

}  // namespace oryx::reports
