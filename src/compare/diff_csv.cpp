#include "compare/diff_output.h"

#include "compare/chunked_output.h"
#include "compare/difference_listing.h"

namespace oryx::compare {
namespace {

std::string_view BaseName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator != std::string_view::npos) path.remove_prefix(separator + 1);
    return path.substr(0, path.rfind('.'));
}

}  // namespace

void WriteDiffCsv(const Comparison& comparison, const DiffSink& sink) {
    ChunkedOutput out(sink);
    out << "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n";
    ForEachListedDifference(comparison, nullptr,
                            [&out](const ListedDifference& difference) { AppendDifferenceCsv(difference, {}, out); });
    out.Flush();
}

std::string ProposedDiffCsvFileName(std::string_view firstPath, std::string_view secondPath) {
    std::string name(BaseName(firstPath));
    name += " vs ";
    name += BaseName(secondPath);
    name += ".csv";
    return name;
}

}  // namespace oryx::compare
