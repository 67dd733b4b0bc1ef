#pragma once
// The workbench window: the effect controls and their menu twins, the file
// information, the player, and one step of undo and redo kept in two
// temporary files of a private folder.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "effects_workbench/Waveformat.h"
#include "platform/base/TempDir.h"
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/MediaPlayer.h"
#include "platform/media/WavePlayer.h"

namespace sonafex {

class TAboutBox;
class THelp;
class TWarningBox;

// The windows the main window opens. One not handed over is made the first
// time it is needed and lives as long as the main window.
struct TMainFormWindows {
    TAboutBox* AboutBox = nullptr;
    THelp* Help = nullptr;
    TWarningBox* WarningBox = nullptr;
};

class TMainForm : public wb::gui::Form {
public:
    explicit TMainForm(wb::media::WavePlayer& player);
    ~TMainForm() override;
    // Made after the main window, as the first window made is the program's main one.
    void HandWindows(const TMainFormWindows& windows) { windows_ = windows; }

    // Opens a file as "Open" does once the dialog has chosen it.
    void OpenFile(const std::string& fileName);

    // Handlers, one per event; a button and its menu item share one.
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void New1Click();
    void ReloadFileClick();
    void Exit1Click();
    void Undo1Click();
    void Redo1Click();
    void Procedures1Click();
    void About1Click();
    void ChannelConvertButtonClick();
    void ComputeButtonClick();
    void Button1Click();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Button3Click();
    void Button4Click();
    void Button7Click();
    void Button5Click();
    void Button6Click();
    void DistortChange();
    void DistShapeChange();
    void TrackBar5Change();
    void TrackBar2Change();
    void WidthClick();
    void TrackBar1Change();
    void TrackBar4Change();
    void UpDown1Click();
    void GainChange();
    void UpDown2Click();
    void FormClose();

    const std::string& FirstTemp() const { return firstTemp_; }
    const std::string& SecondTemp() const { return secondTemp_; }
    const std::string& CurrentFile() const { return current_; }
    const std::string& OpenedFile() const { return opened_; }
    const SoundFile* Sound() const { return sound_.get(); }
    // Where the temporary files live; empty once the window has closed.
    std::string TempFolder() const { return tempDir_ ? tempDir_->Path() : std::string(); }

    using Label = wb::gui::Label;
    using Edit = wb::gui::Edit;
    using TrackBar = wb::gui::TrackBar;
    using UpDown = wb::gui::UpDown;
    using Button = wb::gui::Button;
    using MenuItem = wb::gui::MenuItem;

    // The background goes first, so every control sits over it.
    wb::gui::Child<wb::gui::Image> Image3;

    wb::gui::Child<Label> DistLabel1, DistLabel2, DistLabel3, WarmthDepthLabel, WarmthShapeLabel, FreakDepthLabel;
    wb::gui::Child<Label> WidthLabel1, WidthLabel2, MinLabel1, MaxLabel1, MinLabel2, MaxLabel2;
    wb::gui::Child<Label> ShapeLabel, MinLabel3, MaxLabel3, GainLabel, ConvertLabel, ResampleLabel, PlayerLabel;
    wb::gui::Child<Label> Percent1, Percent2, Percent3, Percent4, Percent5, Percent6, Percent7;

    wb::gui::Child<TrackBar> Distort, DistShape, TrackBar5, TrackBar2, TrackBar1, TrackBar4, Gain;
    wb::gui::Child<UpDown> Width, UpDown1, UpDown2;
    wb::gui::Child<Edit> Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10;

    wb::gui::Child<Button> ChannelConvertButton, ComputeButton, Button1, Button2;
    wb::gui::Child<Button> SpeedButton1, SpeedButton2, SpeedButton3;
    wb::gui::Child<Button> Button3, Button5, Button6, Button4, Button7;

    wb::gui::Child<Label> Label1, Label2, Label3, Label4, Label7, Label8, Label10, Label11;
    wb::gui::Child<Label> Label15, Label17, Label18, Label19, Label20, Label22, Label5;
    wb::gui::Child<wb::gui::Image> DervoImage;

    wb::gui::Child<wb::gui::MediaPlayer> MediaPlayer1;
    wb::gui::Child<wb::gui::ProgressBar> ProgressBar1;

    MenuItem File1, New1, Open1, Save1, SaveAs1, N1, Exit1;
    MenuItem Edit1Menu, Undo1, Redo1, N2, ReloadFile;
    MenuItem Tools1, StereoMono1, N3, WarmDistortion1, WarmDistortion2, FreakyDistortion1, N4;
    MenuItem LoFi1, LoFi2, LoFi3, N5, Normalize1, FindRMS, FindPeak, N6, ChangeGain1, ChangeGain2;
    MenuItem Help1, Procedures1, About1;

private:
    enum class Shown { Open, Reload, Undo, Redo };
    void ShowFile(Shown after);
    void InvalidFile(Shown after);
    void SetEffectsEnabled(bool enabled);
    void SetConverterEnabled(bool enabled);
    void SetSaveEnabled(bool enabled);
    void SetInfoLabelsVisible(bool visible);
    void OpenPlayer(const std::string& fileName);
    void DeleteTempFiles();
    // Runs an effect on the samples in memory and commits the result; a
    // result that cannot be written leaves memory and undo as they were.
    bool RunEffect(const std::string& doneText, const std::function<void(SoundFile&)>& effect);
    bool Commit(const std::string& doneText);
    void LoFi(int step, const std::string& doneText);
    bool WriteSound(const std::string& fileName);
    void LoadSound(const std::string& fileName);
    TAboutBox& AboutBox();
    THelp& Help();
    TWarningBox& WarningBox();

    wb::media::WavePlayer& player_;
    std::optional<wb::TempDir> tempDir_;
    std::string firstTemp_, secondTemp_, current_, opened_;
    std::unique_ptr<SoundFile> sound_;
    TMainFormWindows windows_;
    std::unique_ptr<TAboutBox> ownAboutBox_;
    std::unique_ptr<THelp> ownHelp_;
    std::unique_ptr<TWarningBox> ownWarningBox_;
};

} // namespace sonafex
