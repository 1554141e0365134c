#include "cli/arg_parser.h"

#include "text/message_value.h"

namespace oryx::cli {

ArgParser& ArgParser::Flag(std::string_view name, bool& given) {
    options_.push_back({std::string(name), &given, nullptr, nullptr, {}});
    return *this;
}

ArgParser& ArgParser::Value(std::string_view name, std::optional<std::string>& value, std::string_view needs) {
    options_.push_back({std::string(name), nullptr, &value, nullptr, std::string(needs)});
    return *this;
}

ArgParser& ArgParser::Repeated(std::string_view name, std::vector<std::string>& values, std::string_view needs) {
    options_.push_back({std::string(name), nullptr, nullptr, &values, std::string(needs)});
    return *this;
}

const ArgParser::Option* ArgParser::Find(const std::string& arg, std::optional<std::string>& joined) const {
    joined.reset();
    for (const Option& option : options_) {
        if (arg == option.name) return &option;
        if (option.flag != nullptr || !arg.starts_with(option.name)) continue;
        const bool oneLetter = option.name.size() == 2 && option.name[0] == '-' && option.name[1] != '-';
        if (oneLetter) {
            joined = arg.substr(option.name.size());
            return &option;
        }
        if (arg[option.name.size()] == '=') {
            joined = arg.substr(option.name.size() + 1);
            return &option;
        }
    }
    return nullptr;
}

Args ArgParser::Parse(const Args& args) const {
    Args positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> joined;
        const Option* option = arg.starts_with("-") ? Find(arg, joined) : nullptr;
        if (option == nullptr) {
            if (arg.starts_with("--"))
                throw UsageError{"unknown option '" + text::MessageValue(arg) + "' for " + command_};
            positional.push_back(arg);
            continue;
        }
        if (option->flag != nullptr) {
            *option->flag = true;
            continue;
        }
        if (!joined) {
            if (i + 1 == args.size()) throw UsageError{option->name + " needs " + option->needs};
            joined = args[++i];
        }
        if (option->values != nullptr) {
            option->values->push_back(std::move(*joined));
            continue;
        }
        if (option->value->has_value()) throw UsageError{option->name + " given twice"};
        *option->value = std::move(*joined);
    }
    return positional;
}

}  // namespace oryx::cli
