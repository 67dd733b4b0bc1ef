// The workbench window driven as a user drives it, headless: files made by
// sox, clicks on buttons and menu items, the modal windows answered.
#include <gtest/gtest.h>

#include <QLabel>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <tuple>

#include "effects_workbench/AboutQuellin.h"
#include "effects_workbench/Amplifier2.h"
#include "effects_workbench/Distortion.h"
#include "effects_workbench/Distortion2.h"
#include "effects_workbench/HelpText.h"
#include "effects_workbench/OknoGlowne.h"
#include "effects_workbench/WarningOkno.h"
#include "effects_workbench/tests/WindowTestSupport.h"
#include "platform/base/TempDir.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/Screens.h"
#include "platform/media/AlsaWavePlayer.h"
#include "platform/media/RecordingWavePlayer.h"

using namespace sonafex;

namespace {

namespace fs = std::filesystem;
namespace wavetest = sonafex::test;
using wavetest::RecordingProgress;

bool HaveSox() { return std::system("sox --version >/dev/null 2>&1") == 0; }

// Makes a file with sox: "-r 44100 -b 16 -c 1" and the like.
std::string Sox(const wb::TempDir& dir, const std::string& name, const std::string& format,
                const std::string& synth = "synth 2 sine 440 vol 0.9") {
    const std::string path = dir / name;
    const std::string cmd = "sox -n " + format + " '" + path + "' " + synth + " 2>/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return path;
}

std::vector<int16_t> SamplesOf(const std::string& path) {
    return wavetest::Samples(SoundFile(path));
}

class Workbench : public wavetest::WindowTest<wb::media::RecordingWavePlayer> {
protected:
    void SetUp() override {
        if (!HaveSox()) GTEST_SKIP() << "sox is not installed (scripts/setup installs it)";
        Boxes();
    }
    void Make(wb::media::WavePlayer& p) {
        WindowTest::Make(p);
        Boxes();
    }
    // The program's other windows, handed to the main window as the program does.
    void Boxes() { window->HandWindows({&about, &help, &warning}); }
    void TearDown() override { window.reset(); }

    // Answers the warning window with its OK button, and counts it.
    void ExpectWarning() {
        driver.OnDialog([this](QWidget* d) {
            ++warnings;
            warningCaption = d->windowTitle().toStdString();
            d->findChild<QPushButton*>("BitBtn1")->click();
        });
    }

    bool EffectsOn() const {
        const auto& w = *window;
        return w.ComputeButton->Enabled() && w.Button1->Enabled() && w.Button2->Enabled() &&
               w.SpeedButton1->Enabled() && w.Button3->Enabled() && w.Button5->Enabled() &&
               w.Button6->Enabled() && w.Button4->Enabled() && w.Button7->Enabled() &&
               w.WarmDistortion1.Enabled() && w.LoFi3.Enabled() && w.ChangeGain2.Enabled() &&
               w.FindRMS.Enabled();
    }
    bool EffectsOff() const {
        const auto& w = *window;
        return !w.ComputeButton->Enabled() && !w.Button1->Enabled() && !w.Button2->Enabled() &&
               !w.SpeedButton2->Enabled() && !w.Button3->Enabled() && !w.Button6->Enabled() &&
               !w.Button7->Enabled() && !w.WarmDistortion2.Enabled() && !w.LoFi1.Enabled() &&
               !w.Normalize1.Enabled() && !w.FindPeak.Enabled();
    }
    bool ConverterOn() const { return window->ChannelConvertButton->Enabled() && window->StereoMono1.Enabled(); }
    bool SaveOn() const { return window->Save1.Enabled() && window->SaveAs1.Enabled(); }
    // Rate, bits, channels and length as the window shows them.
    std::vector<std::string> Info() const {
        const auto& w = *window;
        return {w.Label17->Caption(), w.Label18->Caption(), w.Label19->Caption(), w.Label20->Caption()};
    }

