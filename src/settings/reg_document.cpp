#include "settings/reg_document.h"
#include "text/ascii_case.h"
#include "text/keyed_hash.h"

#include <algorithm>
#include <charconv>

namespace oryx::settings {

namespace {

constexpr std::string_view kSignature = "REGEDIT4";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && text::EqualIgnoringAsciiCase(s.substr(0, prefix.size()), prefix);
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (text::AsciiLower(c) >= 'a' && text::AsciiLower(c) <= 'f'); }

// A whole field of 1 to `maxDigits` hex digits.
std::optional<std::uint32_t> ParseHex(std::string_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits || !std::all_of(s.begin(), s.end(), IsHexDigit)) return std::nullopt;
    std::uint32_t v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v, 16);
    return v;
}

// A quoted name or string at the start of `s`; `rest` gets what follows the
// closing quote. Only \\ \" \n and \r are escapes: any other backslash stays
// as typed, so a hand-written C:\temp reads as written.
bool ParseQuoted(std::string_view s, std::string& out, std::string_view& rest) {
    if (s.empty() || s.front() != '"') return false;
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            rest = s.substr(i + 1);
            return true;
        }
        if (c != '\\' || i + 1 == s.size()) {
            out += c;
            continue;
        }
        const char next = s[++i];
        switch (next) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: out += '\\'; out += next;
        }
    }
    return false;
}

void AppendQuoted(std::string& out, std::string_view s) {
    out += '"';
    for (const char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    out += '"';
}

// "01,02,ff" with blanks allowed around each byte; empty for no bytes.
bool ParseHexBytes(std::string_view s, std::string& out) {
    out.clear();
    s = Trim(s);
    if (s.empty()) return true;
    for (;;) {
        const std::size_t comma = s.find(',');
        const auto byte = ParseHex(Trim(s.substr(0, comma)), 2);
        if (!byte) return false;
        out += static_cast<char>(*byte);
        if (comma == std::string_view::npos) return true;
        s.remove_prefix(comma + 1);
    }
}

bool ParseData(std::string_view s, RegValue& value) {
    std::string_view rest;
    if (ParseQuoted(s, value.data, rest)) {
        value.type = kRegString;
        return Trim(rest).empty();
    }
    if (StartsWithIgnoringCase(s, "dword:")) {
        const auto v = ParseHex(Trim(s.substr(6)), 8);
        if (!v) return false;
        value.type = kRegDword;
        value.data.clear();
        for (int shift = 0; shift < 32; shift += 8) value.data += static_cast<char>((*v >> shift) & 0xff);
        return true;
    }
    if (StartsWithIgnoringCase(s, "hex:")) {
        value.type = kRegBinary;
        return ParseHexBytes(s.substr(4), value.data);
    }
    if (StartsWithIgnoringCase(s, "hex(")) {
        const std::size_t close = s.find("):");
        if (close == std::string_view::npos) return false;
        const auto type = ParseHex(s.substr(4, close - 4), 8);
        if (!type) return false;
        value.type = *type;
        return ParseHexBytes(s.substr(close + 2), value.data);
    }
    return false;
}

// `line` with continuation lines already joined, blanks trimmed.
bool ParseValueLine(std::string_view line, RegValue& value) {
    std::string_view rest;
    if (!line.empty() && line.front() == '@') {
        value.name.clear();
        rest = line.substr(1);
    } else if (!ParseQuoted(line, value.name, rest)) {
        return false;
    }
    rest = Trim(rest);
    if (rest.empty() || rest.front() != '=') return false;
    return ParseData(Trim(rest.substr(1)), value);
}

bool IsValueStart(std::string_view line) { return !line.empty() && (line.front() == '"' || line.front() == '@'); }

// Binary data may go on over several lines, each but the last ending in "\".
// A following line belongs to it only if it starts with a hex digit, so a
// damaged value cannot swallow the header or value after it.
bool ContinuesOnNextLine(std::string_view joined, std::string_view next) {
    if (joined.empty() || joined.back() != '\\') return false;
    next = Trim(next);
    return !next.empty() && IsHexDigit(next.front());
}

// True when the entry read from `text` was kept apart from the one read from
// `next` by blank lines alone: written one after the other they would read
// as one, so a damaged line ending in "\" would swallow the line after it.
bool JoinsNextEntry(std::string_view text, std::string_view next) {
    const std::size_t lastLine = text.rfind('\n');
    const std::string_view last = Trim(lastLine == std::string_view::npos ? text : text.substr(lastLine + 1));
    return ContinuesOnNextLine(last, next.substr(0, next.find('\n')));
}

// The names below the root of a header "[ROOT\a\b]"; none when the header
// names another root or has an empty name in it.
std::optional<std::vector<std::string>> ParseHeader(std::string_view inner, std::string_view rootName) {
    std::vector<std::string> path;
    std::size_t slash = inner.find('\\');
    if (!text::EqualIgnoringAsciiCase(inner.substr(0, slash), rootName)) return std::nullopt;
    while (slash != std::string_view::npos) {
        inner.remove_prefix(slash + 1);
        slash = inner.find('\\');
        const std::string_view name = inner.substr(0, slash);
        if (name.empty()) return std::nullopt;
        path.emplace_back(name);
    }
    return path;
}

std::string HexText(std::uint32_t v, int minDigits) {
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, 16).ptr;
    std::string digits(buf, end);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return digits;
}

