#pragma once

#include <exception>
#include <functional>
#include <utility>

namespace oryx::doc {

// The application's error box: caption "Error", the error's text, the error
// icon. For errors only the user can deal with.
void ShowError(const std::exception& error);

// The one boundary between the user's commands and Qt. Every menu item,
// toolbar button, shortcut, popup item and dialog button runs its work
// through here: an error the work raises is shown with ShowError and goes no
// further, since Qt's signal and event code must never be thrown through.
// False when the work failed.
bool RunCommand(const std::function<void()>& work);

// `work` as a slot for connect(): it runs through RunCommand, whatever the
// signal passes.
template <typename Work>
auto Command(Work work) {
    return [work = std::move(work)] { RunCommand(work); };
}

}  // namespace oryx::doc
