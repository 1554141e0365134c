#include "check/rules_file.h"

#include <re2/re2.h>
#include <yaml-cpp/yaml.h>

#include <set>

#include "prov/regular_file.h"

namespace oryx::check {

namespace {

// Reads one file's rules into a rule set, stopping at the first error.
class RulesReader final {
public:
    RulesReader(const std::string& file, RuleSet& rules) : file_(file), rules_(rules) {
        for (const auto& rule : rules.rules) ids_.insert(rule->id);
    }

    void Read(std::string_view yaml) {
        YAML::Node root;
        try {
            root = YAML::Load(std::string(yaml));
        } catch (const YAML::Exception& e) {
            throw RulesError(file_, Line(e.mark), Column(e.mark), e.msg);
        }
        if (!root || root.IsNull()) return;
        if (!root.IsMap()) Fail(root, "a rules file is a mapping with 'rules' and 'builtin'");
        for (const auto& entry : root) {
            const std::string key = Scalar(entry.first, "a key");
            if (key == "rules")
                ReadRules(entry.second);
            else if (key == "builtin")
                ReadBuiltins(entry.second);
            else
                Fail(entry.first, "unknown key " + Quoted(key) + " (one of rules, builtin)");
        }
    }

private:
    static std::uint32_t Line(const YAML::Mark& mark) {
        return mark.line < 0 ? 0 : static_cast<std::uint32_t>(mark.line + 1);
    }
    static std::uint32_t Column(const YAML::Mark& mark) {
        return mark.column < 0 ? 0 : static_cast<std::uint32_t>(mark.column + 1);
    }

    [[noreturn]] void Fail(const YAML::Mark& at, const std::string& message) const {
        throw RulesError(file_, Line(at), Column(at), message);
    }
    [[noreturn]] void Fail(const YAML::Node& at, const std::string& message) const { Fail(at.Mark(), message); }

    std::string Scalar(const YAML::Node& node, const std::string& what) const {
        if (!node.IsScalar()) Fail(node, what + " must be a single value");
        return node.Scalar();
    }

    std::vector<std::string> List(const YAML::Node& node, const std::string& what) const {
        std::vector<std::string> values;
        if (!node.IsSequence()) Fail(node, what + " must be a list");
        for (const auto& item : node) values.push_back(Scalar(item, "each item of " + what));
        if (values.empty()) Fail(node, what + " must not be empty");
        return values;
    }

    PathPattern Pattern(const YAML::Node& node, const std::string& what) const {
        try {
            return PathPattern(Scalar(node, what));
        } catch (const PathPatternError& e) {
            Fail(node, what + ": " + e.message);
        }
    }

    void ReadRules(const YAML::Node& list) {
        if (list.IsNull()) return;
        if (!list.IsSequence()) Fail(list, "'rules' must be a list of rules");
        for (const auto& item : list) ReadRule(item);
    }

