#include "cli/diff_command.h"

#include <cerrno>
#include <optional>

#include "cli/arg_parser.h"
#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "compare/read_pair.h"
#include "prov/component_store.h"
#include "text/message_value.h"

namespace oryx::cli {
namespace {

struct DiffRequest {
    std::string files[2];
    compare::CompareOptions options;
    bool csv = false;
};

// Options may stand anywhere among the two file names.
DiffRequest ParseDiffArgs(const Args& args) {
    DiffRequest request;
    std::optional<std::string> format;
    ArgParser parser("diff");
    parser.Repeated("--ignore", request.options.ignoredNames, "an attribute name")
        .Flag("--ignore-case", request.options.ignoreValueCase)
        .Value("--format", format, "text or csv");
    const Args files = parser.Parse(args);
    if (format) {
        if (*format != "text" && *format != "csv")
            throw UsageError{"unknown format '" + text::MessageValue(*format) + "' (text or csv)"};
        request.csv = *format == "csv";
    }
    if (files.size() != 2) throw UsageError{"diff takes FILE1 and FILE2"};
    request.files[0] = files[0];
    request.files[1] = files[1];
    return request;
}

}  // namespace

int RunDiff(const Args& args) {
    const DiffRequest request = ParseDiffArgs(args);
    prov::ComponentStore first, second;
    compare::ReadPair(request.files[0], first, request.files[1], second);
    const compare::Comparison comparison(first, second, request.options);

    bool ok = true;
    int err = 0;
    const compare::DiffSink sink = [&](std::string_view text) {
        if (ok && !WriteStdout(text)) {
            ok = false;
            err = errno;
        }
    };
    if (request.csv)
        compare::WriteDiffCsv(comparison, sink);
    else
        compare::WriteDiffText(comparison, sink);
    if (!ok) return WriteFailure("differences", err);
    return comparison.Summary().Equal() ? kExitOk : kExitDiffer;
}

}  // namespace oryx::cli
