#include "cli/multi_file_runner.h"

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "cli/arg_parser.h"
#include "cli/input_files.h"
#include "prov/file_error.h"
#include "text/message_value.h"

namespace oryx::cli {

namespace {

using Clock = std::chrono::steady_clock;

std::size_t ParseJobs(std::string_view text) {
    std::size_t jobs = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, jobs);
    if (text.empty() || error != std::errc() || stop != end || jobs == 0) {
        throw UsageError{"-j needs a number of files to read at once, 1 or more (not '" + text::MessageValue(text) +
                         "')"};
    }
    return jobs;
}

std::size_t DefaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

// Keeps the memory one file freed for the next one. By default the C library
// hands blocks of a few megabytes back to the system as soon as they are
// freed, and with several threads every file then faults all its pages in
// again, which costs a run more than a third of its time.
void KeepFreedMemoryForTheNextFile() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

// "120/500 files" on stderr, redrawn in place, once the run has lasted a
// second; only on a terminal, so logs and pipes never see it.
class ProgressLine final {
public:
    explicit ProgressLine(std::size_t total)
        : total_(total), enabled_(::isatty(STDERR_FILENO) == 1), start_(Clock::now()) {}

    bool Enabled() const { return enabled_; }

    void Show(std::size_t done) {
        if (!enabled_) return;
        // Redrawn ten times a second at most: a terminal is slow to write to.
        const Clock::time_point now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) ||
            (!shown_.empty() && now - drawn_ < std::chrono::milliseconds(100)))
            return;
        std::string text = std::to_string(done) + "/" + std::to_string(total_) + " files";
        if (text == shown_) return;
        std::string line = "\r" + text;
        if (text.size() < shown_.size()) line.append(shown_.size() - text.size(), ' ');
        Put(line);
        shown_ = std::move(text);
        drawn_ = now;
    }

    // Leaves the terminal line empty, before a message and at the end.
    void Clear() {
        if (shown_.empty()) return;
        Put("\r" + std::string(shown_.size(), ' ') + "\r");
        shown_.clear();
    }

private:
    static void Put(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stderr); }

    std::size_t total_;
    bool enabled_;
    Clock::time_point start_;
    Clock::time_point drawn_;
    std::string shown_;
};

// Formats rows into `out` as they come: the rows of one file, a piece of the table.
class PieceSink final : public reports::RowSink {
public:
    PieceSink(const TableFormatter& formatter, std::string_view file, std::string& out)
        : formatter_(formatter), file_(file), out_(out) {}
    void Add(reports::ReportRow&& row) override {
        formatter_.AppendRow(row, file_, first_, out_);
        first_ = false;
    }

private:
    const TableFormatter& formatter_;
    std::string_view file_;
    std::string& out_;
    bool first_ = true;
};

// A write to stdout failed: the rows still to come are not worth making.
struct StopWriting {
    int error;
};

// One file's table written to stdout as its rows come, a chunk at a time.
// Nothing is written before the first row (or the end): a file that cannot
// be read writes nothing.
class StreamedTable final : public reports::RowSink {
public:
    explicit StreamedTable(const TableFormatter& formatter, std::string_view file)
        : formatter_(formatter), file_(file) {}
    void Add(reports::ReportRow&& row) override {
        if (!anyRows_) {
            out_ += formatter_.Opening();
            out_ += formatter_.BeforePiece(true);
        }
        formatter_.AppendRow(row, file_, !anyRows_, out_);
        anyRows_ = true;
        if (out_.size() >= kChunk) Flush();
    }
    // Writes the rest of the table.
    void Finish() {
        if (!anyRows_) out_ += formatter_.Opening();
        out_ += formatter_.Closing(anyRows_);
        Flush();
    }

private:
    static constexpr std::size_t kChunk = 1 << 16;
    void Flush() {
        if (!WriteStdout(out_)) throw StopWriting{errno};
        out_.clear();
    }

    const TableFormatter& formatter_;
    std::string_view file_;
    std::string out_;
    bool anyRows_ = false;
};

// One file's result, made by a worker and written by the main thread.
struct FileResult {
    bool done = false;
    std::string text;   // the formatted rows
    std::string error;  // set when the file failed
};

