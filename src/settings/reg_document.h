#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/hash_index.h"

namespace oryx::settings {

// Registry data types, numbered as the text form's hex(n) notation numbers them.
enum RegType : std::uint32_t {
    kRegNone = 0,
    kRegString = 1,
    kRegExpandString = 2,
    kRegBinary = 3,
    kRegDword = 4,
};

struct RegValue {
    std::string name;  // "" is the key's unnamed value, written @
    std::uint32_t type = kRegString;
    // The bytes as stored: a string without a terminating NUL, a dword as four
    // little-endian bytes.
    std::string data;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// One line of a key's body, or a value with its continuation lines.
struct RegEntry {
    std::optional<RegValue> value;  // none: text that was not understood
    // The lines as read, kept so that untouched entries are written back
    // exactly as the user typed them; empty for a value set since. A view
    // into the text the document was read from, which the document keeps.
    std::string_view text;
};

// A section of the file: a key of this file's root, or the lines before the
// first header, or a section whose header names no key of this root (kept as
// text, never looked into).
struct RegSection {
    bool isKey = false;
    std::vector<std::string> path;  // names below the root, as first written
    std::string header;             // the header line as read, for sections that are no key
    std::vector<RegEntry> entries;
    // The entry of each value in force, by its name, once the section is too
    // long to be searched.
    HashIndex valueAt;
};

// The settings of one registry root in REGEDIT4 text form:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\App]
//   "Last File"="/home/me/node17.txt"
//   "Width"=dword:0000004b
//
// Key and value names match ignoring the case of ASCII letters. Reading never
// fails: lines that cannot be understood are kept and written back in place.
class RegDocument final {
public:
    RegDocument(std::string_view rootName, std::string text);
    RegDocument(const RegDocument&) = delete;
    RegDocument& operator=(const RegDocument&) = delete;

    std::string Format() const;

    // A key exists when a header names it or a key below it; the root always does.
    bool KeyExists(const std::vector<std::string>& path) const;
    // Finds the key's section, adding one at the end when there is none.
    RegSection& ProvideKey(const std::vector<std::string>& path);
    // Null when no header names the key.
    const RegSection* FindKey(const std::vector<std::string>& path) const;

    // Every section in file order, the lines before the first header first.
    const std::vector<RegSection>& Sections() const { return sections_; }

    static const RegValue* FindValue(const RegSection& key, std::string_view name);

    // What the document of `text` would say about one key, found by reading
    // the text once without building the document: whether the key exists,
    // and its values as the text gives them.
    struct KeyRead {
        bool exists = false;
        std::vector<RegValue> values;
        // The value in force under the name, or null.
        const RegValue* Find(std::string_view name) const;
    };
    static KeyRead ReadKey(std::string_view rootName, std::string_view text, const std::vector<std::string>& path);
    // Stores the value under the name it already has, if any, in any letter
    // case. False when the key already held exactly this value.
    static bool SetValue(RegSection& key, std::string_view name, std::uint32_t type, std::string_view data);

private:
    RegSection* FindKeySection(const std::vector<std::string>& path);
    RegSection& AddKeySection(std::vector<std::string> path);

    std::string rootName_;
    std::unique_ptr<const std::string> source_;  // what entries' text views look into
    std::vector<RegSection> sections_;           // the first one holds the lines before any header
    HashIndex keyAt_;                            // key sections by their path
};

}  // namespace oryx::settings
