#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_error.h"
#include "reports/report_text.h"
#include "text/ascii_case.h"
#include "text/hidden_name.h"

namespace oryx::reports {

namespace {

// Slot n of the nine working tables. Cards and LPs are numbered by the file,
// so the tables are kept sparse: a slot exists only once a pass writes to it,
// and a card numbered 2000000000 costs no more than one numbered 2.
struct Slot {
    std::string cardNumber, cardType, lp, lpt, atmIf, frUni, frAtm, trk, features;
};
using SlotTable = std::map<std::int32_t, Slot>;

// An optional sign and decimal digits whose value fits 32 bits; anything else
// stops the report.
std::int32_t ParseNumber(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    const bool allDigits =
        !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    std::int64_t value = 0;
    if (allDigits) {
        for (char c : digits) {
            value = value * 10 + (c - '0');
            if (value > std::int64_t{INT32_MAX} + 1) break;
        }
        if (negative) value = -value;
    }
    if (!allDigits || value > INT32_MAX || value < INT32_MIN) throw InvalidIntegerError(text);
    return static_cast<std::int32_t>(value);
}

void AppendItem(std::string& slot, std::string_view item) {
    if (!slot.empty()) slot += ',';
    slot += item;
}

// Calls `visit` with every line of the node's attribute list, bookkeeping
// lines included, in order.
template <typename Visit>
void ForEachLine(const prov::ComponentNode* node, Visit visit) {
    const prov::AttributeList* list = prov::GetAttributes(node);
    if (list == nullptr) return;
    std::string scratch;
    for (std::size_t i = 0; i < list->LineCount(); ++i) visit(list->Line(i, scratch));
}

// The LP number an interface-name or logical-processor line refers to: the
// text after "Lp/" up to the next blank. A line without "Lp/", or naming a
// negative number, refers to none.
std::optional<std::int32_t> ReferencedLp(std::string_view line) {
    const std::size_t marker = line.find("Lp/");
    if (marker == std::string_view::npos) return std::nullopt;
    std::string_view number = line.substr(marker + 3);
    number = number.substr(0, number.find(' '));
    const std::int32_t lp = ParseNumber(number);
    if (lp < 0) return std::nullopt;
    return lp;
}

// The instance of a top-level entry: its name after the first "/".
std::string_view Instance(const prov::ComponentNode* entry) { return TextAfterFirst(entry->Name(), '/'); }

// Pass 1: the shelf's cards, by number.
void CollectCards(const prov::ComponentNode* root, const prov::ComponentNode* shelf, SlotTable& slots) {
    for (const prov::ComponentNode* entry : shelf->Children()) {
        const std::string_view name = entry->Name();
        if (text::IsHiddenName(name) || name.find("Card/") == std::string_view::npos) continue;
        const std::string_view number = DropFront(name, 5);
        std::string cardType;
        ForEachLine(prov::FindComponent(root, "add Shelf Card/" + std::string(number)), [&](std::string_view line) {
            if (ContainsUpper(line, "CARDTYPE")) cardType = DropFront(line, 9);
        });
        const std::int32_t card = ParseNumber(number);
        if (card < 0) continue;  // a negative card number makes no row
        Slot& slot = slots[card];
        slot.cardNumber = number;
        slot.cardType = std::move(cardType);
    }
}

// The add node's children named "Lp/" and a number as this system writes it
// (no sign, no leading zero), by ascending number: exactly the LPs that a
// walk over "add LP/0", "add LP/1", ... would meet, without walking.
std::vector<std::pair<std::int32_t, const prov::ComponentNode*>> NumberedLps(const prov::ComponentNode* add) {
    std::vector<std::pair<std::int32_t, const prov::ComponentNode*>> lps;
    for (const prov::ComponentNode* entry : add->Children()) {
        const std::string_view name = entry->Name();
        if (name.size() < 4 || text::AsciiLowered(name.substr(0, 3)) != "lp/") continue;
        const std::string_view digits = name.substr(3);
        if (digits.size() > 1 && digits[0] == '0') continue;
        std::int32_t number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc() || end != digits.data() + digits.size() || digits[0] == '-') continue;
        lps.emplace_back(number, entry);
    }
    std::sort(lps.begin(), lps.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return lps;
}

// Pass 2: the LP that names each card as main or spare card, and its type.
// An LP-type line gives its type to every slot the LP has named so far, so
// after the LP's last line a slot holds the type of the LP's last type line
// if that line came no earlier than the slot's first naming: that is settled
// once per slot rather than on each type line.
void CollectLps(const prov::ComponentNode* add, SlotTable& slots) {
    // The first (lowest) slot holding each card text, letter case ignored.
    std::unordered_map<std::string, std::int32_t> slotOfCard;
    for (const auto& [index, slot] : slots) slotOfCard.emplace(text::AsciiLowered(slot.cardNumber), index);

    struct Naming {
        Slot* slot;
        std::size_t line;  // the line that first named the slot
    };
    std::unordered_set<std::int32_t> namedSlots;  // the slots in `named`
    std::vector<Naming> named;
    for (const auto& [lp, node] : NumberedLps(add)) {
        const std::string lpText = std::to_string(lp);
        named.clear();
        namedSlots.clear();
        std::optional<std::size_t> typeLine;
        std::string type;
        std::size_t lineNumber = 0;
        ForEachLine(node, [&](std::string_view line) {
            const std::size_t at = lineNumber++;
            if ((ContainsUpper(line, "MAINCARD") || ContainsUpper(line, "SPARECARD")) && !line.ends_with('!')) {
                const std::size_t marker = line.find("Card/");
                if (marker != std::string_view::npos) {
                    const auto found = slotOfCard.find(text::AsciiLowered(line.substr(marker + 5)));
                    if (found != slotOfCard.end()) {
                        Slot& slot = slots[found->second];
                        if (namedSlots.insert(found->second).second) named.push_back({&slot, at});
                        slot.lp = lpText;
                    }
                }
            }
            if (ContainsUpper(line, "LOGICALPROCESSORTYPE")) {
                const std::size_t marker = line.find("Sw ");
                if (marker == std::string_view::npos) return;
                type = line.substr(marker + 3);
                typeLine = at;
            }
        });
        if (!typeLine) continue;
        for (const Naming& naming : named)
            if (naming.line <= *typeLine) naming.slot->lpt = type;
    }
}

// The features of a feature-list value: the brackets around it go, "(ip fr)"
// giving "ip fr"; an opening bracket without its closing one goes alone; a
// value without brackets is kept whole.
std::string_view FeaturesInBrackets(std::string_view value) {
    if (value.empty() || value.front() != '(') return value;
    value.remove_prefix(1);
    if (!value.empty() && value.back() == ')') value.remove_suffix(1);
    return value;
}

// Pass 3: the feature list of each slot's LP type, a comma put before every
// blank. Many cards share a type, so each type's list is worked out once.
void CollectFeatures(const prov::ComponentNode* root, SlotTable& slots) {
    std::unordered_map<std::string, std::string> featuresOfType;
    for (auto& entry : slots) {
        Slot& slot = entry.second;
        if (slot.lpt.empty()) continue;
        const auto [known, added] = featuresOfType.try_emplace(slot.lpt);
        std::string& features = known->second;
        if (added) {
            ForEachLine(prov::FindComponent(root, "add Sw " + slot.lpt), [&features](std::string_view line) {
                if (!ContainsUpper(line, "FEATURELIST")) return;
                features.clear();
                for (char c : FeaturesInBrackets(TextAfterFirst(line, '='))) {
                    if (c == ' ') features += ',';
                    features += c;
                }
            });
        }
        slot.features = features;
    }
}

// The node that FindComponent of "add <entry name> <rest>" from the add node
// walks <rest> from: the leading "add" is normally not found below the add
// node and is passed over, leaving the entry itself; only a child named "add"
// of the add node changes that.
const prov::ComponentNode* EntryBase(const prov::ComponentNode* add, const prov::ComponentNode* addBelowAdd,
                                     const prov::ComponentNode* entry) {
    if (addBelowAdd == nullptr) return entry;
    return WalkPath(add, "add " + std::string(entry->Name())).at;
}

// Passes 4 to 6: interfaces filed under the LP their lines refer to.
void CollectInterfaces(const prov::ComponentNode* add, SlotTable& slots) {
    static const LowerWordFinder interfaceName("interfacename"), logicalProcessor("logicalprocessor");
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "ATMIF/")) continue;
        ForEachLineHolding(entry, interfaceName, [&](std::string_view line) {
            if (auto lp = ReferencedLp(line)) AppendItem(slots[*lp].atmIf, Instance(entry));
        });
    }
    const prov::ComponentNode* addBelowAdd = prov::GetChild(add, "add");
    auto framed = [&](std::string_view upperKind, std::string Slot::*table) {
        for (const prov::ComponentNode* entry : add->Children()) {
            if (!ContainsUpper(entry->Name(), upperKind)) continue;
            const prov::ComponentNode* base = EntryBase(add, addBelowAdd, entry);
            ForEachLineHolding(prov::GetChild(base, "Framer"), interfaceName, [&](std::string_view line) {
                if (auto lp = ReferencedLp(line)) AppendItem(slots[*lp].*table, Instance(entry));
            });
            ForEachLineHolding(prov::GetChild(base, "VFramer"), logicalProcessor, [&](std::string_view line) {
                if (auto lp = ReferencedLp(line)) AppendItem(slots[*lp].*table, Instance(entry));
            });
        }
    };
    framed("FRUNI/", &Slot::frUni);
    framed("FRATM/", &Slot::frAtm);
}

