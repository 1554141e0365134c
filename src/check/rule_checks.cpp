#include "check/rule_checks.h"

#include <re2/re2.h>

#include <optional>
#include <string>

#include "check/path_pattern.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "text/ascii_case.h"

namespace oryx::check {

namespace {

// Whether the line's name (prov::LineName) is `name`, ignoring ASCII case:
// LineName holds no "=", so the name must end where the line's first "=" is,
// which spares most lines a search for it.
bool NameIs(std::string_view line, std::string_view name) {
    if (line.size() < name.size() || (line.size() > name.size() && line[name.size()] != '=')) return false;
    return text::EqualIgnoringAsciiCase(line.substr(0, name.size()), name) && name.find('=') == std::string_view::npos;
}

// The findings of one rule in one file.
class RuleCheck final {
public:
    RuleCheck(const Rule& rule, std::uint32_t order, const prov::ComponentStore& store,
              const prov::ReadDiagnostics& diagnostics, std::vector<Finding>& out)
        : rule_(rule), order_(order), store_(store), diagnostics_(diagnostics), out_(out) {}

    // The rule's pattern, then its exceptions.
    void AddPatterns(std::vector<const PathPattern*>& patterns) {
        first_ = patterns.size();
        patterns.push_back(rule_.path ? &*rule_.path : &*rule_.target);
        for (const PathPattern& except : rule_.except) patterns.push_back(&except);
        end_ = patterns.size();
    }

    // One component of the walk, with what each pattern says of it.
    void Visit(const prov::ComponentNode& node, std::span<const char> matched) {
        if (!matched[first_]) return;
        matchedAny_ = true;
        for (std::size_t k = first_ + 1; k < end_; ++k)
            if (matched[k]) return;
        foundOne_ = true;
        OnComponent(node);
    }

    // Whether the rule's path matched some component, and whether one the
    // rule is about was found (not excepted).
    bool MatchedAny() const { return matchedAny_; }
    bool FoundOne() const { return foundOne_; }
    // After every walk of the store, with whether any found a component.
    void Finish(bool foundOne, std::vector<Finding>& out) const {
        if (rule_.kind == RuleKind::Exists && !foundOne)
            out.push_back(Made(0, {}, "no component matches " + Quoted(rule_.target->Text())));
    }

private:
    void OnComponent(const prov::ComponentNode& node) {
        switch (rule_.kind) {
        case RuleKind::Require:
            for (const std::string& name : rule_.require)
                if (!FirstLine(node, name)) Add(NodeLine(node), node, "no attribute " + Quoted(name));
            for (const std::string& name : rule_.forbid)
                if (const std::optional<FoundLine> line = FirstLine(node, name)) {
                    Add(diagnostics_.AttributeLine(store_, line->id), node, "attribute " + Quoted(name) + " is set");
                    out_.back().attribute = prov::LineName(line->text);
                }
            break;
        case RuleKind::Match:
        case RuleKind::OneOf:
        case RuleKind::Range: CheckValues(node); break;
        case RuleKind::Exists: break;
        case RuleKind::Absent:
            Add(NodeLine(node), node, Quoted(prov::ComponentPath(node)) + " matches " + Quoted(rule_.target->Text()));
            break;
        }
    }

    void CheckValues(const prov::ComponentNode& node) {
        const prov::FileLineRange lines = node.FileLines();
        for (auto line = lines.begin(); line != lines.end(); ++line) {
            if (!NameIs(*line, rule_.attribute)) continue;
            const std::string_view value = prov::LineValue(*line);
            if (ValueFits(value)) continue;
            std::string detail = Quoted(rule_.attribute) + " is " + Quoted(value) + ", ";
            switch (rule_.kind) {
            case RuleKind::Match: detail += "which does not match " + Quoted(rule_.matchText); break;
            case RuleKind::OneOf:
                detail += "not one of ";
                for (std::size_t i = 0; i < rule_.oneOf.size(); ++i) {
                    if (i > 0) detail += ", ";
                    detail += Quoted(rule_.oneOf[i]);
                }
                break;
            default: detail += "outside " + rule_.lowText + ".." + rule_.highText; break;
            }
            Add(diagnostics_.AttributeLine(store_, line.Id()), node, std::move(detail));
            out_.back().attribute = prov::LineName(*line);
        }
    }

    bool ValueFits(std::string_view value) const {
        switch (rule_.kind) {
        case RuleKind::Match: return RE2::FullMatch(re2::StringPiece(value.data(), value.size()), *rule_.match);
        case RuleKind::OneOf:
            for (const std::string& allowed : rule_.oneOf)
                if (value == allowed) return true;
            return false;
        case RuleKind::Range: {
            const std::optional<DecimalNumber> number = DecimalNumber::Parse(value);
            return number && number->Compare(*rule_.low) >= 0 && number->Compare(*rule_.high) <= 0;
        }
        default: return true;
        }
    }

