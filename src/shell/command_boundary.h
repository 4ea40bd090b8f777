#pragma once

#include <exception>
#include <utility>

#include "core/interaction.h"

// The command boundary: where a command that the user started (a menu entry, a key, a button, a
// double-click, a start-up step) meets the logic. Logic throws its own texts; here an exception
// ends the command with the standard error box, never the program. Every slot, connected lambda
// and event override that calls logic runs its work through RunGuarded or Guarded.
namespace torvane::shell {

// Runs body; an exception is shown with prompter.Error. Returns false when one was.
template <class F>
bool RunGuarded(core::Prompter& prompter, F&& body) {
    try {
        std::forward<F>(body)();
        return true;
    } catch (const std::exception& e) {
        prompter.Error(e.what());
    } catch (...) {
        prompter.Error("An unexpected error ended the command.");
    }
    return false;
}

// A slot that runs body behind the boundary: connect(sender, signal, context, Guarded(p, body)).
template <class F>
auto Guarded(core::Prompter& prompter, F body) {
    return [&prompter, body = std::move(body)]() mutable { RunGuarded(prompter, body); };
}

}  // namespace torvane::shell
