#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace oryx::reports {

inline constexpr std::string_view kReportConfigFileName = "ORYX Reports.cfg";

// The report configuration file, read by the rules of Windows initialization
// files: lines end at CR, LF or CR LF and are trimmed of bytes 0-32; "[name]"
// starts a section (lines before the first one are ignored); "key=value" lines
// give keys, both sides trimmed, a value wholly enclosed in one pair of double
// or single quotes loses them; lines starting with ";" or "#" are comments,
// other lines without "=" are ignored. Section and key names match ignoring
// letter case. Nothing is cut to a length limit. A UTF-8 byte-order mark at
// the start is skipped.
class ReportConfig final {
public:
    // Reads a regular file only; raises prov::FileError, worded as for a
    // provisioning file, when the file is missing, cannot be read, or is a
    // directory, FIFO or device.
    static ReportConfig Read(const std::string& fileName);
    // As Read, but a file that Read refuses reads as an empty one.
    static ReportConfig Load(const std::string& fileName);
    static ReportConfig Parse(std::string_view text);

    // True when a section has this name, letter case ignored.
    bool HasSection(std::string_view section) const;

    // Section names in file order; a repeated name is listed each time.
    std::vector<std::string> SectionNames() const;
    // Keys of the first section named `section`, in file order; a repeated
    // key is listed each time.
    std::vector<std::string> KeyNames(std::string_view section) const;
    // The value of the key's first occurrence in the first section named
    // `section`; empty when there is none.
    std::string Value(std::string_view section, std::string_view key) const;
    // KeyNames with the Value of each, in one pass.
    std::vector<std::pair<std::string, std::string>> KeysAndValues(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
};

// The configuration file in `folder` (the folder of the executable).
std::string ReportConfigPathInFolder(std::string_view folder);

}  // namespace oryx::reports
