// Feeds arbitrary bytes to the report configuration reader, from memory and
// from a file, and checks that its lookups agree with each other.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "prov/collation.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"

namespace {

using oryx::fuzz::Require;
using oryx::reports::ReportConfig;

// Every section with its keys and values, as the menu and the reports see them.
std::string Dump(const ReportConfig& config) {
    std::string text;
    for (const std::string& section : config.SectionNames()) {
        text += '[' + section + "]\n";
        for (const auto& [key, value] : config.KeysAndValues(section)) text += key + '=' + value + '\n';
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = oryx::fuzz::Bytes(data, size);
    const ReportConfig config = ReportConfig::Parse(bytes);

    const std::vector<std::string> names = config.SectionNames();
    std::vector<std::string> menu = oryx::reports::CustomReportMenuNames(config);
    Require(
        std::is_sorted(menu.begin(), menu.end(),
                       [](const std::string& a, const std::string& b) { return oryx::prov::CompareNames(a, b) < 0; }),
        "menu names in order");
    std::vector<std::string> sortedNames = names;
    std::sort(sortedNames.begin(), sortedNames.end());
    std::sort(menu.begin(), menu.end());
    Require(menu == sortedNames, "menu lists every section");

    for (const std::string& section : names) {
        Require(config.HasSection(section), "every listed section is found");
        const std::vector<std::string> keys = config.KeyNames(section);
        const auto pairs = config.KeysAndValues(section);
        Require(keys.size() == pairs.size(), "one value per key");
        for (std::size_t i = 0; i < keys.size(); ++i) {
            Require(pairs[i].first == keys[i], "keys in the same order");
            Require(pairs[i].second == config.Value(section, keys[i]), "a key's value found alike");
        }
    }

    const std::string dump = Dump(config);
    Require(Dump(ReportConfig::Read(oryx::fuzz::InputFile(bytes))) == dump, "the file reads as the text");
    if (!bytes.starts_with("\xEF\xBB\xBF"))
        Require(Dump(ReportConfig::Parse("\xEF\xBB\xBF" + std::string(bytes))) == dump,
                "a byte-order mark changes nothing");
    return 0;
}
