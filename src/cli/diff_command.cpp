#include "cli/diff_command.h"

#include <cerrno>

#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "compare/read_pair.h"
#include "prov/component_store.h"

namespace oryx::cli {
namespace {

struct DiffRequest {
    std::string files[2];
    compare::CompareOptions options;
    bool csv = false;
};

// Options may stand anywhere among the two file names; after "--" every
// argument is a file name.
DiffRequest ParseDiffArgs(const Args& args) {
    DiffRequest request;
    std::size_t files = 0;
    bool formatGiven = false, optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            if (files == 2) throw UsageError{"diff takes FILE1 and FILE2"};
            request.files[files++] = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--ignore") {
            if (i + 1 == args.size()) throw UsageError{"--ignore needs an attribute name"};
            request.options.ignoredNames.push_back(args[++i]);
        } else if (arg == "--ignore-case") {
            request.options.ignoreValueCase = true;
        } else if (arg == "--format") {
            if (i + 1 == args.size()) throw UsageError{"--format needs text or csv"};
            if (formatGiven) throw UsageError{"--format given twice"};
            formatGiven = true;
            const std::string& format = args[++i];
            if (format != "text" && format != "csv") throw UsageError{"unknown format '" + format + "' (text or csv)"};
            request.csv = format == "csv";
        } else {
            throw UsageError{"unknown option '" + arg + "' for diff"};
        }
    }
    if (files != 2) throw UsageError{"diff takes FILE1 and FILE2"};
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
