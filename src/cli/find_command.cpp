#include "cli/find_command.h"

#include <cerrno>
#include <optional>

#include "cli/arg_parser.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/component_path.h"
#include "search/search_cursor.h"
#include "search/search_query.h"
#include "text/message_value.h"
#include "text/tab_escape.h"

namespace oryx::cli {
namespace {

struct ScopeName {
    std::string_view name;
    search::SearchScope scope;
};

constexpr ScopeName kScopes[] = {
    {"names", search::SearchScope::Names},
    {"paths", search::SearchScope::Paths},
    {"attr-names", search::SearchScope::AttributeNames},
    {"values", search::SearchScope::Values},
    {"all", search::SearchScope::All},
};

std::string ScopeNames() {
    std::string names;
    for (const ScopeName& s : kScopes) {
        if (!names.empty()) names += ", ";
        names += s.name;
    }
    return names;
}

search::SearchScope ParseScope(const std::string& name) {
    for (const ScopeName& s : kScopes)
        if (s.name == name) return s.scope;
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
    const prov::ComponentNode* pathOf = nullptr;
    std::string path;
    search::ForEachHit(store, *query, [&](const search::SearchHit& hit) {
        found = true;
        if (hit.node != pathOf) {
            pathOf = hit.node;
            path = search::ComponentPath(*hit.node);
        }
        text::AppendTabEscaped(out, path);
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
