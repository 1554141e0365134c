#pragma once

// Shared helpers of the report tests: a store read from inline provisioning
// text, and a report's rows as the CSV text the user would export.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/csv_export.h"
#include "reports/fixed_reports.h"

namespace oryx::reports::test {

// Expectations are written with LF; exports end their lines with CR LF.
inline std::string Crlf(std::string_view lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// A private folder, removed with everything in it.
class ScratchDir final {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "oryx-reports-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = path_ / std::string(name);
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The store of a provisioning file with exactly these bytes.
struct LoadedStore {
    ScratchDir dir;
    prov::ComponentStore store;
    explicit LoadedStore(std::string_view bytes) { prov::ReadProvisioningFile(dir.Write("node.txt", bytes), store); }
};

// The store of a start-prov file holding `lines` after its first line.
inline std::string StartProv(std::string_view lines) { return "start prov\n" + std::string(lines); }

// The CSV export of report `id` over a start-prov file holding `lines`.
inline std::string ReportCsv(ReportId id, std::string_view lines) {
    LoadedStore loaded(StartProv(lines));
    ReportRows rows;
    BuildReportRows(id, loaded.store, rows);
    return CsvText(Report(id).columns, rows);
}

}  // namespace oryx::reports::test
