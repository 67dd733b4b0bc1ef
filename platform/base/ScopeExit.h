#pragma once
// Undoing a temporary change when a scope ends, so the undo runs on the way
// out of an exception as well as on the normal path, written once instead of
// as a catch that cleans up and rethrows.
#include <exception>
#include <utility>

namespace wb {

enum class ScopeExitWhen { Always, OnFailure };

template <class F>
class ScopeExit {
public:
    ScopeExit(ScopeExitWhen when, F undo)
        : undo_(std::move(undo)), when_(when), exceptions_(std::uncaught_exceptions()) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    // An undo that throws on the normal way out reaches the caller as the
    // scope's own exception would; one that throws while an exception is
    // already on its way ends the program, so undos on that path must not.
    ~ScopeExit() noexcept(false) {
        const bool failing = std::uncaught_exceptions() > exceptions_;
        if (when_ == ScopeExitWhen::Always || failing) undo_();
    }

private:
    F undo_;
    ScopeExitWhen when_;
    int exceptions_;
};

// Runs `undo` when the scope ends, however it ends.
template <class F>
[[nodiscard]] ScopeExit<F> OnScopeExit(F undo) {
    return ScopeExit<F>(ScopeExitWhen::Always, std::move(undo));
}

// Runs `undo` only when the scope is left by an exception.
template <class F>
[[nodiscard]] ScopeExit<F> OnScopeFailure(F undo) {
    return ScopeExit<F>(ScopeExitWhen::OnFailure, std::move(undo));
}

}  // namespace wb
