#include "reports/report_config.h"

#include <new>
#include <unordered_map>

#include "prov/regular_file.h"
#include "reports/report_text.h"
#include "text/ascii_case.h"

namespace oryx::reports {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) { return text::EqualIgnoringAsciiCase(a, b); }

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

ReportConfig ReportConfig::Read(const std::string& fileName) {
    const std::string text = prov::ReadRegularFile(fileName);
    try {
        return Parse(text);
    } catch (const std::bad_alloc&) {
        throw prov::NotEnoughMemoryToRead(fileName);
    }
}

ReportConfig ReportConfig::Load(const std::string& fileName) {
    try {
        return Read(fileName);
    } catch (const prov::FileError&) {
        return {};
    }
}

ReportConfig ReportConfig::Parse(std::string_view text) {
    ReportConfig config;
    // Editors on some systems start the file with a byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            text.remove_prefix(end + (crLf ? 2 : 1));
        }

        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                config.sections_.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
                current = &config.sections_.back();
                continue;
            }
        }
        const std::size_t eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos) continue;
        current->entries.push_back(
            {std::string(Trim(line.substr(0, eq))), std::string(Unquoted(Trim(line.substr(eq + 1))))});
    }
    return config;
}

const ReportConfig::Section* ReportConfig::FindSection(std::string_view name) const {
    for (const Section& section : sections_) {
        if (SameName(section.name, name)) return &section;
    }
    return nullptr;
}

bool ReportConfig::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> ReportConfig::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
}

std::vector<std::string> ReportConfig::KeyNames(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries) keys.push_back(entry.key);
    }
    return keys;
}

std::string ReportConfig::Value(std::string_view section, std::string_view key) const {
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries) {
            if (SameName(entry.key, key)) return entry.value;
        }
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> ReportConfig::KeysAndValues(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> pairs;
    const Section* found = FindSection(section);
    if (found == nullptr) return pairs;
    // A repeated key reads the value of its first occurrence.
    std::unordered_map<std::string, const std::string*> firstValue;
    for (const Entry& entry : found->entries) firstValue.emplace(text::AsciiLowered(entry.key), &entry.value);
    pairs.reserve(found->entries.size());
    for (const Entry& entry : found->entries) pairs.emplace_back(entry.key, *firstValue[text::AsciiLowered(entry.key)]);
    return pairs;
}

std::string ReportConfigPathInFolder(std::string_view folder) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += kReportConfigFileName;
    return path;
}

}  // namespace oryx::reports
