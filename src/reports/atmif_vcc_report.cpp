#include <unordered_set>

#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"
#include "text/ascii_case.h"

namespace oryx::reports {

namespace {

// Views of the entry names in the store.
struct Connection {
    std::string_view atmIf, vcc;
};

std::vector<Connection> CollectConnections(const prov::ComponentNode* add) {
    std::vector<Connection> connections;
    // Interfaces (letters folded) that already have a row: one that ends up
    // without any still gets a row of its own.
    std::unordered_set<std::string> listed;
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "ATMIF/")) continue;
        const std::string_view atmIf = DropFront(entry->Name(), 6);
        const std::size_t before = connections.size();
        if (const prov::ComponentNode* node = prov::FindComponent(add, "AtmIf/" + std::string(atmIf))) {
            for (const prov::ComponentNode* child : node->Children()) {
                if (ContainsUpper(child->Name(), "VCC/")) connections.push_back({atmIf, DropFront(child->Name(), 4)});
            }
        }
        // Either way the interface has rows from here on.
        const bool listedBefore = !listed.insert(text::AsciiLowered(atmIf)).second;
        if (connections.size() == before && !listedBefore) connections.push_back({atmIf, {}});
    }
    return connections;
}

// The next hop of an Nrp, or else the kind of end point component the
// connection has; of several kinds the last one in this order is shown.
// `connection` is where the walk of the connection's path ended.
std::string NextHop(const prov::ComponentNode* connection) {
    static const LowerWordFinder nextHop("nexthop");
    if (const prov::ComponentNode* nrp = prov::GetChild(connection, "Nrp")) return ValueOf(nrp, nextHop);
    std::string kind;
    for (const char* other : {"Nep", "Src", "Mnrp", "Loop", "Test"}) {
        if (prov::GetChild(connection, other)) kind = other;
    }
    return kind;
}

void AppendTrafficFields(std::string_view value, ReportRow& row) {
    if (value.empty()) {
        row.AddEmptyCells(5);
        return;
    }
    for (const std::string& field : SplitTrafficDescriptor(value)) row.AddCell(field);
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

void BuildAtmIfVccRows(const prov::ComponentStore& store, RowSink& rows) {
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return;

    // Every lookup of a row shares the path "add AtmIf/A Vcc/V": it is walked
    // once per interface and once per connection, and the components below
    // are looked up from where that walk ended (FindComponent of "Vcd Tm"
    // from there is Tm below Vcd, or below the connection when Vcd is missing).
    const std::vector<Connection> connections = CollectConnections(add);
    rows.Expect(connections.size());
    std::string_view walkedAtmIf;
    const prov::ComponentNode* atmIfWalk = nullptr;
    std::string tmScratch, vcdScratch;
    const LowerWordFinder txType("txtrafficdesctype"), serviceCategory("atmservicecategory"),
        txParm("txtrafficdescparm"), rxParm("rxtrafficdescparm");
    std::string vccPath;
    for (const Connection& connection : connections) {
        if (atmIfWalk == nullptr || connection.atmIf != walkedAtmIf) {
            walkedAtmIf = connection.atmIf;
            atmIfWalk = WalkPath(root, "add AtmIf/" + std::string(connection.atmIf)).at;
        }
        vccPath.assign("Vcc/").append(connection.vcc);
        const prov::ComponentNode* vccWalk = WalkPath(atmIfWalk, vccPath).at;
        const prov::ComponentNode* vcd = prov::GetChild(vccWalk, "Vcd");
        const prov::AttributeList* tm = prov::GetAttributes(prov::GetChild(vcd ? vcd : vccWalk, "Tm"));
        const prov::AttributeList* vcdLines = prov::GetAttributes(vcd);
        // A key the Tm component holds, even with an empty value, hides the Vcd's.
        auto traffic = [&](const LowerWordFinder& key) {
            if (auto value = FindAttributeValueView(tm, key, tmScratch)) return *value;
            return FindAttributeValueView(vcdLines, key, vcdScratch).value_or(std::string_view());
        };

        // A value found through a scratch text lasts until the next search,
        // so each goes into the row at once.
        ReportRow row(connection.atmIf);
        row.AddCell(connection.vcc);
        row.AddCell(NextHop(vccWalk));
        row.AddCell(traffic(txType));
        row.AddCell(traffic(serviceCategory));
        AppendTrafficFields(traffic(txParm), row);
        AppendTrafficFields(traffic(rxParm), row);
        rows.Add(std::move(row));
    }
}

}  // namespace oryx::reports