    struct FoundLine {
        std::string_view text;
        prov::AttributeLineId id;
    };
    // The first of the node's lines with the attribute, if any.
    static std::optional<FoundLine> FirstLine(const prov::ComponentNode& node, std::string_view name) {
        const prov::FileLineRange lines = node.FileLines();
        for (auto line = lines.begin(); line != lines.end(); ++line)
            if (NameIs(*line, name)) return FoundLine{*line, line.Id()};
        return std::nullopt;
    }

    std::uint32_t NodeLine(const prov::ComponentNode& node) const { return diagnostics_.NodeLine(store_, node); }

    void Add(std::uint32_t line, const prov::ComponentNode& node, std::string detail) {
        Add(line, prov::ComponentPath(node), std::move(detail));
    }
    void Add(std::uint32_t line, std::string path, std::string detail) {
        out_.push_back(Made(line, std::move(path), std::move(detail)));
    }
    Finding Made(std::uint32_t line, std::string path, std::string detail) const {
        return {line, rule_.severity, rule_.id, std::move(path), rule_.MessageHead() + detail, order_, {}};
    }

    const Rule& rule_;
    std::uint32_t order_;
    const prov::ComponentStore& store_;
    const prov::ReadDiagnostics& diagnostics_;
    std::vector<Finding>& out_;
    std::size_t first_ = 0, end_ = 0;  // the rule's patterns in the walk's list
    bool matchedAny_ = false;
    bool foundOne_ = false;
};

}  // namespace

RuleRunner::RuleRunner(const RuleSet& rules)
    : rules_(rules), matched_(std::make_unique<std::atomic<bool>[]>(rules.rules.size())) {}

struct RuleRunner::Walk::Checks {
    std::vector<RuleCheck> checks;
    std::optional<PatternWalk> walk;
};

RuleRunner::Walk::Walk(RuleRunner& runner, const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                       std::vector<Finding>& out)
    : checks_(std::make_unique<Checks>()) {
    // One walk for every rule: the tree is walked once, however many rules.
    const RuleSet& rules = runner.rules_;
    checks_->checks.reserve(rules.rules.size());
    std::vector<const PathPattern*> patterns;
    for (std::size_t i = 0; i < rules.rules.size(); ++i) {
        checks_->checks.emplace_back(*rules.rules[i], static_cast<std::uint32_t>(kBuiltinCheckCount + i), store,
                                     diagnostics, out);
        checks_->checks.back().AddPatterns(patterns);
    }
    checks_->walk.emplace(patterns);
}

RuleRunner::Walk::~Walk() = default;

void RuleRunner::Walk::Below(std::span<const prov::ComponentNode* const> tops, const ComponentVisit& everyComponent) {
    checks_->walk->Below(tops, static_cast<bool>(everyComponent),
                         [&](const prov::ComponentNode& node, std::span<const char> matched) {
                             if (!matched.empty())
                                 for (RuleCheck& check : checks_->checks) check.Visit(node, matched);
                             if (everyComponent) everyComponent(node);
                         });
}

void RuleRunner::Finish(std::span<Walk* const> walks, std::vector<Finding>& out) {
    if (walks.empty()) return;
    for (std::size_t i = 0; i < rules_.rules.size(); ++i) {
        bool foundOne = false, matchedAny = false;
        for (const Walk* walk : walks) {
            foundOne = foundOne || walk->checks_->checks[i].FoundOne();
            matchedAny = matchedAny || walk->checks_->checks[i].MatchedAny();
        }
        walks.front()->checks_->checks[i].Finish(foundOne, out);
        if (matchedAny) matched_[i].store(true, std::memory_order_relaxed);
    }
}

void RuleRunner::Check(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                       std::vector<Finding>& out, const ComponentVisit& everyComponent) {
    Walk walk(*this, store, diagnostics, out);
    if (const prov::ComponentNode* add = store.AddNode()) walk.Below(add->Children(), everyComponent);
    Walk* const walks[] = {&walk};
    Finish(walks, out);
}

std::vector<const Rule*> RuleRunner::UnmatchedRules() const {
    std::vector<const Rule*> unmatched;
    for (std::size_t i = 0; i < rules_.rules.size(); ++i)
        if (rules_.rules[i]->path && !matched_[i].load(std::memory_order_relaxed))
            unmatched.push_back(rules_.rules[i].get());
    return unmatched;
}

Finding UnmatchedRuleFinding(const Rule& rule, Severity severity) {
    return {rule.line,
            severity,
            std::string(BuiltinInfo(BuiltinCheck::RuleUnmatched).id),
            rule.path ? rule.path->Text() : std::string(),
            "rule matched no component in any file",
            static_cast<std::uint32_t>(BuiltinCheck::RuleUnmatched),
            {}};
}

}  // namespace oryx::check