std::string FormatValue(const RegValue& value) {
    std::string out;
    if (value.name.empty())
        out += '@';
    else
        AppendQuoted(out, value.name);
    out += '=';
    if (value.type == kRegString && value.data.find('\0') == std::string::npos) {
        AppendQuoted(out, value.data);
        return out;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        out += "dword:" + HexText(v, 8);
        return out;
    }
    out += value.type == kRegBinary ? std::string("hex:") : "hex(" + HexText(value.type, 1) + "):";
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        if (i > 0) out += ',';
        out += HexText(static_cast<unsigned char>(value.data[i]), 2);
    }
    return out;
}

// A hash of a key path that ignores letter case, as key names compare.
std::uint64_t PathHash(const std::vector<std::string>& path) {
    std::uint64_t h = path.size();
    for (const std::string& name : path) h = (h * 0x9E3779B97F4A7C15ULL) ^ text::KeyedHashIgnoringAsciiCase(name);
    return h;
}

// Sections up to this many entries are searched; longer ones are indexed.
constexpr std::size_t kSearchedEntries = 8;
constexpr std::size_t kNoEntry = HashIndex::kNone;

bool HoldsValue(const RegSection& key, std::size_t entry, std::string_view name) {
    const std::optional<RegValue>& value = key.entries[entry].value;
    return value && text::EqualIgnoringAsciiCase(value->name, name);
}

// The entry of the value in force that has the name, or kNoEntry.
std::size_t ValueEntry(const RegSection& key, std::string_view name) {
    if (key.entries.size() <= kSearchedEntries) {
        for (std::size_t i = 0; i < key.entries.size(); ++i)
            if (HoldsValue(key, i, name)) return i;
        return kNoEntry;
    }
    return key.valueAt.Find(text::KeyedHashIgnoringAsciiCase(name),
                            [&](std::size_t i) { return HoldsValue(key, i, name); });
}

// Points the index at the entry for its value's name. An entry that held
// the name before must still hold it while this runs, to be found and replaced.
void IndexValue(RegSection& key, std::size_t entry) {
    const std::string& name = key.entries[entry].value->name;
    key.valueAt.Set(
        text::KeyedHashIgnoringAsciiCase(name), [&](std::size_t i) { return HoldsValue(key, i, name); }, entry);
}

// Keeps the index up to date after the key's last entry was added.
void NoteLastEntry(RegSection& key) {
    const std::size_t count = key.entries.size();
    if (count <= kSearchedEntries) return;
    if (count > kSearchedEntries + 1) {
        if (key.entries.back().value) IndexValue(key, count - 1);
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        if (key.entries[i].value) IndexValue(key, i);
}

bool SamePath(const std::vector<std::string>& a, const std::vector<std::string>& b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!text::EqualIgnoringAsciiCase(a[i], b[i])) return false;
    return true;
}

