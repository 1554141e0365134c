// Feeds arbitrary bytes to the settings file parser: what it reads must be
// saved so that reading the saved text gives the same values, and saving
// that gives the same text. The bytes after the first NUL are writes made
// before saving, as the program makes them; each is
//   key path \x01 value name \x01 kind letter (s, d or b) and data
// and writes are separated by NUL.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/reg_document.h"

namespace {

using oryx::fuzz::Require;
using namespace oryx::settings;

constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";

struct Write {
    std::vector<std::string> path;
    std::string name;
    std::uint32_t type;
    std::string data;
};

// The key's names as the registry accepts them: "\" separates, no name is
// empty or holds a line break.
std::optional<std::vector<std::string>> KeyPath(std::string_view path) {
    std::vector<std::string> names;
    if (path.empty()) return names;
    while (true) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
        names.emplace_back(name);
        if (slash == std::string_view::npos) return names;
        path.remove_prefix(slash + 1);
    }
}

std::optional<Write> ParseWrite(std::string_view record) {
    const std::size_t first = record.find('\x01');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = record.find('\x01', first + 1);
    if (second == std::string_view::npos || second + 1 >= record.size()) return std::nullopt;
    auto path = KeyPath(record.substr(0, first));
    if (!path) return std::nullopt;
    Write write{std::move(*path), std::string(record.substr(first + 1, second - first - 1)), kRegString,
                std::string(record.substr(second + 2))};
    switch (record[second + 1]) {
    case 's': break;
    case 'd':
        write.type = kRegDword;
        write.data.resize(4);
        break;
    case 'b': write.type = kRegBinary; break;
    default: return std::nullopt;
    }
    return write;
}

bool SameValue(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

// The two documents hold the same sections, keys and values; the entries
// that hold no value keep their text.
bool SameContent(const RegDocument& a, const RegDocument& b) {
    const auto& x = a.Sections();
    const auto& y = b.Sections();
    // A document always has the section of the lines before the first header.
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i].isKey != y[i].isKey || x[i].path != y[i].path || x[i].header != y[i].header) return false;
        if (x[i].entries.size() != y[i].entries.size()) return false;
        for (std::size_t j = 0; j < x[i].entries.size(); ++j) {
            const RegEntry& e = x[i].entries[j];
            const RegEntry& f = y[i].entries[j];
            if (!SameValue(e.value, f.value)) return false;
            if (!e.value && e.text != f.text) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes = oryx::fuzz::Bytes(data, size);
    const std::size_t nul = bytes.find('\0');
    const std::string_view text = bytes.substr(0, nul);
    std::string_view writes = nul == std::string_view::npos ? std::string_view{} : bytes.substr(nul + 1);

    RegDocument read(kRoot, std::string(text));
    const std::string saved = read.Format();
    const RegDocument again(kRoot, saved);
    Require(SameContent(read, again), "a saved file reads back the same");
    Require(again.Format() == saved, "saving what was read back changes nothing");

    // The program's writes: values of the kinds it stores, names and
    // strings ending at their first NUL (here the record's end).
    bool changed = false;
    while (!writes.empty()) {
        const std::size_t end = writes.find('\0');
        if (const auto write = ParseWrite(writes.substr(0, end))) {
            RegSection& key = read.ProvideKey(write->path);
            changed = RegDocument::SetValue(key, write->name, write->type, write->data) || changed;
            const RegValue* stored = RegDocument::FindValue(key, write->name);
            Require(stored && stored->type == write->type && stored->data == write->data, "a write is read at once");
        }
        writes.remove_prefix(end == std::string_view::npos ? writes.size() : end + 1);
    }
    if (!changed) return 0;
    const std::string written = read.Format();
    const RegDocument reread(kRoot, written);
    Require(SameContent(read, reread), "written values read back the same");
    Require(reread.Format() == written, "saving what was read back changes nothing");
    return 0;
}
