// The main of every test binary: gtest's own, with a listener that puts back
// the working folder each test started in. Controls make folders current, so
// a test that removes such a folder would otherwise change what every later
// test finds (a shell started then cannot even run); the test that leaves
// the working folder deleted fails, and the ones after it run as alone.
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
    // A shell starts a background job with SIGINT ignored, and a program
    // rightly leaves an ignored signal alone; the signal tests expect the
    // dispositions of a program started in the foreground, however this
    // binary was started.
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, SIG_DFL);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new WorkingFolder);
    return RUN_ALL_TESTS();
}