    void ReadRule(const YAML::Node& node) {
        if (!node.IsMap()) Fail(node, "a rule must be a mapping of keys such as id, path, require");
        auto rule = std::make_unique<Rule>();
        rule->file = file_;
        rule->line = Line(node.Mark());
        // Where the id, the kind of check and the value check were given.
        std::optional<YAML::Mark> idMark, kindMark, valueMark;
        int kinds = 0;
        std::string kindName;
        const auto kindKey = [&](const YAML::Node& key, const std::string& name) {
            ++kinds;
            if (kinds > 1 &&
                !((name == "forbid" && kindName == "require") || (name == "require" && kindName == "forbid")))
                Fail(key, "a rule has one of require/forbid, attribute, exists or absent; '" + name +
                              "' comes after '" + kindName + "'");
            kindName = name;
            kindMark = key.Mark();
        };
        for (const auto& entry : node) {
            const std::string key = Scalar(entry.first, "a key");
            const YAML::Node& value = entry.second;
            if (key == "id") {
                rule->id = Scalar(value, "id");
                idMark = value.Mark();
            } else if (key == "description") {
                rule->description = Scalar(value, "description");
            } else if (key == "severity") {
                const std::optional<Severity> severity = SeverityByName(Scalar(value, "severity"));
                if (!severity) Fail(value, "severity must be error, warning or note");
                rule->severity = *severity;
            } else if (key == "path") {
                rule->path = Pattern(value, "path");
            } else if (key == "except") {
                if (value.IsScalar()) {
                    rule->except.push_back(Pattern(value, "except"));
                } else {
                    if (!value.IsSequence()) Fail(value, "except must be a list of path patterns");
                    for (const auto& item : value) rule->except.push_back(Pattern(item, "each item of except"));
                }
            } else if (key == "require" || key == "forbid") {
                kindKey(entry.first, key);
                (key == "require" ? rule->require : rule->forbid) = List(value, key);
                rule->kind = RuleKind::Require;
            } else if (key == "attribute") {
                kindKey(entry.first, key);
                rule->attribute = Scalar(value, "attribute");
                if (rule->attribute.empty()) Fail(value, "attribute needs a name");
            } else if (key == "match" || key == "one-of" || key == "range") {
                if (valueMark) Fail(entry.first, "a rule has one of match, one-of or range");
                valueMark = entry.first.Mark();
                ReadValueCheck(key, value, *rule);
            } else if (key == "exists" || key == "absent") {
                kindKey(entry.first, key);
                rule->target = Pattern(value, key);
                rule->kind = key == "exists" ? RuleKind::Exists : RuleKind::Absent;
            } else {
                Fail(entry.first, "unknown key " + Quoted(key) +
                                      " (one of id, description, severity, path, require, forbid, attribute, "
                                      "match, one-of, range, exists, absent, except)");
            }
        }
        if (rule->id.empty()) Fail(idMark.value_or(node.Mark()), "a rule needs an id");
        if (BuiltinByName(rule->id)) Fail(*idMark, Quoted(rule->id) + " is the id of a built-in check");
        if (kinds == 0) Fail(node, "a rule needs one of require, forbid, attribute, exists or absent");
        const bool isAttribute = kindName == "attribute";
        if (isAttribute && !valueMark) Fail(*kindMark, "attribute needs one of match, one-of or range");
        if (!isAttribute && valueMark) Fail(*valueMark, "match, one-of and range go with attribute");
        const bool needsPath = rule->kind != RuleKind::Exists && rule->kind != RuleKind::Absent;
        if (needsPath && !rule->path) Fail(*kindMark, "'" + kindName + "' needs a path");
        if (!needsPath && rule->path) Fail(*kindMark, "'" + kindName + "' takes its pattern itself, not a path");
        if (!ids_.insert(rule->id).second) Fail(*idMark, "rule id " + Quoted(rule->id) + " is used twice");
        rules_.rules.push_back(std::move(rule));
    }

    void ReadValueCheck(const std::string& key, const YAML::Node& value, Rule& rule) const {
        if (key == "match") {
            rule.kind = RuleKind::Match;
            rule.matchText = Scalar(value, "match");
            RE2::Options options;
            options.set_log_errors(false);
            auto re = std::make_shared<RE2>(rule.matchText, options);
            if (!re->ok()) Fail(value, "match is not a valid RE2 pattern: " + re->error());
            rule.match = std::move(re);
        } else if (key == "one-of") {
            rule.kind = RuleKind::OneOf;
            rule.oneOf = List(value, "one-of");
        } else {
            rule.kind = RuleKind::Range;
            if (!value.IsSequence() || value.size() != 2) Fail(value, "range must be a list of two numbers");
            rule.lowText = Scalar(value[0], "a range's end");
            rule.highText = Scalar(value[1], "a range's end");
            rule.low = DecimalNumber::Parse(rule.lowText);
            if (!rule.low) Fail(value[0], Quoted(rule.lowText) + " is not a number");
            rule.high = DecimalNumber::Parse(rule.highText);
            if (!rule.high) Fail(value[1], Quoted(rule.highText) + " is not a number");
            if (rule.low->Compare(*rule.high) > 0) Fail(value, "a range's low end comes first");
        }
    }

    void ReadBuiltins(const YAML::Node& map) {
        if (map.IsNull()) return;
        if (!map.IsMap()) Fail(map, "'builtin' must map check ids to error, warning, note or off");
        for (const auto& entry : map) {
            const std::string id = Scalar(entry.first, "a check id");
            const std::optional<BuiltinCheck> check = BuiltinByName(id);
            if (!check) Fail(entry.first, "unknown built-in check " + Quoted(id));
            const std::string value = Scalar(entry.second, "a check's severity");
            if (value == "off") {
                rules_.builtins.Set(*check, std::nullopt);
                continue;
            }
            const std::optional<Severity> severity = SeverityByName(value);
            if (!severity) Fail(entry.second, "a built-in check is error, warning, note or off");
            rules_.builtins.Set(*check, severity);
        }
    }

    const std::string& file_;
    RuleSet& rules_;
    std::set<std::string> ids_;
};

}  // namespace

RulesError::RulesError(const std::string& file, std::uint32_t line, std::uint32_t column, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message),
      line_(line),
      column_(column) {}

void ParseRules(std::string_view yaml, const std::string& file, RuleSet& rules) { RulesReader(file, rules).Read(yaml); }

void ReadRulesFile(const std::string& file, RuleSet& rules) { ParseRules(prov::ReadRegularFile(file), file, rules); }

}  // namespace oryx::check
