#pragma once

// Runs oryx-cli as a child process and collects what it printed.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_files.h"

namespace oryx::testing {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

inline std::string CliCommand(const std::vector<std::string>& args, const std::string& shellPrefix = "") {
    std::string command = shellPrefix + ShellQuote(ORYX_CLI_PATH);
    for (const std::string& a : args) command += " " + ShellQuote(a);
    return command;
}

inline int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// `shellPrefix` goes before the program in the shell command line, such as
// "ulimit -v 100000; " or "env -i A=b ".
inline CliResult RunCli(const std::vector<std::string>& args, const std::string& shellPrefix = "") {
    TempDir dir;
    const std::string out = (dir.Path() / "out").string();
    const std::string err = (dir.Path() / "err").string();
    const std::string command =
        CliCommand(args, shellPrefix) + " </dev/null >" + ShellQuote(out) + " 2>" + ShellQuote(err);
    CliResult result;
    result.exitCode = ExitStatus(std::system(command.c_str()));
    result.out = ReadBytes(out);
    result.err = ReadBytes(err);
    return result;
}

// The exit status of a run whose output cannot be written: the disk is full.
inline int ExitStatusOnFullDisk(const std::vector<std::string>& args) {
    return ExitStatus(std::system((CliCommand(args) + " >/dev/full 2>/dev/null").c_str()));
}

}  // namespace oryx::testing