// Pass 7: trunks, filed under every slot whose AtmIf cell lists the interface
// their ATM connection uses. An index from AtmIf instance to slots keeps this
// linear in trunks and interfaces.
void CollectTrunks(const prov::ComponentNode* add, SlotTable& slots) {
    static const LowerWordFinder atmConnection("atmconnection");
    std::unordered_map<std::string, std::vector<std::int32_t>> slotsOfAtmIf;
    for (const auto& [index, slot] : slots) {
        std::string_view items = slot.atmIf;
        if (items.empty()) continue;
        while (true) {
            const std::size_t comma = items.find(',');
            std::vector<std::int32_t>& listed = slotsOfAtmIf[std::string(items.substr(0, comma))];
            if (listed.empty() || listed.back() != index) listed.push_back(index);
            if (comma == std::string_view::npos) break;
            items.remove_prefix(comma + 1);
        }
    }

    const prov::ComponentNode* addBelowAdd = prov::GetChild(add, "add");
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "TRK/")) continue;
        const prov::ComponentNode* atm = prov::GetChild(EntryBase(add, addBelowAdd, entry), "Atm");
        ForEachLineHolding(atm, atmConnection, [&](std::string_view line) {
            // The number runs from "AtmIf/" to the line's first blank; a line
            // whose first blank is not behind it names none.
            const std::size_t marker = line.find("AtmIf/");
            const std::size_t blank = line.find(' ');
            if (marker == std::string_view::npos || blank == std::string_view::npos || blank <= marker + 6) return;
            const auto found = slotsOfAtmIf.find(std::string(line.substr(marker + 6, blank - marker - 6)));
            if (found == slotsOfAtmIf.end()) return;
            for (std::int32_t index : found->second) AppendItem(slots[index].trk, Instance(entry));
        });
    }
}

}  // namespace

void BuildOverviewRows(const prov::ComponentStore& store, ReportRows& rows) {
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* shelf = prov::FindComponent(root, "add Shelf");
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (shelf == nullptr || add == nullptr) return;

    SlotTable slots;
    CollectCards(root, shelf, slots);
    CollectLps(add, slots);
    CollectFeatures(root, slots);
    CollectInterfaces(add, slots);
    CollectTrunks(add, slots);

    for (auto& [index, slot] : slots) {
        if (slot.cardNumber.empty()) continue;
        rows.push_back(
            {slot.cardNumber,
             {slot.cardType, slot.lp, slot.lpt, slot.atmIf, slot.frUni, slot.frAtm, slot.trk, slot.features}});
    }
}

}  // namespace oryx::reports
