#include "platform/base/ScopeExit.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

struct ScopeCase {
    const char* name;
    wb::ScopeExitWhen when;
    bool scopeThrows;
    bool insideUnwinding;  // the scope runs in a destructor while another exception is on its way
    bool undoRuns;
};

class ScopeExitTest : public ::testing::TestWithParam<ScopeCase> {};

bool RunScope(const ScopeCase& c) {
    bool ran = false;
    auto scope = [&] {
        wb::ScopeExit undo(c.when, [&] { ran = true; });
        if (c.scopeThrows) throw std::runtime_error("inner");
    };
    if (!c.insideUnwinding) {
        try { scope(); } catch (const std::runtime_error&) {}
        return ran;
    }
    struct RunsOnUnwind {
        std::function<void()> f;
        ~RunsOnUnwind() { try { f(); } catch (const std::runtime_error&) {} }
    };
    try {
        RunsOnUnwind r{scope};
        throw std::logic_error("outer");
    } catch (const std::logic_error&) {}
    return ran;
}

TEST_P(ScopeExitTest, UndoRunsWhenAsked) { EXPECT_EQ(RunScope(GetParam()), GetParam().undoRuns); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ScopeExitTest,
    ::testing::Values(ScopeCase{"AlwaysOnNormalExit", wb::ScopeExitWhen::Always, false, false, true},
                      ScopeCase{"AlwaysOnException", wb::ScopeExitWhen::Always, true, false, true},
                      ScopeCase{"FailureOnNormalExit", wb::ScopeExitWhen::OnFailure, false, false, false},
                      ScopeCase{"FailureOnException", wb::ScopeExitWhen::OnFailure, true, false, true},
                      ScopeCase{"FailureOnNormalExitWhileUnwinding", wb::ScopeExitWhen::OnFailure, false, true, false},
                      ScopeCase{"FailureOnExceptionWhileUnwinding", wb::ScopeExitWhen::OnFailure, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScopeExit, UndoThatThrowsOnTheNormalWayOutReachesTheCaller) {
    EXPECT_THROW({ auto undo = wb::OnScopeExit([] { throw std::runtime_error("undo"); }); }, std::runtime_error);
}

}  // namespace