// The text form's lines as a document reads them. Blank lines, and the
// signature before anything else, are passed over; onHeader(line, inner) gets
// each header line as read and the text between its brackets, onEntry(text,
// joined) every other line with its continuation lines, as read and joined.
template <typename OnHeader, typename OnEntry>
void ScanText(std::string_view text, OnHeader onHeader, OnEntry onEntry) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    bool started = false;
    std::string continued;  // the joined lines, when there are several
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i]);
        if (line.empty()) continue;
        if (!started && line == kSignature) {
            started = true;
            continue;
        }
        started = true;
        if (line.front() == '[' && line.back() == ']') {
            onHeader(lines[i], line.substr(1, line.size() - 2));
            continue;
        }
        std::string_view joined = line;
        const char* const first = lines[i].data();
        while (i + 1 < lines.size() && ContinuesOnNextLine(joined, lines[i + 1])) {
            if (joined.data() != continued.data()) continued = joined;
            continued.pop_back();
            continued += Trim(lines[++i]);
            joined = continued;
        }
        // The lines follow each other in the text, each after a line feed.
        onEntry(std::string_view(first, static_cast<std::size_t>(lines[i].data() + lines[i].size() - first)), joined);
    }
}

enum class HeaderMatch { None, Below, Exact };

// How the header's text between the brackets relates to the key `path`:
// it names the key itself, a key below it, or neither (also when it is no
// key of this root), without building the header's path.
HeaderMatch MatchHeader(std::string_view inner, std::string_view rootName, const std::vector<std::string>& path) {
    std::size_t slash = inner.find('\\');
    if (!text::EqualIgnoringAsciiCase(inner.substr(0, slash), rootName)) return HeaderMatch::None;
    std::size_t names = 0;
    bool matches = true;
    while (slash != std::string_view::npos) {
        inner.remove_prefix(slash + 1);
        slash = inner.find('\\');
        const std::string_view name = inner.substr(0, slash);
        if (name.empty()) return HeaderMatch::None;
        if (names < path.size() && !text::EqualIgnoringAsciiCase(name, path[names])) matches = false;
        ++names;
    }
    if (!matches || names < path.size()) return HeaderMatch::None;
    return names == path.size() ? HeaderMatch::Exact : HeaderMatch::Below;
}

}  // namespace

RegDocument::RegDocument(std::string_view rootName, std::string text)
    : rootName_(rootName), source_(std::make_unique<const std::string>(std::move(text))) {
    // Room for every section at once: a large file then never moves its
    // sections or rebuilds the index while it is read.
    const std::size_t headers = static_cast<std::size_t>(std::count(source_->begin(), source_->end(), '['));
    sections_.reserve(headers + 1);
    keyAt_.Reserve(headers);
    sections_.emplace_back();
    std::size_t current = 0;
    const auto onHeader = [&](std::string_view line, std::string_view inner) {
        auto path = ParseHeader(inner, rootName_);
        if (path) {
            // A key named twice is read as one, as an import would merge them.
            if (RegSection* existing = FindKeySection(*path)) {
                current = static_cast<std::size_t>(existing - sections_.data());
                return;
            }
            AddKeySection(std::move(*path));
        } else {
            sections_.push_back(RegSection{false, {}, std::string(line), {}, {}});
        }
        current = sections_.size() - 1;
    };
    const auto onEntry = [&](std::string_view lines, std::string_view joined) {
        RegSection& section = sections_[current];
        RegEntry entry;
        entry.text = lines;
        RegValue value;
        std::size_t earlier = kNoEntry;
        if (section.isKey && IsValueStart(joined) && ParseValueLine(joined, value)) {
            earlier = ValueEntry(section, value.name);
            entry.value = std::move(value);
        }
        section.entries.push_back(std::move(entry));
        NoteLastEntry(section);
        // When a name comes twice the later line wins, as it would on
        // import; the earlier one stays in the file as plain text.
        if (earlier != kNoEntry) section.entries[earlier].value.reset();
    };
    ScanText(*source_, onHeader, onEntry);
}

