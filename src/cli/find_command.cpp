#include "cli/find_command.h"

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/search_cursor.h"
#include "search/search_options.h"
#include "search/search_query.h"
#include "text/message_value.h"
#include "text/tab_escape.h"

namespace oryx::cli {
namespace {

std::string ScopeNames() {
    std::string names;
    for (const search::ScopeInfo& s : search::kSearchScopes) {
        if (!names.empty()) names += ", ";
        names += s.cliName;
    }
    return names;
}

search::SearchScope ParseScope(const std::string& name) {
    for (const search::ScopeInfo& s : search::kSearchScopes)
        if (s.cliName == name) return s.scope;
    throw UsageError{"unknown scope '" + text::MessageValue(name) + "' for --in (one of " + ScopeNames() + ")"};
}

// FILE and QUERY, with the options wherever they stand.
struct FindArgs {
    std::string file;
    std::string query;
    search::SearchOptions options;
};

FindArgs ParseFindArgs(const Args& args) {
    FindArgs parsed;
    std::optional<std::string> scope;
    const std::string scopeNeeds = "a scope (one of " + ScopeNames() + ")";
    ArgParser parser("find");
    parser.Value("--in", scope, scopeNeeds)
        .Flag("--regex", parsed.options.regex)
        .Flag("--word", parsed.options.wholeWord)
        .Flag("--case", parsed.options.matchCase);
    const Args positional = parser.Parse(args);
    if (scope) parsed.options.scope = ParseScope(*scope);
    if (positional.size() != 2) throw UsageError{"find takes FILE and QUERY"};
    parsed.file = positional[0];
    parsed.query = positional[1];
    return parsed;
}

// Lines go out as they are found, in pieces of this size.
constexpr std::size_t kFlushBytes = 1 << 16;

// The path of each hit's component (as ComponentPath), built from the one
// before: hits come in tree order, so most share all their pieces but the
// last few, and a run with many hits builds no path anew.
class HitPaths final {
public:
    const std::string& Of(const prov::ComponentNode& node) {
        if (&node == last_) return path_;
        last_ = &node;
        up_.clear();
        for (const prov::ComponentNode* n = &node; n->Parent(); n = n->Parent()) up_.push_back(n);
        std::size_t kept = 0;
        while (kept < chain_.size() && kept < up_.size() && chain_[kept].node == up_[up_.size() - 1 - kept]) ++kept;
        chain_.resize(kept);
        path_.resize(kept == 0 ? 0 : chain_.back().end);
        for (std::size_t i = up_.size() - kept; i-- > 0;) {
            if (!chain_.empty()) path_ += ' ';
            path_ += up_[i]->Name();
            chain_.push_back({up_[i], path_.size()});
        }
        return path_;
    }

private:
    struct Piece {
        const prov::ComponentNode* node;
        std::size_t end;  // where its name ends in path_
    };
    const prov::ComponentNode* last_ = nullptr;
    std::string path_;
    std::vector<Piece> chain_;  // the components of path_, the top-level one first
    std::vector<const prov::ComponentNode*> up_;
};

}  // namespace

int RunFind(const Args& args) {
    const FindArgs find = ParseFindArgs(args);
    std::optional<search::SearchQuery> query;
    try {
        query.emplace(find.query, find.options);
    } catch (const search::QueryError& e) {
        PrintError(e.what());
        return kExitFailure;
    }
    prov::ComponentStore store;
    prov::ReadProvisioningFile(find.file, store);

    std::string out;
    bool found = false;
    bool written = true;
    HitPaths paths;
    search::ForEachHit(store, *query, [&](const search::SearchHit& hit) {
        found = true;
        text::AppendTabEscaped(out, paths.Of(*hit.node));
        if (hit.kind == search::SearchHit::Kind::Attribute) {
            out += '\t';
            text::AppendTabEscaped(out, hit.text);
        }
        out += '\n';
        if (out.size() >= kFlushBytes) {
            written = WriteStdout(out);
            out.clear();
        }
        return written;
    });
    if (written) written = WriteStdout(out);
    if (!written) return WriteFailure("matches", errno);
    return found ? kExitOk : kExitNoMatch;
}

}  // namespace oryx::cli
