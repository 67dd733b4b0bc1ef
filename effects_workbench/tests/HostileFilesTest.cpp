// Files and events that a user meets apart from the normal case: a FIFO or a
// device named like a WAV file, a block align that disagrees with the
// channels, texts longer than their line, and the program ended by a signal.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "effects_workbench/tests/WindowTestSupport.h"
#include "platform/media/AlsaWavePlayer.h"

using namespace sonafex;

namespace {

namespace fs = std::filesystem;

// A device that is not there: the player speaks only of files.
class Hostile : public sonafex::test::WindowTest<wb::media::AlsaWavePlayer> {
protected:
    Hostile() : WindowTest("wb_no_such_device") {}
    std::string Write(const std::string& name, const sonafex::test::Bytes& bytes) {
        sonafex::test::WriteBytes(dir / name, bytes);
        return dir / name;
    }
    static sonafex::test::Bytes WithBlockAlign(uint16_t channels, uint16_t blockAlign) {
        sonafex::test::Format f;
        f.channels = channels;
        f.blockAlign = blockAlign;
        f.byteRate = 44100u * blockAlign;
        auto b = sonafex::test::Header(f);
        sonafex::test::AddChunk(b, "data", sonafex::test::Bytes(800, 0x11));
        sonafex::test::Finish(b);
        return b;
    }
};

} // namespace

TEST_F(Hostile, FilesThatCannotBeWorkedOnAreRefusedWithTheirReason) {
    auto& w = *window;
    const std::string fifo = dir / "x.wav", device = dir / "zero.wav";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", device);
    const struct {
        std::string path, reason;
    } cases[] = {
        {fifo, "is not a regular file"},
        {device, "is not a regular file"},
        {Write("mono4.wav", WithBlockAlign(1, 4)), "block align of 4 bytes does not fit 1 channel(s)"},
        {Write("stereo2.wav", WithBlockAlign(2, 2)), "block align of 2 bytes does not fit 2 channel(s)"},
    };
    for (const auto& c : cases) {
        w.OpenFile(c.path);  // returns at once
        EXPECT_EQ(w.Label22->Caption(), "Invalid File!!!") << c.path;
        EXPECT_NE(w.Label5->Caption().find(c.reason), std::string::npos) << w.Label5->Caption();
        EXPECT_FALSE(w.Save1.Enabled() || w.ComputeButton->Enabled() || w.ChannelConvertButton->Enabled());
    }
}

TEST_F(Hostile, FileNameAndPlayerLineShowTheFileNowOpen) {
    auto& w = *window;
    const auto good = Write("good.wav", sonafex::test::MonoFile({1, 2, 3, 4}, 44100));
    const auto bad = Write("bad.wav", {'n', 'o', 't', ' ', 'w', 'a', 'v', 'e'});
    auto cannotPlay = [&] { return w.MediaPlayer1->Status().rfind("Cannot play", 0) == 0; };

    w.OpenFile(bad);
    EXPECT_FALSE(cannotPlay()) << "closed with its invalid file";
    w.OpenFile(good);
    EXPECT_EQ(w.Label15->Caption(), "good.wav");
    EXPECT_FALSE(cannotPlay());
    w.OpenFile(bad);
    EXPECT_EQ(w.Label15->Caption(), "bad.wav");
    EXPECT_EQ(w.Label22->Caption(), "Invalid File!!!");
    EXPECT_FALSE(cannotPlay());

    // A file the player refuses, then "New (Clear)".
    w.OpenFile(good);
    fs::remove(good);
    w.ReloadFileClick();
    w.New1Click();
    EXPECT_FALSE(cannotPlay());
}

TEST_F(Hostile, ALongProblemIsShownWholeAndAsTheToolTip) {
    auto& w = *window;
    wb::TempDir home("sx");
    const std::string folder = home / "home/me/music";
    fs::create_directories(folder);
    sonafex::test::Bytes cut = sonafex::test::MonoFile(std::vector<int16_t>(4000, 5), 44100);
    cut.resize(cut.size() / 2);
    const std::string path = folder + "/track-01.wav";
    sonafex::test::WriteBytes(path, cut);
    w.OpenFile(path);
    const std::string problem = w.Label5->Caption();
    ASSERT_EQ(problem.rfind("Incomplete file \"" + path + "\"", 0), 0u) << problem;
    EXPECT_EQ(w.Label5->Hint(), problem);
    auto* label = qobject_cast<QLabel*>(w.Label5->Widget());
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_LE(label->heightForWidth(label->width()), label->height());
    // No piece of the path is wider than the line.
    const QFontMetrics metrics(label->font());
    for (const QString& piece : label->text().split(QRegularExpression("[ \\x{200B}]")))
        EXPECT_LE(metrics.horizontalAdvance(piece), label->width()) << piece.toStdString();
}

class EndedBySignal : public Hostile, public ::testing::WithParamInterface<int> {};

TEST_P(EndedBySignal, LeavesNoTemporaryFolder) {
    auto& w = *window;
    w.OpenFile(Write("m.wav", sonafex::test::MonoFile({100, 200, 300, 400}, 44100)));
    w.ComputeButton->Click();
    w.Button4->Click();
    ASSERT_TRUE(fs::exists(w.FirstTemp()) && fs::exists(w.SecondTemp()));
    const std::string folder = w.TempFolder();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::raise(GetParam());
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam());
    EXPECT_FALSE(fs::exists(folder));
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) {
                             return info.param == SIGTERM ? "Term" : info.param == SIGINT ? "Int" : "Hup";
                         });
