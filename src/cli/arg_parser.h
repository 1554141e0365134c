#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_common.h"

namespace oryx::cli {

// The one parser of every oryx-cli command's arguments, so that all commands
// read their options alike. A command declares its options, then parses:
//
//     bool regex = false;
//     std::optional<std::string> scope;
//     ArgParser parser("find");
//     parser.Flag("--regex", regex);
//     parser.Value("--in", scope, "a scope");
//     const Args positional = parser.Parse(args);  // FILE and QUERY
//
// The rules, the same for every command:
// - options may stand anywhere among the positional arguments, which keep
//   their order;
// - "--" ends the options: every argument after it is positional, even one
//   that begins with "-";
// - a value option takes the next argument whatever it holds ("--in names"),
//   or the text after "=" ("--in=names"); a one-letter option ("-j") also
//   takes the text joined to it ("-j4");
// - an argument that begins with "--" and is no declared option is a usage
//   error; any other argument that begins with "-" ("-", "-1") is positional
//   unless it is declared;
// - a value option given twice is a usage error, unless declared Repeated;
//   a flag may be given twice.
// Parse throws UsageError for these errors; an argument the message echoes
// is quoted with text::MessageValue. The variables given to the declarations
// must outlive Parse.
class ArgParser final {
public:
    // `command` names the command in "unknown option 'X' for COMMAND".
    explicit ArgParser(std::string_view command) : command_(command) {}

    // An option without a value: `given` becomes true when it is present.
    ArgParser& Flag(std::string_view name, bool& given);
    // An option with one value; `needs` completes "NAME needs ..." when the
    // value is missing (such as "a file name").
    ArgParser& Value(std::string_view name, std::optional<std::string>& value, std::string_view needs);
    // An option that may be given many times, each value in order.
    ArgParser& Repeated(std::string_view name, std::vector<std::string>& values, std::string_view needs);

    // The positional arguments of `args`, the options stored in the variables.
    Args Parse(const Args& args) const;

private:
    struct Option {
        std::string name;
        bool* flag = nullptr;
        std::optional<std::string>* value = nullptr;
        std::vector<std::string>* values = nullptr;
        std::string needs;
    };

    // The option `arg` names and, for "--name=value" or "-jVALUE", the value
    // joined to it; nullptr when `arg` names none.
    const Option* Find(const std::string& arg, std::optional<std::string>& joined) const;

    std::string command_;
    std::vector<Option> options_;
};

}  // namespace oryx::cli
