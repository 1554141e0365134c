#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli_common.h"
#include "cli/table_formats.h"
#include "reports/report_registry.h"
#include "reports/report_rows.h"

namespace oryx::cli {

// The options of the commands that make one table over many files.
struct RunOptions {
    TableFormat format = TableFormat::Csv;
    std::size_t jobs = 0;  // 0: one per core
    bool recursive = false;
};

class ArgParser;

// The run options as given, before they are checked.
struct RunOptionArgs {
    std::optional<std::string> format;
    std::optional<std::string> jobs;
    bool recursive = false;
};

// Declares --format F, -j N and --recursive on `parser`, to be stored in `given`.
void AddRunOptions(ArgParser& parser, RunOptionArgs& given);
// The options `given` name; throws UsageError for a bad value.
RunOptions CheckRunOptions(const RunOptionArgs& given);

// Fills `rows` with the rows of one file; throws when the file cannot be read
// or its report fails, what() being the message.
using RowsOfFile = std::function<void(const std::string& file, reports::ReportRows& rows)>;

struct TableRun {
    std::span<const reports::ColumnInfo> columns;
    RowsOfFile rowsOf;
    // When set, used in place of rowsOf: hands the rows of one file on as
    // they are made, so that a table is written as it is built and never
    // held whole. Only for rows that cannot fail part-way.
    std::function<void(const std::string& file, reports::RowSink& rows)> streamRowsOf;
    // True when the rows already begin with their file (no "File" to add).
    bool rowsNameTheirFile = false;
    std::string_view what = "report";  // in "cannot write the report: ..."
    // When set, writes the rows in place of the table format, with no
    // opening or closing.
    std::function<void(const reports::ReportRows& rows, std::string& out)> writeRows;
    // When set, called once every file is done: rows about the run as a
    // whole, written after every file's.
    std::function<void(reports::ReportRows& rows)> rowsAfterFiles;
    // One file is read as one of many too: its failure is reported and the
    // run ends with 1, after the rows that come after the files.
    bool alwaysMany = false;
};

// Writes the table of `run` over the files and folders of `arguments`.
//
// One file argument gives that file's table alone, and a failure propagates
// as it is thrown: with streamRowsOf, the table is written as its rows are
// made once the file is read; otherwise only once it is built. More files, or any folder,
// give one table with a "File" column: files are read `options.jobs` at a
// time, never more stores or tables of files alive at once, and the rows
// stream out file by file in the order of the arguments. A file that fails is reported on stderr in
// its place and skipped; the exit status is then 1. A write error (a closed
// pipe too) stops the run with 1.
int RunOverFiles(const Args& arguments, const RunOptions& options, const TableRun& run);

}  // namespace oryx::cli
