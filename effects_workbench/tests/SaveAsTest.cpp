// "Save As" makes the chosen file the one the window works on; a file that
// may not be replaced is not written. (The save dialog itself refuses a name
// too long for its folder.)
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "effects_workbench/tests/WindowTestSupport.h"
#include "platform/media/RecordingWavePlayer.h"

using namespace sonafex;

using SaveAs = sonafex::test::WindowTest<wb::media::RecordingWavePlayer>;

TEST_F(SaveAs, SaveAndReloadThenUseTheChosenFile) {
    auto& w = *window;
    const std::vector<int16_t> in = {1000, -2000, 4000, 0, -4000};
    const auto first = MakeMono("first.wav", in);
    w.OpenFile(first);
    w.Button3->Click();  // normalised
    const auto normalised = sonafex::test::Samples(*w.Sound());
    driver.AnswerFileDialog(dir / "kept.wav");
    w.SaveAs1.Click();
    EXPECT_EQ(w.Label15->Caption(), "kept.wav");

    w.Button4->Click();  // a further result, then Save
    w.Save1.Click();
    EXPECT_EQ(w.Label22->Caption(), "File Saved");
    EXPECT_EQ(sonafex::test::Samples(SoundFile(first)), in);  // the first file is untouched
    EXPECT_EQ(sonafex::test::Samples(SoundFile(dir / "kept.wav")), normalised);

    w.ReloadFileClick();
    EXPECT_EQ(w.Label15->Caption(), "kept.wav");
    EXPECT_EQ(sonafex::test::Samples(*w.Sound()), normalised);
}

TEST_F(SaveAs, AnUnwritableTargetIsNotWritten) {
    auto& w = *window;
    const auto opened = MakeMono("song.wav", {1, 2, 3});
    const auto locked = MakeMono("locked.wav", {7, 7});
    ::chmod(locked.c_str(), 0444);
    w.OpenFile(opened);
    w.Button7->Click();
    driver.AnswerFileDialog(locked);
    w.SaveAs1.Click();
    EXPECT_EQ(w.Label22->Caption(), "Not written!");
    EXPECT_NE(w.Label5->Caption().find("locked.wav"), std::string::npos) << w.Label5->Caption();
    EXPECT_EQ(w.OpenedFile(), opened);
    EXPECT_TRUE(w.Undo1.Enabled());
    EXPECT_EQ(sonafex::test::Samples(SoundFile(locked)), (std::vector<int16_t>{7, 7}));
    EXPECT_EQ(w.Label15->Caption(), "song.wav");
}
