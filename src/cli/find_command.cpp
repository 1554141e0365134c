#include "cli/find_command.h"

#include <cerrno>
#include <optional>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/component_path.h"
#include "search/search_cursor.h"
#include "search/search_options.h"
#include "search/search_query.h"

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
    throw UsageError{"unknown scope '" + name + "' for --in (one of " + ScopeNames() + ")"};
}

// FILE and QUERY, with the options wherever they stand; "--" ends the
// options, so a query may begin with "--".
struct FindArgs {
    std::string file;
    std::string query;
    search::SearchOptions options;
};

FindArgs ParseFindArgs(const Args& args) {
    FindArgs parsed;
    std::vector<std::string> positional;
    bool scopeGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || !a.starts_with("--")) {
            positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--in") {
            if (i + 1 == args.size()) throw UsageError{"--in needs a scope (one of " + ScopeNames() + ")"};
            if (scopeGiven) throw UsageError{"--in given twice"};
            scopeGiven = true;
            parsed.options.scope = ParseScope(args[++i]);
        } else if (a == "--regex") {
            parsed.options.regex = true;
        } else if (a == "--word") {
            parsed.options.wholeWord = true;
        } else if (a == "--case") {
            parsed.options.matchCase = true;
        } else {
            throw UsageError{"unknown option '" + a + "' for find"};
        }
    }
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
        out += path;
        if (hit.kind == search::SearchHit::Kind::Attribute) {
            out += '\t';
            out += hit.text;
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
