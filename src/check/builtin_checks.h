#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "check/finding.h"

namespace oryx::prov {
class ReadDiagnostics;
}

namespace oryx::check {

// The checks that are always on, in the order their findings on one line
// come.
enum class BuiltinCheck {
    SetOtherComponent,
    MissingParent,
    AddedAgain,
    HiddenTopLevel,
    UnnamedAttribute,
    LineIgnored,
    ReturnAtTop,
    DanglingReference,
    PartialReference,
    RuleUnmatched,
};
constexpr std::size_t kBuiltinCheckCount = 10;

struct BuiltinCheckInfo {
    BuiltinCheck check;
    std::string_view id;
    Severity severity;  // by default
};

const BuiltinCheckInfo& BuiltinInfo(BuiltinCheck check);
std::optional<BuiltinCheck> BuiltinByName(std::string_view id);

// The severity of each built-in check in a run; nullopt turns one off.
class BuiltinSeverities final {
public:
    BuiltinSeverities();
    std::optional<Severity> Of(BuiltinCheck check) const { return severity_[static_cast<std::size_t>(check)]; }
    void Set(BuiltinCheck check, std::optional<Severity> severity) {
        severity_[static_cast<std::size_t>(check)] = severity;
    }

private:
    std::array<std::optional<Severity>, kBuiltinCheckCount> severity_;
};

// A finding of a built-in check that is on; nothing when it is off.
void AddBuiltinFinding(BuiltinCheck check, const BuiltinSeverities& severities, std::uint32_t line, std::string path,
                       std::string message, std::vector<Finding>& out);

// The findings of what the reader passed over, from its notes.
void AddReadFindings(const prov::ReadDiagnostics& diagnostics, const BuiltinSeverities& severities,
                     std::vector<Finding>& out);

}  // namespace oryx::check