// Reads the files `jobs` at a time on worker threads while the main thread
// writes the results in file order. A worker takes the next file only while
// it is within a window of unwritten results, so a slow file holds back no
// more than that window and memory stays bounded whatever the fleet's size.
class ParallelTable final {
public:
    ParallelTable(const std::vector<InputFile>& files, const TableFormatter& formatter, const TableRun& run,
                  std::size_t jobs)
        : files_(files),
          formatter_(formatter),
          run_(run),
          jobs_(std::max<std::size_t>(1, std::min(jobs, files.size()))),
          results_(files.size()),
          progress_(files.size()) {}
    ParallelTable(const ParallelTable&) = delete;
    ParallelTable& operator=(const ParallelTable&) = delete;
    ~ParallelTable() { StopWorkers(); }

    int Run();

private:
    void StartWorkers();
    void StopWorkers();
    void Work();
    FileResult Produce(const InputFile& file) const;
    FileResult Take(std::size_t i);
    bool Write(std::string_view text);
    void Format(const reports::ReportRows& rows, std::string_view file, std::string& out) const;
    std::string_view Opening() const { return run_.writeRows ? std::string_view() : opening_; }

    const std::vector<InputFile>& files_;
    const TableFormatter& formatter_;
    const TableRun& run_;
    const std::size_t jobs_;

    std::mutex mutex_;
    // Each waiter has its own reason to wake, so that a finished file wakes
    // the writer alone and a written one a single worker, never all of them.
    std::condition_variable resultReady_;  // the writer waits for a result
    std::condition_variable slotFree_;     // workers wait for room in the window
    std::vector<FileResult> results_;
    std::size_t nextToRead_ = 0;
    std::size_t written_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;

    ProgressLine progress_;
    int writeError_ = 0;
    std::string opening_ = formatter_.Opening();
};

void ParallelTable::Format(const reports::ReportRows& rows, std::string_view file, std::string& out) const {
    if (run_.writeRows)
        run_.writeRows(rows, out);
    else
        formatter_.AppendRows(rows, file, out);
}

int ParallelTable::Run() {
    // A closed pipe must end the run with a message and joined threads, not
    // with the signal's silent kill.
    std::signal(SIGPIPE, SIG_IGN);
    KeepFreedMemoryForTheNextFile();
    StartWorkers();
    bool anyFailed = false;
    bool anyRows = false;
    Write(Opening());
    for (std::size_t i = 0; i < files_.size() && writeError_ == 0; ++i) {
        const FileResult result = Take(i);
        if (!result.error.empty()) {
            progress_.Clear();
            PrintError(result.error);
            anyFailed = true;
        } else if (!result.text.empty()) {
            if (!run_.writeRows) Write(formatter_.BeforePiece(!anyRows));
            Write(result.text);
            anyRows = true;
        }
        {
            const std::lock_guard lock(mutex_);
            ++written_;
        }
        // One more file may be read now: one worker can go on.
        slotFree_.notify_one();
        progress_.Show(i + 1);
    }
    StopWorkers();
    if (run_.rowsAfterFiles && writeError_ == 0) {
        reports::ReportRows rows;
        run_.rowsAfterFiles(rows);
        std::string text;
        Format(rows, {}, text);
        if (!text.empty()) {
            if (!run_.writeRows) Write(formatter_.BeforePiece(!anyRows));
            Write(text);
            anyRows = true;
        }
    }
    if (!run_.writeRows) Write(formatter_.Closing(anyRows));
    progress_.Clear();
    if (writeError_ != 0) return WriteFailure(run_.what, writeError_);
    return anyFailed ? kExitFailure : kExitOk;
}

void ParallelTable::StartWorkers() {
    const std::size_t count = std::min(jobs_, files_.size());
    try {
        for (std::size_t i = 0; i < count; ++i) workers_.emplace_back(&ParallelTable::Work, this);
    } catch (const std::system_error&) {
        // Fewer threads than asked for still do the work; none cannot.
        if (workers_.empty() && count > 0) throw;
    }
}

void ParallelTable::StopWorkers() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    slotFree_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

