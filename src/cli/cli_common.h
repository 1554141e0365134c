#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oryx::cli {

// Exit codes of oryx-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// find: the search ran and matched nothing.
constexpr int kExitNoMatch = 3;
// check: a finding at or above the severity that fails the run.
constexpr int kExitFindings = 3;

// Thrown for a usage error; main prints the usage line and exits with 2.
struct UsageError {
    std::string message;
};

using Args = std::vector<std::string>;

// Collects stdout bytes so that nothing reaches stdout when a command fails
// part-way; Commit writes them and reports a failed write.
class Output final {
public:
    void Append(std::string_view text) { text_.append(text); }
    std::string& Text() { return text_; }
    // Writes everything to stdout; false (with errno set) on a write error.
    bool Commit();

private:
    std::string text_;
};

// Writes a stdout piece at once, for outputs too large to hold (the tree text).
bool WriteStdout(std::string_view text);

void PrintError(std::string_view message);
// Says on stderr that the `what` could not be written, for `error`, and
// gives the exit status of that failure.
int WriteFailure(std::string_view what, int error);

}  // namespace oryx::cli