    TAboutBox about;
    THelp help;
    TWarningBox warning;
    int warnings = 0;
    std::string warningCaption;
};

TEST_F(Workbench, StartsWithNothingToWorkOn) {
    auto& w = *window;
    EXPECT_EQ(w.Caption(), "Sonafex - Fizzlor - DEMO");
    EXPECT_TRUE(EffectsOff());
    EXPECT_FALSE(ConverterOn());
    EXPECT_FALSE(w.Save1.Enabled() || w.SaveAs1.Enabled() || w.Undo1.Enabled() || w.Redo1.Enabled() ||
                 w.ReloadFile.Enabled());
    EXPECT_TRUE(w.New1.Enabled() && w.Open1.Enabled() && w.Exit1.Enabled());
    EXPECT_TRUE(w.DervoImage->Visible());
    EXPECT_FALSE(w.Label15->Visible() || w.Label22->Visible() || w.Label5->Visible());
    EXPECT_FALSE(w.ProgressBar1->Visible());
    EXPECT_EQ(w.CurrentFile(), w.FirstTemp());
    // The readouts show the defaults.
    EXPECT_EQ((std::vector<std::string>{w.Edit2->Text(), w.Edit1->Text(), w.Edit6->Text(), w.Edit10->Text()}),
              (std::vector<std::string>{"25", "40", "100", "1"}));
}

TEST_F(Workbench, ReadoutsFollowTheirControls) {
    auto& w = *window;
    w.Distort->SetPosition(32000);
    EXPECT_EQ(w.Edit2->Text(), "100");
    w.DistShape->SetPosition(25000);
    EXPECT_EQ(w.Edit1->Text(), "100");
    w.TrackBar4->SetPosition(249);
    EXPECT_EQ(w.Edit5->Text(), "0");
    w.Gain->SetPosition(0);
    EXPECT_EQ(w.Edit6->Text(), "1000");
    w.Gain->SetPosition(10000);
    EXPECT_EQ(w.Edit6->Text(), "0");
    w.Gain->SetPosition(5000);  // 1000 - 10*sqrt(5000) = 292.89...
    EXPECT_EQ(w.Edit6->Text(), "292");
    // The shape counts down as its readout counts up.
    w.UpDown2->Click(wb::gui::UpDownButton::Up);
    EXPECT_EQ(w.UpDown2->Position(), 19);
    EXPECT_EQ(w.Edit10->Text(), "2");
    for (int i = 0; i < 30; ++i) w.Width->Click(wb::gui::UpDownButton::Up);
    EXPECT_EQ(w.Width->Position(), 8);
    EXPECT_EQ(w.Edit7->Text(), "8");
    w.UpDown1->Click(wb::gui::UpDownButton::Down);
    EXPECT_EQ(w.Edit8->Text(), "1");
    w.Distort->StepBy(1);  // the level's line size is 2
    EXPECT_EQ(w.Distort->Position(), 32000);
    w.Distort->SetPosition(100);
    w.Distort->StepBy(1);
    EXPECT_EQ(w.Distort->Position(), 102);
}

TEST_F(Workbench, OpeningEachKindOfFileSetsWhatMayBeDone) {
    auto& w = *window;
    const auto mono = Sox(dir, "mono.wav", "-r 44100 -b 16 -c 1");
    const auto mono48 = Sox(dir, "mono48.wav", "-r 48000 -b 16 -c 1");
    const auto stereo = Sox(dir, "stereo.wav", "-r 22050 -b 16 -c 2");
    const auto eight = Sox(dir, "eight.wav", "-r 22050 -b 8 -c 1");
    const auto three = Sox(dir, "three.wav", "-r 44100 -b 16 -c 3");

    w.OpenFile(mono);
    EXPECT_TRUE(EffectsOn());
    EXPECT_FALSE(ConverterOn());
    EXPECT_TRUE(SaveOn());
    EXPECT_TRUE(w.ReloadFile.Enabled());
    EXPECT_FALSE(w.DervoImage->Visible());
    EXPECT_TRUE(w.Label1->Visible() && w.Label11->Visible() && w.Label22->Visible() && w.Label5->Visible());
    EXPECT_EQ(w.Label15->Caption(), "mono.wav");
    EXPECT_EQ(Info(), (std::vector<std::string>{"44100", "16", "1", "2"}));
    EXPECT_EQ(w.Label22->Caption(), "");
    EXPECT_EQ(player.calls.back(), "open " + mono);
    EXPECT_EQ(warnings, 0);

    // Another rate keeps the effects as they were.
    w.OpenFile(mono48);
    EXPECT_EQ(w.Label17->Caption(), "48000");
    EXPECT_TRUE(EffectsOn());
    EXPECT_FALSE(ConverterOn());
    w.New1Click();
    w.OpenFile(mono48);
    EXPECT_TRUE(EffectsOff());
    EXPECT_FALSE(SaveOn());

    ExpectWarning();
    w.OpenFile(stereo);
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(warningCaption, "Warning!");
    EXPECT_TRUE(ConverterOn());
    EXPECT_TRUE(SaveOn());
    EXPECT_TRUE(EffectsOff());
    EXPECT_EQ(w.Label19->Caption(), "2");

    // An 8-bit file may be neither worked on, converted nor saved.
    w.OpenFile(eight);
    EXPECT_EQ(w.Label22->Caption(), "Invalid File!!!");
    EXPECT_EQ(Info(), std::vector<std::string>(4, ""));
    EXPECT_TRUE(EffectsOff());
    EXPECT_FALSE(ConverterOn());
    EXPECT_FALSE(SaveOn());
    EXPECT_EQ(player.calls.back(), "close");
    EXPECT_TRUE(w.ReloadFile.Enabled());

    w.OpenFile(mono);
    w.OpenFile(three);
    EXPECT_EQ(w.Label22->Caption(), "Invalid File!!!");
    EXPECT_TRUE(EffectsOff());
    EXPECT_FALSE(ConverterOn() || SaveOn());

    // Not a wave file at all, and a file that is gone.
    wavetest::WriteBytes(dir / "text.wav", {'h', 'e', 'l', 'l', 'o'});
    w.OpenFile(dir / "text.wav");
    EXPECT_EQ(w.Label22->Caption(), "Invalid File!!!");
    EXPECT_NE(w.Label5->Caption(), "");
    w.OpenFile(dir / "gone.wav");
    EXPECT_EQ(w.Label22->Caption(), "Invalid File!!!");
    EXPECT_NE(w.Label5->Caption().find("gone.wav"), std::string::npos);
    EXPECT_EQ(warnings, 1);
}

TEST_F(Workbench, OpenAndSaveAsGoThroughTheirDialogs) {
    auto& w = *window;
    const auto mono = Sox(dir, "a.wav", "-r 11025 -b 16 -c 1", "synth 1 sine 300 vol 0.5");
    driver.AnswerFileDialog(std::nullopt);
    w.Open1.Click();
    EXPECT_EQ(w.Sound(), nullptr);
    driver.AnswerFileDialog(mono);
    w.Open1.Click();
    ASSERT_NE(w.Sound(), nullptr);
    EXPECT_EQ(w.OpenedFile(), mono);
    EXPECT_EQ(w.Label17->Caption(), "11025");
    EXPECT_EQ(driver.FileDialogFilters().back(), "Sound Files (*.wav)");

    w.Button4->Click();  // default gain: the samples stay
    driver.AnswerFileDialog(dir / "copy");  // the default extension is added
    w.SaveAs1.Click();
    EXPECT_TRUE(fs::exists(dir / "copy.wav"));
    EXPECT_EQ(w.Label15->Caption(), "copy.wav");
    EXPECT_EQ(w.Label22->Caption(), "File Saved");
    EXPECT_EQ(w.OpenedFile(), dir / "copy.wav");
    EXPECT_EQ(SamplesOf(dir / "copy.wav"), SamplesOf(mono));
}

TEST_F(Workbench, EffectEffectUndoRedoStepThroughTheTwoFiles) {
    auto& w = *window;
    const auto mono = Sox(dir, "m.wav", "-r 44100 -b 16 -c 1", "synth 0.5 sine 220 vol 0.8");
    w.OpenFile(mono);
    const auto original = SamplesOf(mono);
    RecordingProgress bar;

    SoundFile expect1(mono);
    Distortion(expect1, 8000, 10000, bar);
    SoundFile expect2 = expect1;
    Distortion2(expect2, 8000, 10000, 1, bar);

    w.ComputeButton->Click();
    EXPECT_EQ(w.Label22->Caption(), "Warm Distortion1 done");
    EXPECT_EQ(w.Label5->Caption(), "");
    EXPECT_EQ(w.CurrentFile(), w.FirstTemp());
    EXPECT_EQ(SamplesOf(w.FirstTemp()), wavetest::Samples(expect1));
    EXPECT_FALSE(fs::exists(w.SecondTemp()));
    EXPECT_TRUE(w.Undo1.Enabled());
    EXPECT_FALSE(w.Redo1.Enabled());
    EXPECT_EQ(player.calls.back(), "open " + w.FirstTemp());

    w.WarmDistortion2.Click();  // the menu twin of Button1
    EXPECT_EQ(w.Label22->Caption(), "Warm Distortion2 done");
    EXPECT_EQ(w.CurrentFile(), w.SecondTemp());
    EXPECT_EQ(SamplesOf(w.SecondTemp()), wavetest::Samples(expect2));
    EXPECT_EQ(SamplesOf(w.FirstTemp()), wavetest::Samples(expect1));

    w.Undo1.Click();
    EXPECT_EQ(w.Label5->Caption(), "Undone");
    EXPECT_EQ(w.CurrentFile(), w.FirstTemp());
    EXPECT_EQ(wavetest::Samples(*w.Sound()), wavetest::Samples(expect1));
    EXPECT_FALSE(w.Undo1.Enabled());
    EXPECT_TRUE(w.Redo1.Enabled());

    w.Redo1.Click();
    EXPECT_EQ(w.Label5->Caption(), "(Redone)");
    EXPECT_EQ(w.CurrentFile(), w.SecondTemp());
    EXPECT_EQ(wavetest::Samples(*w.Sound()), wavetest::Samples(expect2));
    EXPECT_TRUE(w.Undo1.Enabled());
    EXPECT_FALSE(w.Redo1.Enabled());

    // After an undo the next result goes over the one that was undone.
    w.Undo1.Click();
    w.Button6->Click();
    EXPECT_EQ(w.Label5->Caption(), PeakText(FindPeak(expect1, nullptr)));
    w.Button3->Click();
    EXPECT_EQ(w.Label22->Caption(), "File normalized");
    EXPECT_EQ(w.CurrentFile(), w.SecondTemp());
    EXPECT_FALSE(w.Button3->Enabled());
    EXPECT_FALSE(w.Normalize1.Enabled());
    EXPECT_EQ(SamplesOf(w.FirstTemp()), wavetest::Samples(expect1));
    EXPECT_NE(SamplesOf(w.SecondTemp()), wavetest::Samples(expect2));
    w.Button5->Click();
    EXPECT_EQ(w.Label5->Caption().rfind("RMS Value  = ", 0), 0u);
    w.SpeedButton3->Click();  // another effect gives Normalize back
    EXPECT_EQ(w.Label22->Caption(), "LoFi3 done");
    EXPECT_TRUE(w.Button3->Enabled());
    EXPECT_TRUE(w.Normalize1.Enabled());

    // Reload starts again from the opened file, which was never touched.
    w.ReloadFileClick();
    EXPECT_EQ(wavetest::Samples(*w.Sound()), original);
    EXPECT_EQ(SamplesOf(mono), original);
    EXPECT_FALSE(fs::exists(w.FirstTemp()) || fs::exists(w.SecondTemp()));
    EXPECT_FALSE(w.Undo1.Enabled() || w.Redo1.Enabled());
    EXPECT_EQ(w.CurrentFile(), w.FirstTemp());

    // One effect, then undo goes to the opened file and redo back to the result.
    w.Button2->Click();
    EXPECT_EQ(w.Label22->Caption(), "Freak Distortion done");
    w.Undo1Click();
    EXPECT_EQ(w.CurrentFile(), mono);
    EXPECT_EQ(wavetest::Samples(*w.Sound()), original);
    w.Redo1Click();
    EXPECT_EQ(w.CurrentFile(), w.FirstTemp());
    EXPECT_EQ(wavetest::Samples(*w.Sound()), SamplesOf(w.FirstTemp()));
}

TEST_F(Workbench, ShortcutsRunTheMenuItems) {
    auto& w = *window;
    w.OpenFile(Sox(dir, "m.wav", "-r 22050 -b 16 -c 1", "synth 0.2 sine 220 vol 0.8"));
    w.Show();
    QApplication::setActiveWindow(w.Window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.Window()));
    QTest::keyClick(w.Window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(w.Label22->Caption(), "Warm Distortion1 done");
    QTest::keyClick(w.Window(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(w.Label22->Caption(), "LoFi1 done");
    QTest::keyClick(w.Window(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(w.Label5->Caption().rfind("Maximum Peak = ", 0), 0u);
    // A disabled item's shortcut does nothing.
    QTest::keyClick(w.Window(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(w.Label22->Caption(), "LoFi1 done");
    QTest::keyClick(w.Window(), Qt::Key_Escape);
    EXPECT_TRUE(w.Visible());
    w.Close();
}

TEST_F(Workbench, StereoIsConvertedAndThenEveryEffectWorks) {
    auto& w = *window;
    // 48000 Hz: after conversion the effects are on whatever the rate.
    const auto stereo = Sox(dir, "s.wav", "-r 48000 -b 16 -c 2", "synth 0.3 sine 300 sine 500 vol 0.7");
    ExpectWarning();
    w.OpenFile(stereo);
    ASSERT_EQ(warnings, 1);
    w.ChannelConvertButton->Click();
    EXPECT_EQ(w.Label22->Caption(), "Converted");
    EXPECT_EQ(w.Label19->Caption(), "1");
    EXPECT_TRUE(EffectsOn());
    EXPECT_FALSE(ConverterOn());
    EXPECT_TRUE(SaveOn());
    const SoundFile temp(w.FirstTemp());
    EXPECT_EQ(temp.GetChannels(), 1);
    EXPECT_EQ(temp.GetByteRate(), 96000);
    EXPECT_EQ(std::system(("test \"$(soxi -c '" + w.FirstTemp() + "')\" = 1").c_str()), 0) << "soxi reads one channel";
}

TEST_F(Workbench, SaveReplacesTheOpenedFileAndEndsTheUndo) {
    auto& w = *window;
    // A worked example: normalising 1000, -2000, 4000, 0, -4000.
    const std::vector<int16_t> in = {1000, -2000, 4000, 0, -4000};
    const auto path = dir / "w.wav";
    wavetest::WriteBytes(path, wavetest::MonoFile(in, 22050));
    w.OpenFile(path);
    w.Button3->Click();
    w.Save1.Click();
    EXPECT_EQ(w.Label22->Caption(), "File Saved");
    EXPECT_EQ(w.Label5->Caption(), "");
    EXPECT_FALSE(w.Undo1.Enabled() || w.Redo1.Enabled());
    EXPECT_FALSE(fs::exists(w.FirstTemp()) || fs::exists(w.SecondTemp()));

    const std::vector<int16_t> expect = {8191, -16383, 32766, 0, -32766};  // times 32767/4000, cut towards zero
    // sox reads the saved file back as these samples.
    const std::string raw = dir / "w.raw";
    ASSERT_EQ(std::system(("sox '" + path + "' -t raw -e signed -b 16 -L '" + raw + "'").c_str()), 0);
    const auto bytes = wavetest::ReadBytes(raw);
    ASSERT_EQ(bytes.size(), in.size() * 2);
    for (size_t i = 0; i < in.size(); ++i)
        EXPECT_EQ(static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8), expect[i]) << i;

    // Reload reads back what Save wrote.
    w.ReloadFileClick();
    EXPECT_EQ(w.Label15->Caption(), "w.wav");
    EXPECT_EQ(wavetest::Samples(*w.Sound()), expect);
}

TEST_F(Workbench, AFailedWriteIsReportedAndLosesNothing) {
    auto& w = *window;
    const auto folder = dir / "gone";
    fs::create_directory(folder);
    const auto path = Sox(dir, "gone/m.wav", "-r 44100 -b 16 -c 1", "synth 0.2 sine 220 vol 0.8");
    w.OpenFile(path);
    w.ComputeButton->Click();
    const auto result = SamplesOf(w.FirstTemp());

    // Save into a folder that has gone: a failure, and the undo stays.
    fs::remove_all(folder);
    w.Save1.Click();
    EXPECT_EQ(w.Label22->Caption(), "Not written!");
    EXPECT_NE(w.Label5->Caption().find("m.wav"), std::string::npos);
    EXPECT_TRUE(w.Undo1.Enabled());
    EXPECT_TRUE(fs::exists(w.FirstTemp()));

    // A result that cannot be written leaves the samples and undo as they were.
    const auto before = wavetest::Samples(*w.Sound());
    fs::remove_all(w.TempFolder());
    w.Button2->Click();
    EXPECT_EQ(w.Label22->Caption(), "Not written!");
    EXPECT_EQ(wavetest::Samples(*w.Sound()), before);
    EXPECT_EQ(before, result);
    EXPECT_EQ(w.CurrentFile(), w.FirstTemp());
    EXPECT_TRUE(w.Undo1.Enabled());
    w.Button3->Click();  // Normalize is given back when its result is lost
    EXPECT_TRUE(w.Button3->Enabled());
    EXPECT_TRUE(w.Normalize1.Enabled());
}

TEST_F(Workbench, NewClearsTheWindowAndKeepsTheSound) {
    auto& w = *window;
    w.OpenFile(Sox(dir, "m.wav", "-r 44100 -b 16 -c 1", "synth 0.2 sine 220"));
    w.Button7->Click();
    w.New1.Click();
    EXPECT_TRUE(w.DervoImage->Visible());
    EXPECT_FALSE(w.Label15->Visible() || w.Label5->Visible() || w.Label22->Visible());
    EXPECT_EQ(w.Label22->Caption(), "");
    EXPECT_EQ(w.Label15->Caption(), "");
    EXPECT_TRUE(EffectsOff());
    EXPECT_FALSE(ConverterOn() || SaveOn() || w.Undo1.Enabled() || w.ReloadFile.Enabled());
    EXPECT_FALSE(fs::exists(w.FirstTemp()));
    EXPECT_NE(w.Sound(), nullptr);
    EXPECT_EQ(player.calls.back(), "close");
}

TEST_F(Workbench, TemporaryFilesArePrivateToEachWindowAndGoWithIt) {
    auto& w = *window;
    const std::string folder = w.TempFolder();
    EXPECT_EQ(fs::path(folder).parent_path().string(), wb::SystemTempFolder());
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(w.FirstTemp(), folder + "/sx1tmp.wav");
    EXPECT_EQ(w.SecondTemp(), folder + "/sx2tmp.wav");

    wb::media::RecordingWavePlayer other;
    TMainForm second(other);
    EXPECT_NE(second.TempFolder(), folder);

    w.OpenFile(Sox(dir, "m.wav", "-r 44100 -b 16 -c 1", "synth 0.2 sine 220"));
    w.ComputeButton->Click();
    ASSERT_TRUE(fs::exists(w.FirstTemp()));
    w.Show();
    w.Exit1.Click();
    EXPECT_FALSE(w.Visible());
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(w.Sound(), nullptr);
    EXPECT_EQ(player.calls.back(), "close");
    EXPECT_TRUE(fs::exists(second.TempFolder()));
}

TEST_F(Workbench, PlayerButtonsAndItsStatus) {
    auto& w = *window;
    w.MediaPlayer1->Press(wb::gui::MediaPlayer::Btn::Play);  // nothing open
    EXPECT_TRUE(player.calls.empty());
    w.OpenFile(Sox(dir, "m.wav", "-r 44100 -b 16 -c 1", "synth 0.2 sine 220"));
    for (auto b : {wb::gui::MediaPlayer::Btn::Play, wb::gui::MediaPlayer::Btn::Pause,
                   wb::gui::MediaPlayer::Btn::Stop, wb::gui::MediaPlayer::Btn::Next,
                   wb::gui::MediaPlayer::Btn::Prev})
        w.MediaPlayer1->Press(b);
    const std::vector<std::string> tail(player.calls.end() - 5, player.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"play", "pause", "stop", "next", "previous"}));
    player.Say("No sound device");
    EXPECT_EQ(w.MediaPlayer1->Status(), "No sound device");
}

// With the real player and no sound device the window goes on working.
TEST_F(Workbench, WithoutASoundDeviceThePlayerSaysSoOnce) {
    wb::media::AlsaWavePlayer alsa("wb_no_such_device");
    Make(alsa);
    auto& w = *window;
    w.OpenFile(Sox(dir, "m.wav", "-r 44100 -b 16 -c 1", "synth 0.2 sine 220"));
    const std::string said = w.MediaPlayer1->Status();
    EXPECT_EQ(said.rfind("No sound device: playback is off", 0), 0u);
    // The line the user sees lies inside the player's box, and says at
    // least that much.
    auto* box = static_cast<QWidget*>(w.MediaPlayer1->NativeWidget());
    auto* line = box->findChild<QLabel*>("status");
    ASSERT_TRUE(line);
    EXPECT_LE(line->geometry().bottom(), box->height() - 1);
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), box->width());
    EXPECT_EQ(line->text().toStdString().rfind("No sound device: playback is off", 0), 0u) << line->text().toStdString();
    w.MediaPlayer1->Press(wb::gui::MediaPlayer::Btn::Play);
    w.ComputeButton->Click();
    EXPECT_EQ(w.Label22->Caption(), "Warm Distortion1 done");
    EXPECT_EQ(w.MediaPlayer1->Status(), said);
    window.reset();
}

TEST_F(Workbench, SecondaryWindowsHoldTheirTexts) {
    const auto lines = help.Memo1->Lines();
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(lines.front(), "**************************Sonafex Fizzlor - DEMO******************");
    size_t at = 0;
    for (const char* head : {"DISTORT AT LEVEL fader:", "WARM  DISTORTION1:", "WARM DISTORTION2:",
                             "FREAK DISTORTION:", "CHANNEL CONVERTER:", "LO-FI RESAMPLER (3 types):",
                             "AMPLIFIER:", "NORMALIZE: (by peak)", "FIND PEAK:", "Find RMS:", "WARNING!",
                             "Make sure that you have enough space on drive C!!!"}) {
        const auto it = std::find(lines.begin() + at, lines.end(), head);
        ASSERT_NE(it, lines.end()) << head;
        at = static_cast<size_t>(it - lines.begin());
    }
    // The help and about windows open from the Help menu and close with OK.
    driver.OnDialog([](QWidget* d) { d->close(); });
    window->Procedures1.Click();
    driver.OnDialog([](QWidget* d) { d->findChild<QPushButton*>("OKButton")->click(); });
    window->About1.Click();
    EXPECT_EQ(about.ProductName->Caption(), "Sonafex");
}

// Each secondary window opens as the one handed to the main window; a main
// window handed none makes its own, so two main windows never share one.
TEST_F(Workbench, SecondaryWindowsAreTheOnesHandedOrItsOwn) {
    const std::string stereo = Sox(dir, "s.wav", "-r 44100 -b 16 -c 2", "synth 0.1 sine 220");
    const struct {
        const char* name;
        std::function<void(TMainForm&)> open;
        wb::gui::Form* handed;
        const char* caption;
        const char* closeButton;
    } rows[] = {
        {"Help", [](TMainForm& w) { w.Procedures1.Click(); }, &help, "Help", nullptr},
        {"About", [](TMainForm& w) { w.About1.Click(); }, &about, "About", "OKButton"},
        {"Warning", [&](TMainForm& w) { w.OpenFile(stereo); }, &warning, "Warning!", "BitBtn1"},
    };
    wb::media::RecordingWavePlayer quiet;
    TMainForm unhanded(quiet);
    for (const auto& row : rows) {
        for (TMainForm* w : {window.get(), &unhanded}) {
            std::vector<std::pair<std::string, bool>> shown;  // caption, handed one visible
            driver.OnDialog([&](QWidget* d) {
                shown.emplace_back(d->windowTitle().toStdString(), row.handed->IsWindowVisible());
                if (row.closeButton) d->findChild<QPushButton*>(row.closeButton)->click();
                else d->close();
            });
            row.open(*w);
            const bool handed = w == window.get();
            EXPECT_EQ(shown, (std::vector<std::pair<std::string, bool>>{{row.caption, handed}}))
                << row.name << (handed ? " handed" : " made");
        }
    }
}

// A handler that throws shows the error in a box titled with the program's
// name; the window goes on and its menus still open their windows.
TEST_F(Workbench, AThrowingHandlerShowsTheErrorAndTheWindowGoesOn) {
    TMainForm& w = *window;
    w.Show();
    w.Procedures1.OnClick = [](wb::Persistent*) { throw std::runtime_error("The help text is missing."); };
    w.Procedures1.Click();
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].title, "Sonafex");
    EXPECT_EQ(driver.Messages()[0].text, "The help text is missing.");
    EXPECT_EQ(driver.Messages()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(w.IsWindowVisible());
    driver.OnDialog([](QWidget* d) { d->findChild<QPushButton*>("OKButton")->click(); });
    w.About1.Click();
    EXPECT_FALSE(about.IsWindowVisible());
    EXPECT_EQ(driver.Messages().size(), 1u);
}

// The windows pictured: the effect's and the peak's lines show after the
// clicks and not before; each further window shows its texts.
TEST_F(Workbench, Screenshots) {
    namespace shots = wb::gui::test;
    auto& w = *window;
    w.OpenFile(Sox(dir, "guitar.wav", "-r 44100 -b 16 -c 1", "synth 3 pluck 220 vol 0.9"));
    w.Show();
    const QImage before = shots::Screenshot(w, "sonafex-main-opened");
    w.ComputeButton->Click();
    w.Button6->Click();
    const QImage after = shots::Screenshot(w, "sonafex-main");
    for (wb::gui::Label* line : {w.Label22.get(), w.Label5.get()}) {
        EXPECT_EQ(shots::InkColumns(shots::BoxOf(before, w, *line)), 0) << line->Name();
        EXPECT_GE(shots::InkColumns(shots::BoxOf(after, w, *line)), 40) << line->Name();
    }
    wb::media::RecordingWavePlayer quiet;
    TMainForm empty(quiet);
    empty.Show();
    EXPECT_FALSE(shots::Screenshot(empty, "sonafex-main-empty").isNull());
    empty.Close();
    for (auto [form, name, text] : {std::tuple<wb::gui::Form*, const char*, wb::gui::WidgetControl*>{
                                        &about, "sonafex-about", about.ProductName.get()},
                                    {&help, "sonafex-help", help.Memo1.get()},
                                    {&warning, "sonafex-warning", warning.Label1.get()}}) {
        form->Show();
        EXPECT_GE(shots::InkColumns(shots::BoxOf(shots::Screenshot(*form, name), *form, *text, 3)), 30) << name;
        form->Close();
    }
    w.Close();
}

} // namespace
