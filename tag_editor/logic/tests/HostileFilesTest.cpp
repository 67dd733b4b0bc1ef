// An "MP3 file" that is a FIFO or a link to a device: every operation ends at
// once with an error naming the file, instead of waiting for a writer or
// scanning an endless stream for a frame sync.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

#include "platform/base/IoError.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/TagCodec.h"

using namespace velmora;

namespace {

struct Operation {
    const char* name;
    std::function<void(const std::string&)> run;
};

class NonRegularMp3 : public ::testing::TestWithParam<Operation> {};

} // namespace

TEST_P(NonRegularMp3, FailsAtOnceNamingTheFile) {
    wb::TempDir dir;
    const std::string fifo = dir / "x.mp3", device = dir / "zero.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", device);
    for (const auto& path : {fifo, device}) {
        try {
            GetParam().run(path);
            ADD_FAILURE() << path << " was taken for an MP3 file";
        } catch (const wb::IoError& e) {
            EXPECT_EQ(e.FileName(), path);
            EXPECT_NE(std::string(e.what()).find("is not a regular file"), std::string::npos) << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, NonRegularMp3,
    ::testing::Values(Operation{"ReadTag", [](const std::string& p) { ReadTag(p); }},
                      Operation{"ReadMpegInfo", [](const std::string& p) { ReadMpegInfo(p); }},
                      Operation{"FindFrameSync", [](const std::string& p) { FindFrameSync(p); }},
                      Operation{"WriteTag", [](const std::string& p) { WriteTag(p, TTagInfo{}); }},
                      Operation{"RemoveTag", [](const std::string& p) { RemoveTag(p); }}),
    [](const auto& info) { return std::string(info.param.name); });