void ParallelTable::Work() {
    // As many files as workers, between the next one to write and the last
    // one begun: at most `jobs_` stores and tables of files alive at once.
    const std::size_t window = jobs_;
    for (;;) {
        std::size_t i;
        {
            std::unique_lock lock(mutex_);
            slotFree_.wait(
                lock, [&] { return stopping_ || nextToRead_ == files_.size() || nextToRead_ < written_ + window; });
            if (stopping_ || nextToRead_ == files_.size()) return;
            i = nextToRead_++;
        }
        FileResult result = Produce(files_[i]);
        result.done = true;
        {
            const std::lock_guard lock(mutex_);
            results_[i] = std::move(result);
        }
        resultReady_.notify_one();
    }
}

FileResult ParallelTable::Produce(const InputFile& file) const {
    FileResult result;
    if (!file.error.empty()) {
        result.error = file.error;
        return result;
    }
    try {
        if (run_.streamRowsOf && !run_.writeRows) {
            PieceSink sink(formatter_, file.path, result.text);
            run_.streamRowsOf(file.path, sink);
        } else {
            reports::ReportRows rows;
            run_.rowsOf(file.path, rows);
            Format(rows, file.path, result.text);
        }
    } catch (const std::bad_alloc&) {
        result.text = std::string();
        result.error = "not enough memory to read '" + text::MessageValue(file.path) + "'";
    } catch (const prov::FileError& e) {
        result.text = std::string();
        result.error = e.what();  // names the file already
    } catch (const std::exception& e) {
        // A report's failure: among many files, the message must say whose.
        result.text = std::string();
        result.error = "'" + text::MessageValue(file.path) + "': " + e.what();
    }
    return result;
}

FileResult ParallelTable::Take(std::size_t i) {
    std::unique_lock lock(mutex_);
    while (!results_[i].done) {
        if (!progress_.Enabled()) {
            resultReady_.wait(lock);
            continue;
        }
        resultReady_.wait_for(lock, std::chrono::milliseconds(100));
        lock.unlock();
        progress_.Show(i);
        lock.lock();
    }
    return std::move(results_[i]);
}

bool ParallelTable::Write(std::string_view text) {
    if (writeError_ != 0) return false;
    if (WriteStdout(text)) return true;
    writeError_ = errno;
    return false;
}

// One file: its table alone, written whole or not at all, as before there
// were many.
int RunOneFile(const std::string& file, const TableFormatter& formatter, const TableRun& run) {
    if (run.streamRowsOf) {
        StreamedTable table(formatter, file);
        try {
            run.streamRowsOf(file, table);
            table.Finish();
        } catch (const StopWriting& stop) {
            return WriteFailure(run.what, stop.error);
        }
        return kExitOk;
    }
    reports::ReportRows rows;
    run.rowsOf(file, rows);
    Output out;
    out.Append(formatter.Opening());
    if (!rows.empty()) out.Append(formatter.BeforePiece(true));
    formatter.AppendRows(rows, file, out.Text());
    out.Append(formatter.Closing(!rows.empty()));
    if (out.Commit()) return kExitOk;
    return WriteFailure(run.what, errno);
}

}  // namespace

void AddRunOptions(ArgParser& parser, RunOptionArgs& given) {
    parser.Flag("--recursive", given.recursive)
        .Value("--format", given.format, "csv, tsv or json")
        .Value("-j", given.jobs, "a number of files to read at once");
}

RunOptions CheckRunOptions(const RunOptionArgs& given) {
    RunOptions options;
    options.recursive = given.recursive;
    if (given.format) {
        const std::optional<TableFormat> format = TableFormatByName(*given.format);
        if (!format)
            throw UsageError{"unknown format '" + text::MessageValue(*given.format) + "' (one of csv, tsv, json)"};
        options.format = *format;
    }
    if (given.jobs) options.jobs = ParseJobs(*given.jobs);
    return options;
}

int RunOverFiles(const Args& arguments, const RunOptions& options, const TableRun& run) {
    const InputFiles input = ListInputFiles(arguments, options.recursive);
    const bool manyFiles = arguments.size() > 1 || input.anyFolder || run.alwaysMany;
    const TableFormatter formatter(options.format, run.columns, manyFiles && !run.rowsNameTheirFile);
    if (!manyFiles) return RunOneFile(input.files.front().path, formatter, run);
    ParallelTable table(input.files, formatter, run, options.jobs == 0 ? DefaultJobs() : options.jobs);
    return table.Run();
}

}  // namespace oryx::cli
