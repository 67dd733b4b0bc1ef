#include "effects_workbench/OknoGlowne.h"

#include <cmath>
#include <filesystem>

#include "effects_workbench/AboutQuellin.h"
#include "effects_workbench/Amplifier.h"
#include "effects_workbench/Amplifier2.h"
#include "effects_workbench/Distortion.h"
#include "effects_workbench/Distortion2.h"
#include "effects_workbench/Distortion3.h"
#include "effects_workbench/HelpText.h"
#include "effects_workbench/Normalizer.h"
#include "effects_workbench/Resampler.h"
#include "effects_workbench/Rms.h"
#include "effects_workbench/Stereotomono.h"
#include "effects_workbench/WarningOkno.h"
#include "effects_workbench/WorkbenchFace.h"
#include "platform/base/IoError.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/SaveDialog.h"

namespace sonafex {

using namespace wb::gui;

namespace {

const char* const kLevelHint = "Sets level at which effect is going to be applied";
const char* const kSoundFilter = "Sound Files (*.wav)|*.wav";

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

void DeleteIfExists(const std::string& path) {
    std::error_code ec;
    if (Exists(path)) std::filesystem::remove(path, ec);
}

std::string NameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string Number(long long v) { return std::to_string(v); }

} // namespace

TMainForm::TMainForm(wb::media::WavePlayer& player)
    : Form(nullptr, FormKind::Main),
      Image3(*this, "Image3"),
      DistLabel1(*this, "DistLabel1", "Distort at level:"),
      DistLabel2(*this, "DistLabel2", "Distort at level:"),
      DistLabel3(*this, "DistLabel3", "Distort at level:"),
      WarmthDepthLabel(*this, "WarmthDepthLabel", "Warmth depth:"),
      WarmthShapeLabel(*this, "WarmthShapeLabel", "Warmth shape:"),
      FreakDepthLabel(*this, "FreakDepthLabel", "Freak mod depth:"),
      WidthLabel1(*this, "WidthLabel1", "Width:"),
      WidthLabel2(*this, "WidthLabel2", "Width:"),
      MinLabel1(*this, "MinLabel1", "min"),
      MaxLabel1(*this, "MaxLabel1", "max"),
      MinLabel2(*this, "MinLabel2", "min"),
      MaxLabel2(*this, "MaxLabel2", "max"),
      ShapeLabel(*this, "ShapeLabel", "Shape"),
      MinLabel3(*this, "MinLabel3", "min"),
      MaxLabel3(*this, "MaxLabel3", "max"),
      GainLabel(*this, "GainLabel", "Change gain:"),
      ConvertLabel(*this, "ConvertLabel", "Convert to mono:"),
      ResampleLabel(*this, "ResampleLabel", "Resample:"),
      PlayerLabel(*this, "PlayerLabel", "Player"),
      Percent1(*this, "Percent1", "%"),
      Percent2(*this, "Percent2", "%"),
      Percent3(*this, "Percent3", "%"),
      Percent4(*this, "Percent4", "%"),
      Percent5(*this, "Percent5", "%"),
      Percent6(*this, "Percent6", "%"),
      Percent7(*this, "Percent7", "%"),
      Distort(*this, "Distort"),
      DistShape(*this, "DistShape"),
      TrackBar5(*this, "TrackBar5"),
      TrackBar2(*this, "TrackBar2"),
      TrackBar1(*this, "TrackBar1"),
      TrackBar4(*this, "TrackBar4"),
      Gain(*this, "Gain", Orientation::Vertical),
      Width(*this, "Width"),
      UpDown1(*this, "UpDown1"),
      UpDown2(*this, "UpDown2"),
      Edit1(*this, "Edit1", "40"),
      Edit2(*this, "Edit2", "25"),
      Edit3(*this, "Edit3", "40"),
      Edit4(*this, "Edit4", "25"),
      Edit5(*this, "Edit5", "40"),
      Edit6(*this, "Edit6", "100"),
      Edit7(*this, "Edit7", "1"),
      Edit8(*this, "Edit8", "1"),
      Edit9(*this, "Edit9", "25"),
      Edit10(*this, "Edit10", "1"),
      ChannelConvertButton(*this, "ChannelConvertButton", "Apply"),
      ComputeButton(*this, "ComputeButton", "Apply"),
      Button1(*this, "Button1", "Apply"),
      Button2(*this, "Button2", "Apply"),
      SpeedButton1(*this, "SpeedButton1", "LoFi1"),
      SpeedButton2(*this, "SpeedButton2", "LoFi2"),
      SpeedButton3(*this, "SpeedButton3", "LoFi3"),
      Button3(*this, "Button3", "Normalize"),
      Button5(*this, "Button5", "Find RMS"),
      Button6(*this, "Button6", "Find Peak"),
      Button4(*this, "Button4", "Gain1 (rel)"),
      Button7(*this, "Button7", "Gain2 (abs)"),
      Label1(*this, "Label1", "File "),
      Label2(*this, "Label2", "Sampling frequency"),
      Label3(*this, "Label3", "Bit resolution"),
      Label4(*this, "Label4", "Number of channels"),
      Label7(*this, "Label7", "Hz"),
      Label8(*this, "Label8", "bits"),
      Label10(*this, "Label10", "File length"),
      Label11(*this, "Label11", "sec."),
      Label15(*this, "Label15"),
      Label17(*this, "Label17"),
      Label18(*this, "Label18"),
      Label19(*this, "Label19"),
      Label20(*this, "Label20"),
      Label22(*this, "Label22"),
      Label5(*this, "Label5"),
      DervoImage(*this, "DervoImage"),
      MediaPlayer1(*this, "MediaPlayer1", player),
      ProgressBar1(*this, "ProgressBar1"),
      File1(*this, "File1", "&File"),
      New1(File1, "New1", "&New (Clear)"),
      Open1(File1, "Open1", "&Open..."),
      Save1(File1, "Save1", "&Save", "Ctrl+S"),
      SaveAs1(File1, "SaveAs1", "Save &As..."),
      N1(File1, "N1", "-"),
      Exit1(File1, "Exit1", "E&xit"),
      Edit1Menu(*this, "Edit1Menu", "&Edit"),
      Undo1(Edit1Menu, "Undo1", "&Undo"),
      Redo1(Edit1Menu, "Redo1", "&Redo"),
      N2(Edit1Menu, "N2", "-"),
      ReloadFile(Edit1Menu, "ReloadFile", "&Reload File"),
      Tools1(*this, "Tools1", "&Tools"),
      StereoMono1(Tools1, "StereoMono1", "Convert to mono", "Ctrl+C"),
      N3(Tools1, "N3", "-"),
      WarmDistortion1(Tools1, "WarmDistortion1", "Warm Distortion1", "Ctrl+D"),
      WarmDistortion2(Tools1, "WarmDistortion2", "Warm Distortion2", "Ctrl+E"),
      FreakyDistortion1(Tools1, "FreakyDistortion1", "Freak Distortion", "Ctrl+F"),
      N4(Tools1, "N4", "-"),
      LoFi1(Tools1, "LoFi1", "LoFi1", "Ctrl+K"),
      LoFi2(Tools1, "LoFi2", "LoFi2", "Ctrl+L"),
      LoFi3(Tools1, "LoFi3", "LoFi3", "Ctrl+M"),
      N5(Tools1, "N5", "-"),
      Normalize1(Tools1, "Normalize1", "Normalize", "Ctrl+N"),
      FindRMS(Tools1, "FindRMS", "Calculate RMS Value", "Ctrl+R"),
      FindPeak(Tools1, "FindPeak", "Find Peak Value", "Ctrl+P"),
      N6(Tools1, "N6", "-"),
      ChangeGain1(Tools1, "ChangeGain1", "Change Gain1 (relative)", "Ctrl+G"),
      ChangeGain2(Tools1, "ChangeGain2", "Change Gain2 (absolute)", "Ctrl+H"),
      Help1(*this, "Help1", "&Help"),
      Procedures1(Help1, "Procedures1", "&Procedures"),
      About1(Help1, "About1", "&About Sonafex"),
      player_(player) {
    SetName("MainForm");
    SetCaption("Sonafex - Fizzlor - DEMO");
    SetClientSize(711, 437);
    SetSingleBorder(true);
    SetColor(clSilver);
    SetFont("MS Sans Serif", 11);

    // Private to this process, so two running copies keep their own undo.
    tempDir_.emplace("sonafex");
    // Ended by a signal, the window closes no more; the folder goes all the same.
    tempDir_->RemoveOnTermination();
    firstTemp_ = *tempDir_ / "sx1tmp.wav";
    secondTemp_ = *tempDir_ / "sx2tmp.wav";
    current_ = firstTemp_;

    Image3->SetBounds(0, 0, 711, 437);
    Image3->OnPaint = PaintFace;

    struct Slider {
        TrackBar& bar;
        int max, pos;
        const char* hint;
        Edit& readout;
        Label& percent;
        int x, y;
    };
    Slider sliders[] = {
        {*Distort, 32000, 8000, kLevelHint, *Edit2, *Percent1, 14, 42},
        {*DistShape, 25000, 10000, "Sets analog approximation's warmth", *Edit1, *Percent2, 14, 92},
        {*TrackBar5, 32000, 8000, kLevelHint, *Edit4, *Percent3, 249, 42},
        {*TrackBar2, 25000, 10000, "Sets analog approximation's shape", *Edit3, *Percent4, 249, 92},
        {*TrackBar1, 32000, 8000, kLevelHint, *Edit9, *Percent5, 484, 42},
        {*TrackBar4, 25000, 10000, "Sets modulation's depth", *Edit5, *Percent6, 484, 92},
    };
    for (auto& s : sliders) {
        s.bar.SetRange(1, s.max);
        s.bar.SetPosition(s.pos);
        s.bar.SetFrequency(1);
        s.bar.SetTicksVisible(false);
        s.bar.SetHint(s.hint);
        s.bar.SetBounds(s.x, s.y, 160, 26);
        s.readout.SetBounds(s.x + 166, s.y + 3, 34, 20);
        s.percent.SetBounds(s.x + 204, s.y + 6, 12, 14);
    }
    Distort->SetLineSize(2);
    DistLabel1->SetBounds(14, 26, 120, 14);
    WarmthDepthLabel->SetBounds(14, 76, 120, 14);
    DistLabel2->SetBounds(249, 26, 120, 14);
    WarmthShapeLabel->SetBounds(249, 76, 120, 14);
    DistLabel3->SetBounds(484, 26, 120, 14);
    FreakDepthLabel->SetBounds(484, 76, 120, 14);

    Gain->SetRange(0, 10000);
    Gain->SetPosition(8100);
    Gain->SetFrequency(1);
    Gain->SetTicksVisible(false);
    Gain->SetHint("Sets gain ");
    Gain->SetBounds(255, 240, 30, 160);
    GainLabel->SetBounds(249, 222, 90, 14);
    Edit6->SetBounds(292, 308, 36, 20);
    Percent7->SetBounds(332, 311, 12, 14);

    struct Arrows {
        UpDown& control;
        int max, pos, increment;
        const char* hint;
        Edit& readout;
        Label *caption, &min, &max_;
        int x, y;
    };
    Arrows arrows[] = {
        {*Width, 8, 1, 1, "Sets width of approximating function's variance", *Edit7, WidthLabel1.get(), *MinLabel1,
         *MaxLabel1, 249, 126},
        {*UpDown1, 16, 1, 1, "Sets width of approximating function's modulation", *Edit8, WidthLabel2.get(),
         *MinLabel2, *MaxLabel2, 484, 126},
        {*UpDown2, 20, 20, -1, "Sets resampling effect's shape", *Edit10, ShapeLabel.get(), *MinLabel3, *MaxLabel3,
         14, 318},
    };
    for (auto& a : arrows) {
        a.control.SetRange(1, a.max);
        a.control.SetPosition(a.pos);
        a.control.SetIncrement(a.increment);
        a.control.SetHint(a.hint);
        a.caption->SetBounds(a.x, a.y + 4, 40, 14);
        a.min.SetBounds(a.x + 46, a.y + 4, 22, 14);
        a.readout.SetBounds(a.x + 70, a.y, 28, 20);
        a.control.SetBounds(a.x + 100, a.y - 2, 16, 24);
        a.max_.SetBounds(a.x + 120, a.y + 4, 24, 14);
    }

    for (Edit* e : {Edit1.get(), Edit2.get(), Edit3.get(), Edit4.get(), Edit5.get(), Edit6.get(), Edit7.get(), Edit8.get(), Edit9.get(), Edit10.get()})
        e->SetReadOnly(true);

    ComputeButton->SetHint("Applies warm distortion effect");
    Button1->SetHint("Applies warm distortion effect");
    Button2->SetHint("Applies freak distortion effect");
    for (Button* b : {SpeedButton1.get(), SpeedButton2.get(), SpeedButton3.get()}) b->SetHint("Emulates resampling effect");
    Button3->SetHint("Maximizes level of the sound file");
    Button5->SetHint("Calculates RMS value");
    Button6->SetHint("Searches maximum value of the sound file");
    Button4->SetHint("100% is the level of the current sound file");
    Button7->SetHint("100% is the maximum possible level of 16 bit Wave Format File");

    ComputeButton->SetBounds(14, 160, 75, 25);
    Button1->SetBounds(249, 160, 75, 25);
    Button2->SetBounds(484, 160, 75, 25);
    ConvertLabel->SetBounds(14, 226, 100, 14);
    ChannelConvertButton->SetBounds(120, 220, 75, 25);
    ResampleLabel->SetBounds(14, 262, 100, 14);
    SpeedButton1->SetBounds(14, 280, 62, 25);
    SpeedButton2->SetBounds(80, 280, 62, 25);
    SpeedButton3->SetBounds(146, 280, 62, 25);
    Button4->SetBounds(360, 222, 100, 25);
    Button7->SetBounds(360, 252, 100, 25);
    Button3->SetBounds(360, 296, 100, 25);
    Button5->SetBounds(360, 336, 100, 25);
    Button6->SetBounds(360, 366, 100, 25);

    const struct {
        Label& label;
        int x, y;
    } info[] = {{*Label1, 484, 222},  {*Label15, 590, 222}, {*Label2, 484, 238}, {*Label17, 610, 238},
                {*Label7, 660, 238},  {*Label3, 484, 254},  {*Label18, 610, 254}, {*Label8, 660, 254},
                {*Label4, 484, 270},  {*Label19, 610, 270}, {*Label10, 484, 286}, {*Label20, 610, 286},
                {*Label11, 660, 286}, {*Label22, 484, 302}, {*Label5, 484, 318}};
    for (const auto& i : info) i.label.SetBounds(i.x, i.y, 120, 14);
    for (Label* l : {Label15.get(), Label22.get(), Label5.get()}) l->SetAutoSize(false);
    Label15->SetBounds(590, 222, 110, 14);
    Label22->SetBounds(484, 302, 216, 14);
    Label22->SetFont(11, true);
    // A load or save problem names a file: four wrapped lines, and all of it
    // in the tool tip.
    Label5->SetBounds(484, 318, 216, 54);
    Label5->SetWordWrap(true);
    SetInfoLabelsVisible(false);
    Label5->SetVisible(false);

    DervoImage->SetBounds(484, 220, 214, 130);
    DervoImage->OnPaint = PaintDervo;
    DervoImage->SetHint("Open AboutBox from Help menu to find out more");

    PlayerLabel->SetBounds(484, 374, 60, 14);
    MediaPlayer1->SetBounds(484, 388, 214, 40);
    ProgressBar1->SetBounds(14, 404, 214, 16);
    ProgressBar1->SetRange(0, 23);
    ProgressBar1->SetVisible(false);

    SetConverterEnabled(false);
    SetEffectsEnabled(false);
    SetSaveEnabled(false);
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(false);
    ReloadFile.SetEnabled(false);

    auto bind = [](auto& control, auto handler) { control.OnClick = [handler](wb::Persistent*) { handler(); }; };
    bind(New1, [this] { New1Click(); });
    bind(Open1, [this] { Open1Click(); });
    bind(Save1, [this] { Save1Click(); });
    bind(SaveAs1, [this] { SaveAs1Click(); });
    bind(Exit1, [this] { Exit1Click(); });
    bind(Undo1, [this] { Undo1Click(); });
    bind(Redo1, [this] { Redo1Click(); });
    bind(ReloadFile, [this] { ReloadFileClick(); });
    bind(Procedures1, [this] { Procedures1Click(); });
    bind(About1, [this] { About1Click(); });
    for (auto* c : {ChannelConvertButton.get()}) bind(*c, [this] { ChannelConvertButtonClick(); });
    bind(StereoMono1, [this] { ChannelConvertButtonClick(); });
    bind(*ComputeButton, [this] { ComputeButtonClick(); });
    bind(WarmDistortion1, [this] { ComputeButtonClick(); });
    bind(*Button1, [this] { Button1Click(); });
    bind(WarmDistortion2, [this] { Button1Click(); });
    bind(*Button2, [this] { Button2Click(); });
    bind(FreakyDistortion1, [this] { Button2Click(); });
    bind(*SpeedButton1, [this] { SpeedButton1Click(); });
    bind(LoFi1, [this] { SpeedButton1Click(); });
    bind(*SpeedButton2, [this] { SpeedButton2Click(); });
    bind(LoFi2, [this] { SpeedButton2Click(); });
    bind(*SpeedButton3, [this] { SpeedButton3Click(); });
    bind(LoFi3, [this] { SpeedButton3Click(); });
    bind(*Button3, [this] { Button3Click(); });
    bind(Normalize1, [this] { Button3Click(); });
    bind(*Button5, [this] { Button5Click(); });
    bind(FindRMS, [this] { Button5Click(); });
    bind(*Button6, [this] { Button6Click(); });
    bind(FindPeak, [this] { Button6Click(); });
    bind(*Button4, [this] { Button4Click(); });
    bind(ChangeGain1, [this] { Button4Click(); });
    bind(*Button7, [this] { Button7Click(); });
    bind(ChangeGain2, [this] { Button7Click(); });
    Distort->OnChange = [this](wb::Persistent*) { DistortChange(); };
    DistShape->OnChange = [this](wb::Persistent*) { DistShapeChange(); };
    TrackBar5->OnChange = [this](wb::Persistent*) { TrackBar5Change(); };
    TrackBar2->OnChange = [this](wb::Persistent*) { TrackBar2Change(); };
    TrackBar1->OnChange = [this](wb::Persistent*) { TrackBar1Change(); };
    TrackBar4->OnChange = [this](wb::Persistent*) { TrackBar4Change(); };
    Gain->OnChange = [this](wb::Persistent*) { GainChange(); };
    Width->OnClick = [this](wb::Persistent*, UpDownButton) { WidthClick(); };
    UpDown1->OnClick = [this](wb::Persistent*, UpDownButton) { UpDown1Click(); };
    UpDown2->OnClick = [this](wb::Persistent*, UpDownButton) { UpDown2Click(); };
    OnClose = [this](wb::Persistent*) { FormClose(); };
}

TMainForm::~TMainForm() {
    if (tempDir_) FormClose();
}

// ---- enable groups

void TMainForm::SetEffectsEnabled(bool on) {
    for (Button* b : {ComputeButton.get(), Button1.get(), Button2.get(), SpeedButton1.get(), SpeedButton2.get(), SpeedButton3.get(),
                      Button3.get(), Button5.get(), Button6.get(), Button4.get(), Button7.get()})
        b->SetEnabled(on);
    for (MenuItem* m : {&WarmDistortion1, &WarmDistortion2, &FreakyDistortion1, &LoFi1, &LoFi2, &LoFi3,
                        &Normalize1, &FindRMS, &FindPeak, &ChangeGain1, &ChangeGain2})
        m->SetEnabled(on);
}

void TMainForm::SetConverterEnabled(bool on) {
    ChannelConvertButton->SetEnabled(on);
    StereoMono1.SetEnabled(on);
}

void TMainForm::SetSaveEnabled(bool on) {
    Save1.SetEnabled(on);
    SaveAs1.SetEnabled(on);
}

void TMainForm::SetInfoLabelsVisible(bool on) {
    for (Label* l : {Label1.get(), Label2.get(), Label3.get(), Label4.get(), Label7.get(), Label8.get(), Label10.get(), Label11.get(), Label15.get(),
                     Label17.get(), Label18.get(), Label19.get(), Label20.get(), Label22.get()})
        l->SetVisible(on);
}

// ---- files

void TMainForm::OpenPlayer(const std::string& fileName) {
    MediaPlayer1->SetFileName(fileName);
    // The player reports its own trouble; the handler goes on regardless.
    MediaPlayer1->Open();
}

void TMainForm::DeleteTempFiles() {
    DeleteIfExists(firstTemp_);
    DeleteIfExists(secondTemp_);
}

void TMainForm::LoadSound(const std::string& fileName) { sound_ = std::make_unique<SoundFile>(fileName); }

bool TMainForm::WriteSound(const std::string& fileName) {
    try {
        sound_->Save(fileName);
        return true;
    } catch (const wb::IoError& e) {
        Label22->SetCaption("Not written!");
        Label5->SetCaption(e.what());
        Label5->SetVisible(true);
        return false;
    }
}

void TMainForm::ShowFile(Shown after) {
    const SoundFile& s = *sound_;
    const bool unreadable = !s.GetLoadProblem().empty() && s.HeldSamples() == 0;
    const uint16_t channels = s.GetChannels();
    if (s.GetBitsPerSample() != 16 || (channels != 1 && channels != 2) || unreadable) {
        InvalidFile(after);
        return;
    }
    DervoImage->SetVisible(false);
    SetInfoLabelsVisible(true);
    if (after == Shown::Open) Label5->SetVisible(true);
    if (after == Shown::Open || after == Shown::Reload) {
        Label15->SetCaption(NameOnly(opened_));
        Label22->SetCaption("");
        Label5->SetCaption("");
    } else {
        Label5->SetCaption(after == Shown::Undo ? "Undone" : "(Redone)");
    }
    // A file cut short is worked on as far as it goes, and the user is told.
    if (!s.GetLoadProblem().empty()) {
        Label5->SetCaption(s.GetLoadProblem());
        Label5->SetVisible(true);
    }
    Label17->SetCaption(Number(s.GetSampleRate()));
    Label18->SetCaption(Number(s.GetBitsPerSample()));
    Label19->SetCaption(Number(channels));
    Label20->SetCaption(Number(static_cast<long long>(s.GetSeconds())));

    const int32_t rate = s.GetSampleRate();
    if (channels == 2) {
        WarningBox().ShowModal();
        SetConverterEnabled(true);
        SetSaveEnabled(true);
        SetEffectsEnabled(false);
    } else if (rate == 44100 || rate == 22050 || rate == 11025) {
        SetConverterEnabled(false);
        SetEffectsEnabled(true);
        SetSaveEnabled(true);
    } else {
        // Other rates keep the effects as they were; the converter is for
        // stereo files only.
        SetConverterEnabled(false);
    }
}

void TMainForm::InvalidFile(Shown after) {
    if (after == Shown::Open || after == Shown::Reload) {
        MediaPlayer1->Close();
        for (Label* l : {Label17.get(), Label18.get(), Label19.get(), Label20.get(), Label22.get()}) l->SetVisible(true);
        // The name shown is the file now open, not the last one that was valid.
        Label15->SetCaption(NameOnly(opened_));
    }
    DervoImage->SetVisible(false);
    Label22->SetCaption("Invalid File!!!");
    for (Label* l : {Label17.get(), Label18.get(), Label19.get(), Label20.get()}) l->SetCaption("");
    const std::string& problem = sound_->GetLoadProblem();
    Label5->SetCaption(problem);
    if (!problem.empty()) Label5->SetVisible(true);
    // Nothing may work on, convert or save what could not be read.
    SetEffectsEnabled(false);
    SetConverterEnabled(false);
    SetSaveEnabled(false);
}

void TMainForm::Open1Click() {
    OpenFileOptions options;
    options.title = "Open";
    options.filter = kSoundFilter;
    if (!opened_.empty()) options.initialDir = std::filesystem::path(opened_).parent_path().string();
    const auto chosen = ShowOpenFileDialog(options, Window());
    if (!chosen) return;
    OpenFile(*chosen);
}

void TMainForm::OpenFile(const std::string& fileName) {
    ReloadFile.SetEnabled(false);
    MediaPlayer1->Close();
    sound_.reset();
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(false);
    DeleteTempFiles();
    ReloadFile.SetEnabled(true);
    opened_ = fileName;
    LoadSound(fileName);
    OpenPlayer(fileName);
    ShowFile(Shown::Open);
}

void TMainForm::ReloadFileClick() {
    MediaPlayer1->Close();
    current_ = firstTemp_;
    sound_.reset();
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(false);
    DeleteTempFiles();
    LoadSound(opened_);
    OpenPlayer(opened_);
    ShowFile(Shown::Reload);
}

void TMainForm::Save1Click() {
    if (!sound_) return;
    // The undo files go only once the file is safely written.
    if (!WriteSound(opened_)) return;
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(false);
    DeleteTempFiles();
    Label5->SetCaption("");
    Label22->SetCaption("File Saved");
}

void TMainForm::SaveAs1Click() {
    if (!sound_) return;
    OpenFileOptions options;
    options.title = "Save As";
    options.filter = kSoundFilter;
    options.defaultExt = "*.wav";
    if (!opened_.empty()) options.initialDir = std::filesystem::path(opened_).parent_path().string();
    const auto chosen = ShowSaveFileDialog(options, Window());
    if (!chosen) return;
    if (!WriteSound(*chosen)) return;
    // The window shows the new name, so "Save" and "Reload File" use it too;
    // the file opened first is left as it was.
    if (current_ == opened_) current_ = *chosen;
    opened_ = *chosen;
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(false);
    DeleteTempFiles();
    Label5->SetCaption("");
    Label15->SetCaption(NameOnly(*chosen));
    Label22->SetCaption("File Saved");
}

void TMainForm::New1Click() {
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(false);
    ReloadFile.SetEnabled(false);
    DervoImage->SetVisible(true);
    SetInfoLabelsVisible(false);
    Label5->SetVisible(false);
    Label22->SetCaption("");
    MediaPlayer1->Close();
    DeleteTempFiles();
    SetConverterEnabled(false);
    SetSaveEnabled(false);
    SetEffectsEnabled(false);
    for (Label* l : {Label15.get(), Label17.get(), Label18.get(), Label19.get(), Label20.get()}) l->SetCaption("");
}

void TMainForm::Exit1Click() { Close(); }

void TMainForm::FormClose() {
    MediaPlayer1->Close();
    DeleteTempFiles();
    sound_.reset();
    tempDir_.reset();
}

void TMainForm::Undo1Click() {
    MediaPlayer1->Close();
    sound_.reset();
    Undo1.SetEnabled(false);
    Redo1.SetEnabled(true);
    std::string source = opened_;
    if (current_ == firstTemp_ && Exists(secondTemp_)) source = secondTemp_;
    else if (current_ == secondTemp_ && Exists(firstTemp_)) source = firstTemp_;
    LoadSound(source);
    current_ = source;
    OpenPlayer(source);
    ShowFile(Shown::Undo);
}

void TMainForm::Redo1Click() {
    MediaPlayer1->Close();
    sound_.reset();
    Undo1.SetEnabled(true);
    Redo1.SetEnabled(false);
    std::string source = opened_;
    if (current_ == firstTemp_ && Exists(secondTemp_)) source = secondTemp_;
    else if (current_ == secondTemp_ && Exists(firstTemp_)) source = firstTemp_;
    else if (current_ == opened_ && Exists(firstTemp_)) source = firstTemp_;
    else if (current_ == opened_ && Exists(secondTemp_)) source = secondTemp_;
    LoadSound(source);
    current_ = source;
    OpenPlayer(source);
    ShowFile(Shown::Redo);
}

void TMainForm::Procedures1Click() { Help().ShowModal(); }

void TMainForm::About1Click() { AboutBox().ShowModal(); }

TAboutBox& TMainForm::AboutBox() {
    if (windows_.AboutBox) return *windows_.AboutBox;
    if (!ownAboutBox_) ownAboutBox_ = std::make_unique<TAboutBox>();
    return *ownAboutBox_;
}

THelp& TMainForm::Help() {
    if (windows_.Help) return *windows_.Help;
    if (!ownHelp_) ownHelp_ = std::make_unique<THelp>();
    return *ownHelp_;
}

TWarningBox& TMainForm::WarningBox() {
    if (windows_.WarningBox) return *windows_.WarningBox;
    if (!ownWarningBox_) ownWarningBox_ = std::make_unique<TWarningBox>();
    return *ownWarningBox_;
}

// ---- effects

bool TMainForm::Commit(const std::string& doneText) {
    std::string target = firstTemp_;
    if (current_ == secondTemp_ && Exists(secondTemp_)) target = firstTemp_;
    else if (current_ == firstTemp_ && Exists(firstTemp_)) target = secondTemp_;
    // The target is replaced only by a complete file, so a failed write
    // keeps the result it held for redo.
    if (!WriteSound(target)) return false;
    current_ = target;
    OpenPlayer(current_);
    Label22->SetCaption(doneText);
    Label5->SetCaption("");
    if (doneText != "File normalized") {
        Button3->SetEnabled(true);
        Normalize1.SetEnabled(true);
    }
    Undo1.SetEnabled(true);
    Redo1.SetEnabled(false);
    return true;
}

bool TMainForm::RunEffect(const std::string& doneText, const std::function<void(SoundFile&)>& effect) {
    if (!sound_) return false;
    MediaPlayer1->Close();
    SoundFile before = *sound_;
    effect(*sound_);
    if (Commit(doneText)) return true;
    // Memory goes back to what the shown file holds.
    *sound_ = std::move(before);
    OpenPlayer(current_ == firstTemp_ && !Exists(firstTemp_) ? opened_ : current_);
    return false;
}

namespace {

// What a handler disabled before its effect, given back when the result
// could not be committed.
struct Disabled {
    std::vector<std::pair<Button*, bool>> buttons;
    std::vector<std::pair<MenuItem*, bool>> items;
    void Off(Button& b) {
        buttons.emplace_back(&b, b.Enabled());
        b.SetEnabled(false);
    }
    void Off(MenuItem& m) {
        items.emplace_back(&m, m.Enabled());
        m.SetEnabled(false);
    }
    void Restore() {
        for (auto& [b, on] : buttons) b->SetEnabled(on);
        for (auto& [m, on] : items) m->SetEnabled(on);
    }
};

} // namespace

void TMainForm::ChannelConvertButtonClick() {
    if (!sound_) return;
    Disabled off;
    off.Off(*ChannelConvertButton);
    off.Off(StereoMono1);
    if (!RunEffect("Converted", [this](SoundFile& s) { StereoToMono(s, *ProgressBar1); })) {
        off.Restore();
        return;
    }
    SetEffectsEnabled(true);
    Label19->SetCaption(Number(sound_->GetChannels()));
}

void TMainForm::ComputeButtonClick() {
    RunEffect("Warm Distortion1 done", [this](SoundFile& s) {
        Distortion(s, Distort->Position(), DistShape->Position(), *ProgressBar1);
    });
}

void TMainForm::Button1Click() {
    RunEffect("Warm Distortion2 done", [this](SoundFile& s) {
        Distortion2(s, TrackBar5->Position(), TrackBar2->Position(), Width->Position(), *ProgressBar1);
    });
}

void TMainForm::Button2Click() {
    RunEffect("Freak Distortion done", [this](SoundFile& s) {
        Distortion3(s, TrackBar1->Position(), TrackBar4->Position(), UpDown1->Position(), *ProgressBar1);
    });
}

void TMainForm::SpeedButton1Click() { LoFi(8, "LoFi1 done"); }
void TMainForm::SpeedButton2Click() { LoFi(4, "LoFi2 done"); }
void TMainForm::SpeedButton3Click() { LoFi(2, "LoFi3 done"); }

void TMainForm::LoFi(int step, const std::string& doneText) {
    Disabled off;
    off.Off(*ChannelConvertButton);
    if (!RunEffect(doneText, [this, step](SoundFile& s) { Resampler(s, step, UpDown2->Position(), *ProgressBar1); }))
        off.Restore();
}

void TMainForm::Button3Click() {
    Disabled off;
    off.Off(*Button3);
    off.Off(Normalize1);
    if (!RunEffect("File normalized", [this](SoundFile& s) { Normalizer(s, *ProgressBar1); })) off.Restore();
}

void TMainForm::Button4Click() {
    RunEffect("Gain changed", [this](SoundFile& s) { Amplifier(s, Gain->Position(), *ProgressBar1); });
}

void TMainForm::Button7Click() {
    RunEffect("Gain changed", [this](SoundFile& s) { Amplifier2(s, Gain->Position(), *ProgressBar1); });
}

void TMainForm::Button6Click() {
    if (!sound_) return;
    MediaPlayer1->Close();
    Amplifier2 peak(*sound_, *ProgressBar1);
    OpenPlayer(MediaPlayer1->FileName());
    Label5->SetCaption(PeakText(peak.Peak()));
}

void TMainForm::Button5Click() {
    if (!sound_) return;
    MediaPlayer1->Close();
    RMS rms(*sound_, *ProgressBar1);
    OpenPlayer(MediaPlayer1->FileName());
    Label5->SetCaption(RmsText(rms.Result()));
}

// ---- readouts

void TMainForm::DistortChange() { Edit2->SetText(Number(Distort->Position() / 320)); }
void TMainForm::DistShapeChange() { Edit1->SetText(Number(DistShape->Position() / 250)); }
void TMainForm::TrackBar5Change() { Edit4->SetText(Number(TrackBar5->Position() / 320)); }
void TMainForm::TrackBar2Change() { Edit3->SetText(Number(TrackBar2->Position() / 250)); }
void TMainForm::WidthClick() { Edit7->SetText(Number(Width->Position())); }
void TMainForm::TrackBar1Change() { Edit9->SetText(Number(TrackBar1->Position() / 320)); }
void TMainForm::TrackBar4Change() { Edit5->SetText(Number(TrackBar4->Position() / 250)); }
void TMainForm::UpDown1Click() { Edit8->SetText(Number(UpDown1->Position())); }
void TMainForm::GainChange() {
    Edit6->SetText(Number(static_cast<long long>(std::trunc(GainPercent(Gain->Position())))));
}
void TMainForm::UpDown2Click() { Edit10->SetText(Number(21 - UpDown2->Position())); }

} // namespace sonafex
