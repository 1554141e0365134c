#include "cli/refs_command.h"

#include <cerrno>
#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "refs/reference_index.h"
#include "search/component_path.h"
#include "text/message_value.h"
#include "text/tab_escape.h"

namespace oryx::cli {
namespace {

// FILE and PATH, or FILE and --unresolved, with the options wherever they
// stand.
struct RefsArgs {
    std::string file;
    std::string path;
    bool below = false;
    bool unresolved = false;
};

RefsArgs ParseRefsArgs(const Args& args) {
    RefsArgs parsed;
    ArgParser parser("refs");
    parser.Flag("--below", parsed.below).Flag("--unresolved", parsed.unresolved);
    const Args positional = parser.Parse(args);
    if (parsed.unresolved) {
        if (positional.size() > 1) throw UsageError{"refs --unresolved takes FILE alone, no PATH"};
        if (parsed.below) throw UsageError{"refs --unresolved takes no --below"};
        if (positional.empty()) throw UsageError{"refs takes FILE and PATH, or FILE and --unresolved"};
    } else if (positional.size() != 2) {
        throw UsageError{"refs takes FILE and PATH, or FILE and --unresolved"};
    }
    parsed.file = positional[0];
    if (!parsed.unresolved) parsed.path = positional[1];
    return parsed;
}

constexpr std::string_view Arrow(refs::ReferenceKind kind, bool incoming) {
    if (incoming) return "<- ";
    switch (kind) {
    case refs::ReferenceKind::Exact: return "-> ";
    case refs::ReferenceKind::Partial: return "~> ";
    default: return "?> ";
    }
}

// Lines go out as they are made, in pieces of this size.
constexpr std::size_t kFlushBytes = 1 << 16;

class RefsPrinter final {
public:
    explicit RefsPrinter(const refs::ReferenceIndex& index) : index_(index) {}

    void Own(const refs::Reference& r) {
        out_ += Arrow(r.kind, false);
        text::AppendTabEscaped(out_, r.line);
        End();
    }

    void WithSource(const refs::Reference& r, bool incoming) {
        out_ += Arrow(r.kind, incoming);
        if (r.source != pathOf_) {
            pathOf_ = r.source;
            path_ = prov::ComponentPath(index_.Component(r.source));
        }
        text::AppendTabEscaped(out_, path_);
        out_ += '\t';
        text::AppendTabEscaped(out_, r.line);
        End();
    }

    // Writes what is left; false (with errno set) when a write failed.
    bool Finish() {
        if (written_) written_ = WriteStdout(out_);
        out_.clear();
        return written_;
    }
    bool Printed() const { return printed_; }

private:
    void End() {
        out_ += '\n';
        printed_ = true;
        if (out_.size() >= kFlushBytes) Finish();
    }

    const refs::ReferenceIndex& index_;
    std::string out_;
    std::string path_;
    refs::ComponentNumber pathOf_ = refs::kNoComponent;
    bool printed_ = false;
    bool written_ = true;
};

}  // namespace

int RunRefs(const Args& args) {
    const RefsArgs parsed = ParseRefsArgs(args);
    prov::ComponentStore store;
    prov::ReadProvisioningFile(parsed.file, store);

    const prov::ComponentNode* node = nullptr;
    if (!parsed.unresolved) {
        node = search::FindComponentAtPath(store, parsed.path, search::QueryText::Bytes);
        if (!node) {
            PrintError("no component '" + text::MessageValue(parsed.path) + "' in '" + text::MessageValue(parsed.file) +
                       "'");
            return kExitFailure;
        }
    }
    const refs::ReferenceIndex index(store);
    RefsPrinter printer(index);
    if (parsed.unresolved) {
        for (const refs::Reference& r : index.All())
            if (r.kind != refs::ReferenceKind::Exact) printer.WithSource(r, false);
    } else {
        const refs::ComponentNumber number = index.Number(node);
        for (const refs::Reference& r : index.Outgoing(number)) printer.Own(r);
        if (parsed.below) {
            for (const std::uint32_t i : index.ToSubtree(number)) printer.WithSource(index.All()[i], true);
        } else {
            for (const std::uint32_t i : index.ExactTo(number)) printer.WithSource(index.All()[i], true);
        }
    }
    if (!printer.Finish()) return WriteFailure("references", errno);
    return printer.Printed() ? kExitOk : kExitNoMatch;
}

}  // namespace oryx::cli
