#include "cli/cli_common.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace oryx::cli {

bool WriteStdout(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool Output::Commit() { return WriteStdout(text_); }

void PrintError(std::string_view message) {
    std::string line = "oryx-cli: ";
    line += message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

int WriteFailure(std::string_view what, int error) {
    PrintError("cannot write the " + std::string(what) + ": " + std::strerror(error));
    return kExitFailure;
}

}  // namespace oryx::cli