RegDocument::KeyRead RegDocument::ReadKey(std::string_view rootName, std::string_view text,
                                          const std::vector<std::string>& path) {
    KeyRead read;
    read.exists = path.empty();
    bool inKey = false;
    const auto onHeader = [&](std::string_view, std::string_view inner) {
        const HeaderMatch match = MatchHeader(inner, rootName, path);
        inKey = match == HeaderMatch::Exact;
        read.exists = read.exists || match != HeaderMatch::None;
    };
    const auto onEntry = [&](std::string_view, std::string_view joined) {
        RegValue value;
        if (inKey && IsValueStart(joined) && ParseValueLine(joined, value)) read.values.push_back(std::move(value));
    };
    ScanText(text, onHeader, onEntry);
    return read;
}

const RegValue* RegDocument::KeyRead::Find(std::string_view name) const {
    // The later line wins, as in a document.
    for (auto value = values.rbegin(); value != values.rend(); ++value)
        if (text::EqualIgnoringAsciiCase(value->name, name)) return &*value;
    return nullptr;
}

std::string RegDocument::Format() const {
    std::string out(kSignature);
    out += "\n\n";
    for (const RegSection& section : sections_) {
        if (section.isKey) {
            out += '[';
            out += rootName_;
            for (const std::string& name : section.path) {
                out += '\\';
                out += name;
            }
            out += "]\n";
        } else if (!section.header.empty()) {
            out += section.header;
            out += '\n';
        } else if (section.entries.empty()) {
            continue;
        }
        for (std::size_t i = 0; i < section.entries.size(); ++i) {
            const RegEntry& entry = section.entries[i];
            out += entry.text.empty() && entry.value ? FormatValue(*entry.value) : entry.text;
            out += '\n';
            if (i + 1 < section.entries.size() && JoinsNextEntry(entry.text, section.entries[i + 1].text)) out += '\n';
        }
        out += '\n';
    }
    return out;
}

bool RegDocument::KeyExists(const std::vector<std::string>& path) const {
    return path.empty() || std::any_of(sections_.begin(), sections_.end(), [&](const RegSection& s) {
               return s.isKey && s.path.size() >= path.size() && SamePath(s.path, path, path.size());
           });
}

RegSection* RegDocument::FindKeySection(const std::vector<std::string>& path) {
    const std::size_t at = keyAt_.Find(PathHash(path), [&](std::size_t i) {
        const RegSection& section = sections_[i];
        return section.path.size() == path.size() && SamePath(section.path, path, path.size());
    });
    return at == HashIndex::kNone ? nullptr : &sections_[at];
}

RegSection& RegDocument::AddKeySection(std::vector<std::string> path) {
    // No section has this path yet, so no slot matches it.
    keyAt_.Set(
        PathHash(path), [](std::size_t) { return false; }, sections_.size());
    return sections_.emplace_back(RegSection{true, std::move(path), {}, {}, {}});
}

const RegSection* RegDocument::FindKey(const std::vector<std::string>& path) const {
    return const_cast<RegDocument*>(this)->FindKeySection(path);
}

RegSection& RegDocument::ProvideKey(const std::vector<std::string>& path) {
    if (RegSection* existing = FindKeySection(path)) return *existing;
    return AddKeySection(path);
}

const RegValue* RegDocument::FindValue(const RegSection& key, std::string_view name) {
    const std::size_t at = ValueEntry(key, name);
    return at == kNoEntry ? nullptr : &*key.entries[at].value;
}

bool RegDocument::SetValue(RegSection& key, std::string_view name, std::uint32_t type, std::string_view data) {
    const std::size_t at = ValueEntry(key, name);
    if (at == kNoEntry) {
        key.entries.push_back(RegEntry{RegValue{std::string(name), type, std::string(data)}, {}});
        NoteLastEntry(key);
        return true;
    }
    RegEntry& entry = key.entries[at];
    if (entry.value->type == type && entry.value->data == data) return false;
    entry.value->type = type;
    entry.value->data = data;
    entry.text = {};
    return true;
}

}  // namespace oryx::settings
