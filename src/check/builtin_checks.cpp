#include "check/builtin_checks.h"

#include <string>

#include "prov/component_store.h"
#include "prov/read_diagnostics.h"

namespace oryx::check {

namespace {

constexpr BuiltinCheckInfo kBuiltinChecks[] = {
    {BuiltinCheck::SetOtherComponent, "set-other-component", Severity::Warning},
    {BuiltinCheck::MissingParent, "missing-parent", Severity::Warning},
    {BuiltinCheck::AddedAgain, "added-again", Severity::Note},
    {BuiltinCheck::HiddenTopLevel, "hidden-top-level", Severity::Warning},
    {BuiltinCheck::UnnamedAttribute, "unnamed-attribute", Severity::Warning},
    {BuiltinCheck::LineIgnored, "line-ignored", Severity::Note},
    {BuiltinCheck::ReturnAtTop, "return-at-top", Severity::Note},
    {BuiltinCheck::DanglingReference, "dangling-reference", Severity::Warning},
    {BuiltinCheck::PartialReference, "partial-reference", Severity::Note},
    {BuiltinCheck::RuleUnmatched, "rule-unmatched", Severity::Note},
};
static_assert(std::size(kBuiltinChecks) == kBuiltinCheckCount);

constexpr bool InTableOrder() {
    for (std::size_t i = 0; i < kBuiltinCheckCount; ++i)
        if (static_cast<std::size_t>(kBuiltinChecks[i].check) != i) return false;
    return true;
}
static_assert(InTableOrder(), "the table follows BuiltinCheck's order");

BuiltinCheck CheckOfNote(prov::ReadNoteKind kind) {
    switch (kind) {
    case prov::ReadNoteKind::SetOtherComponent: return BuiltinCheck::SetOtherComponent;
    case prov::ReadNoteKind::MissingParent: return BuiltinCheck::MissingParent;
    case prov::ReadNoteKind::AddedAgain: return BuiltinCheck::AddedAgain;
    case prov::ReadNoteKind::HiddenTopLevel: return BuiltinCheck::HiddenTopLevel;
    case prov::ReadNoteKind::UnnamedAttribute: return BuiltinCheck::UnnamedAttribute;
    case prov::ReadNoteKind::LineIgnored: return BuiltinCheck::LineIgnored;
    case prov::ReadNoteKind::ReturnAtTop: return BuiltinCheck::ReturnAtTop;
    }
    return BuiltinCheck::LineIgnored;
}

std::string MessageOf(const prov::ReadNote& note, const std::string& path) {
    switch (note.kind) {
    case prov::ReadNoteKind::SetOtherComponent:
        return "set line names " + Quoted(note.named) + " but its pairs went to " + Quoted(path);
    case prov::ReadNoteKind::MissingParent:
        return "created " + Quoted(path) + " only; " + Quoted(note.rest) + " below it was not created";
    case prov::ReadNoteKind::AddedAgain: return Quoted(note.named) + " exists already; the line creates nothing";
    case prov::ReadNoteKind::HiddenTopLevel:
        return Quoted(path) + " was made beside the add node, where nothing shows it";
    case prov::ReadNoteKind::UnnamedAttribute: return "attribute without a name: " + Quoted(note.named);
    case prov::ReadNoteKind::LineIgnored: return "line ignored: it fits no keyword of the " + note.named + " format";
    case prov::ReadNoteKind::ReturnAtTop: return "'return' with no component entered";
    }
    return {};
}

}  // namespace

const BuiltinCheckInfo& BuiltinInfo(BuiltinCheck check) { return kBuiltinChecks[static_cast<std::size_t>(check)]; }

std::optional<BuiltinCheck> BuiltinByName(std::string_view id) {
    for (const BuiltinCheckInfo& info : kBuiltinChecks)
        if (info.id == id) return info.check;
    return std::nullopt;
}

BuiltinSeverities::BuiltinSeverities() {
    for (const BuiltinCheckInfo& info : kBuiltinChecks) Set(info.check, info.severity);
}

void AddBuiltinFinding(BuiltinCheck check, const BuiltinSeverities& severities, std::uint32_t line, std::string path,
                       std::string message, std::vector<Finding>& out) {
    const std::optional<Severity> severity = severities.Of(check);
    if (!severity) return;
    out.push_back({line,
                   *severity,
                   std::string(BuiltinInfo(check).id),
                   std::move(path),
                   std::move(message),
                   static_cast<std::uint32_t>(check),
                   {}});
}

void AddReadFindings(const prov::ReadDiagnostics& diagnostics, const BuiltinSeverities& severities,
                     std::vector<Finding>& out) {
    for (const prov::ReadNote& note : diagnostics.Notes()) {
        const BuiltinCheck check = CheckOfNote(note.kind);
        if (!severities.Of(check)) continue;
        std::string path = note.node ? prov::ComponentPath(*note.node) : std::string();
        std::string message = MessageOf(note, path);
        AddBuiltinFinding(check, severities, note.line, std::move(path), std::move(message), out);
    }
}

}  // namespace oryx::check
