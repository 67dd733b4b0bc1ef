// The main of every test binary. Controls make folders current, so after each
// test the working folder it started in is put back: a test that leaves it
// deleted fails, and the ones after it run as if alone.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <system_error>

namespace {

class WorkingFolder : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        std::error_code ec;
        start_ = std::filesystem::current_path(ec);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        std::error_code ec;
        const std::filesystem::path now = std::filesystem::current_path(ec);
        EXPECT_FALSE(ec) << "the test left its working folder deleted (" << ec.message() << ")";
        if (!start_.empty() && (ec || now != start_)) std::filesystem::current_path(start_, ec);
    }
    std::filesystem::path start_;
};

} // namespace

int main(int argc, char** argv) {
    // A shell starts a background job with SIGINT ignored; the signal tests
    // expect a foreground program's dispositions, however this one started.
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, SIG_DFL);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new WorkingFolder);
    return RUN_ALL_TESTS();
}
