// The main window over a folder of real MP3 files made by lame: what the
// user sees after each step, and what lands on disk.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "tag_editor/logic/tests/ReadOnlyFiles.h"
#include "tag_editor/logic/tests/TestFiles.h"
#include "tag_editor/logic/tests/ToolShell.h"
#include "platform/base/IniFile.h"
#include "platform/base/TempDir.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/Screens.h"
#include "tag_editor/windows/EditTag.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/windows/Main.h"
#include "tag_editor/controls/decoration/VlLabel.h"
#include "tag_editor/logic/TagList.h"
#include "tag_editor/controls/grid/VlSortGrd.h"
#include "tag_editor/controls/storage/Placemnt.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlShell.h"

using namespace velmora;
using namespace wb::gui;
namespace fs = std::filesystem;

namespace {

// One second of silence from lame, made once for the whole binary.
const std::string& LameAudio() {
    static const std::string audio = [] {
        wb::TempDir dir("lame-seed");
        std::string mp3 = dir / "seed.mp3";
        Shell("head -c 176400 /dev/zero | lame --quiet -r --bitwidth 16 -s 44.1 -m j -b 128 - " + Quote(mp3));
        return ReadBytes(mp3);
    }();
    return audio;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        test::App("Velmora");
        if (!HaveTool("lame")) GTEST_SKIP() << "lame is not installed (scripts/setup installs it)";
        ::setenv("XDG_MUSIC_DIR", music_.Path().c_str(), 1);
    }
    void TearDown() override {
        form_.reset();
        // The file list entered the music folder, which goes with the test.
        if (::chdir("/") != 0) ADD_FAILURE() << "cannot leave the test's folder";
        ::unsetenv("XDG_MUSIC_DIR");
    }

    std::string Mp3(const std::string& name, const TTagInfo* tag = nullptr) {
        std::string path = music_ / name;
        WriteBytes(path, LameAudio());
        if (tag) WriteTag(path, *tag);
        return path;
    }
    TID3Frm& Open() {
        form_ = std::make_unique<TID3Frm>(program_.Path());
        form_->Show();
        QApplication::processEvents();
        return *form_;
    }
    TID3FileBox& Files() { return *form_->FileBox; }
    int Row(const std::string& name) {
        auto texts = Files().ItemTexts();
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i] == name) return int(i);
        return -1;
    }
    void Select(const std::string& name) {
        int row = Row(name);
        ASSERT_GE(row, 0) << name << " is not listed";
        Files().SetItemIndex(row);
    }
    std::string SelectedName() {
        int row = Files().ItemIndex();
        return row < 0 ? "" : Files().ItemTexts()[size_t(row)];
    }
    void Type(Edit* edit, const std::string& text) {
        edit->SetText("");
        QTest::keyClicks(edit->Widget(), QString::fromStdString(text));
    }
    static TTagInfo Tag(const std::string& song, const std::string& artist, uint8_t track = 0) {
        TTagInfo t;
        t.Song = song;
        t.Artist = artist;
        t.Album = "The Album";
        t.Comment = "Note";
        t.Year = 1999;
        t.Genre = 17;  // Rock
        t.Track = track;
        return t;
    }
    // Song, artist, album, year, comment, track and genre as the boxes show them.
    static std::vector<std::string> Boxes(TID3Frm& f) {
        return {f.SongEdit->Text(),    f.ArtistEdit->Text(), f.AlbumEdit->Text(), f.YearEdit->Text(),
                f.CommentEdit->Text(), f.TrackEdit->Text(),  f.GenreCombo->Text()};
    }
    // The one message box shown says `part`.
    static void ExpectOneBoxSaying(test::ModalDriver& driver, const std::string& part) {
        ASSERT_EQ(driver.Messages().size(), 1u);
        EXPECT_NE(driver.Messages()[0].text.find(part), std::string::npos) << driver.Messages()[0].text;
    }
    // A list of Band's "Record" in the program's "Tags".
    std::string SaveList(const std::vector<std::string>& songs) {
        TTagList list;
        list.Artist = "Band";
        list.AlbumName = "Record";
        list.Year = "1999";
        list.Genre = "Rock";
        for (const auto& song : songs) list.Tracks.push_back({"", song});
        fs::create_directories(program_ / "Tags");
        return SaveTagList(program_ / "Tags", list);
    }
    // Title, artist, album, year, comment, track and genre as mp3info reads them.
    static std::string Mp3info(const std::string& path) {
        return TrimAll(Shell("mp3info -p '%t|%a|%l|%y|%c|%n|%g' " + Quote(path)));
    }

    wb::TempDir program_{"velmora-prog"};
    wb::TempDir music_{"velmora-music"};
    std::unique_ptr<TID3Frm> form_;
};

// --- status line --------------------------------------------------------------

struct StatusCase {
    const char* name;
    bool tagged, readOnly, select;
    FileStatus status;
    TColor color, font;
    const char* text;
    bool apply, del;
};

class MainWindowStatus : public MainWindow, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(MainWindowStatus, ShowsTheStateColoursAndButtonsOfTheFile) {
    const StatusCase& c = GetParam();
    TTagInfo tag = Tag("Some Song", "Some Artist");
    std::string path = Mp3("Some Artist - Some Song.mp3", c.tagged ? &tag : nullptr);
    ReadOnlyFiles ro;
    if (c.readOnly && !ro.Protect(path)) GTEST_SKIP() << "this file system cannot make a file read-only for this user";
    TID3Frm& f = Open();
    if (c.select) Select("Some Artist - Some Song.mp3");
    EXPECT_EQ(f.Status(), c.status);
    EXPECT_EQ(f.StatusPanel->Color(), c.color);
    EXPECT_EQ(f.StatusPanel->FontColor(), c.font);
    EXPECT_EQ(f.StatusPanel->Caption(), c.text);
    EXPECT_EQ(f.ApplyBtn->Enabled(), c.apply);
    EXPECT_EQ(f.DelBtn->Enabled(), c.del);
    if (c.select) {
        // Untagged files show the title and artist their name gives.
        EXPECT_EQ(f.SongEdit->Text(), "Some Song");
        EXPECT_EQ(f.ArtistEdit->Text(), "Some Artist");
        EXPECT_NE(f.MpegInfoPanel->Caption().find("128"), std::string::npos) << f.MpegInfoPanel->Caption();
    } else {
        EXPECT_EQ(f.MpegInfoPanel->Caption(), "No Info ...");
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, MainWindowStatus,
    ::testing::Values(
        StatusCase{"NoFileSelected", true, false, false, FileStatus::NoFile, clAqua, clBlack,
                   "Welcome to Velmora ! Choose a folder and an MP3 file.", false, false},
        StatusCase{"TaggedWritable", true, false, true, FileStatus::Tagged, clTeal, clWhite, "File is TAGGED", true,
                   true},
        StatusCase{"TaggedReadOnly", true, true, true, FileStatus::TaggedReadOnly, clRed, clWhite,
                   "File is writeprotected !", false, false},
        StatusCase{"UntaggedReadOnly", false, true, true, FileStatus::UntaggedReadOnly, clRed, clWhite,
                   "File is writeprotected and has no TAG !", false, false},
        StatusCase{"UntaggedWritable", false, false, true, FileStatus::Untagged, clLime, clBlack,
                   "File has no TAG !", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- load, apply, delete ----------------------------------------------------------

TEST_F(MainWindow, LoadFillsTheBoxesAndTheFolderFollowsTheTree) {
    TTagInfo tag = Tag("  Padded Song ", "Artist", 5);
    Mp3("05 Padded.mp3", &tag);
    Mp3("notes.mp3.txt");
    wb::TempDir other("velmora-other");
    WriteBytes(other / "x.mp3", LameAudio());
    TID3Frm& f = Open();
    // With no stored folder the tree starts in the music folder.
    EXPECT_EQ(Files().ItemTexts(), std::vector<std::string>{"05 Padded.mp3"});
    Select("05 Padded.mp3");
    EXPECT_EQ(Boxes(f), (std::vector<std::string>{"Padded Song", "Artist", "The Album", "1999", "Note", "5", "Rock"}));
    EXPECT_EQ(f.CurrentTrack(), 5);
    EXPECT_EQ(f.RenameEdit->Text(), "05. Artist - Padded Song.mp3");
    EXPECT_TRUE(f.RenameBtn->Enabled());
    EXPECT_EQ(f.VlLabel1->Widget()->cursor().shape(), Qt::PointingHandCursor);  // the links' hand
    // A second copy proposes the same name, and the name may be used again.
    Mp3("05 Padded copy.mp3", &tag);
    f.RefreshFileList();
    Select("05 Padded.mp3");
    Select("05 Padded copy.mp3");
    EXPECT_EQ(f.RenameEdit->Text(), "05. Artist - Padded Song.mp3");
    EXPECT_TRUE(f.RenameBtn->Enabled());
    fs::remove(music_ / "05 Padded copy.mp3");
    f.RefreshFileList();

    f.DirTree->SetDirectory(other.Path());
    QApplication::processEvents();
    EXPECT_EQ(Files().Directory(), other.Path());
    EXPECT_EQ(Files().ItemTexts(), std::vector<std::string>{"x.mp3"});
    EXPECT_EQ(f.Status(), FileStatus::NoFile);
}

TEST_F(MainWindow, ApplyWritesWhatTheBoxesHoldAsOtherToolsReadIt) {
    REQUIRE_TOOLS("mp3info");
    std::string path = Mp3("take.mp3");
    TID3Frm& f = Open();
    f.AutoRenameCheck->SetChecked(false);
    Select("take.mp3");
    Type(f.SongEdit, "New Song");
    Type(f.ArtistEdit, "New Artist");
    Type(f.AlbumEdit, "New Album");
    Type(f.YearEdit, "20x07");  // the letter does not get through
    Type(f.CommentEdit, "A comment");
    Type(f.TrackEdit, "12");
    f.GenreCombo->SetItemIndex(-1);
    EXPECT_EQ(f.YearEdit->Text(), "2007");
    QTest::keyClick(f.YearEdit->Widget(), Qt::Key_Return);  // Enter presses Apply
    EXPECT_EQ(Mp3info(path), "New Song|New Artist|New Album|2007|A comment|12|");
    EXPECT_EQ(ReadBytes(path).substr(0, LameAudio().size()), LameAudio());
    EXPECT_EQ(Files().ItemIndex(), -1);  // no next file numbered 13
    EXPECT_FALSE(f.ApplyBtn->Enabled());

    // An empty year writes four blanks, a chosen genre its number.
    Select("take.mp3");
    f.YearEdit->SetText("");
    f.GenreCombo->SetItemIndex(f.GenreCombo->Items().size() > 0 ? 0 : -1);
    const std::string genre = f.GenreCombo->Text();
    f.ApplyBtn->Click();
    std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(bytes.size() - 128 + 93, 4), "    ");
    EXPECT_EQ(uint8_t(bytes.back()), GenreNumber(genre));
}

TEST_F(MainWindow, ATrackFromTheNameIsShownYellowAndWritten) {
    TTagInfo tag = Tag("Some Song", "Some Artist", 0);
    std::string path = Mp3("07 Some Song.mp3", &tag);
    TID3Frm& f = Open();
    f.AutoRenameCheck->SetChecked(false);
    Select("07 Some Song.mp3");
    EXPECT_EQ(f.TrackEdit->Text(), "7");
    auto* line = static_cast<QLineEdit*>(f.TrackEdit->Widget());
    EXPECT_EQ(line->palette().color(QPalette::Base), QColor(255, 255, 0));
    f.ApplyBtn->Click();
    EXPECT_EQ(ReadTag(path).Track, 7);
}

TEST_F(MainWindow, ATrackTheTagCannotHoldIsRefusedAndNothingWritten) {
    TTagInfo tag = Tag("Song", "Artist", 3);
    std::string path = Mp3("03 Song.mp3", &tag);
    const std::string before = ReadBytes(path);
    TID3Frm& f = Open();
    Select("03 Song.mp3");
    Type(f.TrackEdit, "300");
    test::ModalDriver driver;
    f.ApplyBtn->Click();
    ExpectOneBoxSaying(driver, "300");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(fs::exists(path));
}

// A write that does not happen is a failure: the file deleted after it was
// selected is named as gone, nothing is made or renamed, the list drops it.
TEST_F(MainWindow, ApplyOnAFileDeletedSinceItWasSelectedSaysItIsGone) {
    std::string path = Mp3("01 a.mp3");
    TID3Frm& f = Open();
    Select("01 a.mp3");
    Type(f.SongEdit, "Song");
    Type(f.ArtistEdit, "Band");
    fs::remove(path);
    test::ModalDriver driver;
    f.ApplyBtn->Click();
    ExpectOneBoxSaying(driver, "01 a.mp3\": No such file or directory: the file was deleted or moved");
    EXPECT_TRUE(fs::is_empty(music_.Path()));
    EXPECT_EQ(Row("01 a.mp3"), -1);
}

TEST_F(MainWindow, DeleteCutsTheTagOffAndLeavesLamesBytes) {
    REQUIRE_TOOLS("mp3info");
    TTagInfo tag = Tag("Song", "Artist", 1);
    std::string path = Mp3("01 Song.mp3", &tag);
    TID3Frm& f = Open();
    Select("01 Song.mp3");
    QTest::keyClick(f.SongEdit->Widget(), Qt::Key_Escape);  // Esc presses Delete
    EXPECT_EQ(ReadBytes(path), LameAudio());
    EXPECT_NE(Shell("mp3info " + Quote(path) + " 2>&1; true").find("does not have an ID3 1.x tag"),
              std::string::npos);
    EXPECT_EQ(Files().ItemIndex(), -1);
    EXPECT_FALSE(f.DelBtn->Enabled());
}

// --- field clipboard ----------------------------------------------------------------

TEST_F(MainWindow, CopyAndPasteCarryOnlyTheChosenFields) {
    TTagInfo first = Tag("First Song", "First Artist", 1);
    TTagInfo second = Tag("Second Song", "Second Artist", 2);
    second.Album = "Other Album";
    second.Genre = 8;  // Jazz
    Mp3("01 a.mp3", &first);
    Mp3("02 b.mp3", &second);
    TID3Frm& f = Open();

    // Before any copy: the checked boxes empty, the first genre chosen.
    Select("01 a.mp3");
    f.TrackCopyChk->SetChecked(false);
    f.PasteBtn->Click();
    EXPECT_EQ(Boxes(f), (std::vector<std::string>{"", "", "", "", "", "1", f.GenreCombo->Items()[0]}));
    EXPECT_EQ(f.GenreCombo->ItemIndex(), 0);

    Select("02 b.mp3");
    Select("01 a.mp3");
    f.SongCopyChk->SetChecked(false);
    f.CopyBtn->Click();
    Select("02 b.mp3");
    f.PasteBtn->Click();
    EXPECT_EQ(Boxes(f),
              (std::vector<std::string>{"Second Song", "First Artist", "The Album", "1999", "Note", "2", "Rock"}));
    EXPECT_EQ(f.RenameEdit->Text(), "02. First Artist - Second Song.mp3");

    f.SwitchBtn->Click();
    EXPECT_EQ(f.SongEdit->Text(), "First Artist");
    EXPECT_EQ(f.ArtistEdit->Text(), "Second Song");
}

// --- renaming and the next file --------------------------------------------------

TEST_F(MainWindow, ApplyRenamesByThePatternAndLoadsTheNextNumberedFile) {
    TTagInfo next = Tag("Fourth", "Band", 4);
    Mp3("03 x.mp3");
    Mp3("04 y.mp3", &next);
    TID3Frm& f = Open();
    Select("03 x.mp3");
    Type(f.SongEdit, "Third");
    Type(f.ArtistEdit, "Band");
    Type(f.TrackEdit, "3");
    EXPECT_EQ(f.RenameEdit->Text(), "03. Band - Third.mp3");
    f.ApplyBtn->Click();
    EXPECT_TRUE(fs::exists(music_ / "03. Band - Third.mp3"));
    EXPECT_FALSE(fs::exists(music_ / "03 x.mp3"));
    EXPECT_EQ(TrimAll(ReadTag(music_ / "03. Band - Third.mp3").Song), "Third");
    EXPECT_EQ(SelectedName(), "04 y.mp3");
    EXPECT_EQ(f.SongEdit->Text(), "Fourth");
    EXPECT_EQ(f.CurrentTrack(), 4);
    EXPECT_EQ(f.Status(), FileStatus::Tagged);

    // The blank replacement turns on with its option.
    f.UseDotChk->Click();
    EXPECT_EQ(f.RenameEdit->Text(), "04.Band.-.Fourth.mp3");
    f.AplAlbumChk->Click();  // the plain proposal, blanks kept
    EXPECT_EQ(f.RenameEdit->Text(), "04. Band - Fourth.mp3");
}

TEST_F(MainWindow, ARenameOntoAnotherFileIsRefusedAndBothStay) {
    TTagInfo a = Tag("A", "Artist", 1), b = Tag("B", "Artist", 2);
    std::string first = Mp3("01 a.mp3", &a), second = Mp3("02 b.mp3", &b);
    const std::string firstBytes = ReadBytes(first), secondBytes = ReadBytes(second);
    TID3Frm& f = Open();
    f.NextFileChk->SetChecked(false);
    Select("01 a.mp3");
    test::ModalDriver driver;
    f.RenameEdit->SetText("02 b.mp3");
    f.RenameBtn->Click();
    ExpectOneBoxSaying(driver, "already exists");
    EXPECT_EQ(ReadBytes(first), firstBytes);
    EXPECT_EQ(ReadBytes(second), secondBytes);

    // A typed name with a folder in it is refused too; Apply still writes.
    Select("01 a.mp3");
    Type(f.CommentEdit, "changed");
    f.RenameEdit->SetText("../away.mp3");
    f.ApplyBtn->Click();
    EXPECT_EQ(driver.Messages().size(), 2u);
    EXPECT_TRUE(fs::exists(first));
    EXPECT_FALSE(fs::exists(music_.Path() + "/../away.mp3"));
    EXPECT_EQ(TrimAll(ReadTag(first).Comment), "changed");
}

TEST_F(MainWindow, AFolderRenameFollowsTheTreeOrLeavesItWhereItWas) {
    fs::create_directories(music_ / "Old Name");
    fs::create_directories(music_ / "Taken/Inner");
    WriteBytes(music_ / "Old Name/01 a.mp3", LameAudio());
    TID3Frm& f = Open();
    // A folder the user opened stays open through the renames.
    f.DirTree->SetDirectory(music_ / "Taken");
    TreeNode* taken = f.DirTree->Current();
    taken->SetExpanded(true);
    f.DirTree->SetDirectory(music_ / "Old Name");
    test::ModalDriver driver;
    f.RenameDirectory(music_ / "Old Name", "Taken");
    ExpectOneBoxSaying(driver, "Can\u00b4t rename directory !");
    EXPECT_TRUE(fs::is_directory(music_ / "Old Name"));
    EXPECT_EQ(f.DirTree->GetDirectory(), music_ / "Old Name");
    EXPECT_EQ(Files().ItemTexts(), std::vector<std::string>{"01 a.mp3"});

    f.RenameDirectory(music_ / "Old Name", "Some Artist: Live?");
    EXPECT_EQ(driver.Messages().size(), 1u);
    EXPECT_TRUE(fs::is_directory(music_ / "Some Artist  Live"));
    EXPECT_EQ(f.DirTree->GetDirectory(), music_ / "Some Artist  Live");
    EXPECT_EQ(Files().Directory(), music_ / "Some Artist  Live");
    EXPECT_TRUE(taken->Expanded());
    EXPECT_EQ(f.DirTree->Current()->Parent(), taken->Parent());
}

TEST_F(MainWindow, F5ReadsTheFolderAgainAndADoubleClickOpensTheFile) {
    Mp3("01 a.mp3");
    TID3Frm& f = Open();
    Mp3("02 b.mp3");
    // A key reaches the list that has the focus.
    QApplication::setActiveWindow(f.Window());
    f.FileBox->SetFocus();
    QApplication::processEvents();
    QTest::keyRelease(f.FileBox->Widget(), Qt::Key_F5);
    EXPECT_EQ(Files().ItemTexts(), (std::vector<std::string>{"01 a.mp3", "02 b.mp3"}));

    std::vector<std::string> opened;
    auto saved = TVlShell::Open;
    TVlShell::Open = [&](const std::string& path) {
        opened.push_back(path);
        return true;
    };
    Select("02 b.mp3");
    Files().DblClick();  // the list's own part, then the window's handler
    TVlShell::Open = saved;
    EXPECT_EQ(opened, std::vector<std::string>{music_ / "02 b.mp3"});
}

TEST_F(MainWindow, LeavingTheNameFormatsMakesTheProposalAgain) {
    TTagInfo tag = Tag("Song", "Artist", 2);
    Mp3("02 a.mp3", &tag);
    TID3Frm& f = Open();
    Select("02 a.mp3");
    EXPECT_EQ(f.RenameEdit->Text(), "02. Artist - Song.mp3");
    f.PageControl1->SetActivePage(f.NameFormSheet);
    QApplication::setActiveWindow(f.Window());
    f.FileNameAlbumEdit->SetFocus();
    QApplication::processEvents();
    f.FileNameAlbumEdit->SetText("%S (%Y)");
    EXPECT_EQ(f.RenameEdit->Text(), "02. Artist - Song.mp3");
    f.PageControl1->SetActivePage(f.ID3Tab);
    f.SongEdit->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(f.RenameEdit->Text(), "Song (1999).mp3");
}

// The name-code legend's lines are one table: an entry starts where the
// same entry of the other lines starts, and after a blank wider than a word space.
TEST_F(MainWindow, TheNameCodeLegendLinesUpItsColumns) {
    TID3Frm& f = Open();
    std::vector<std::vector<int>> starts;
    for (Label* legend : {f.Legend1.get(), f.Legend2.get(), f.Legend3.get()}) {
        const QImage image = legend->Widget()->grab().toImage();
        const int paper = qGray(image.pixel(image.width() - 1, image.height() / 2));
        starts.emplace_back();
        for (int x = 0, blank = 99; x < image.width(); ++x) {
            bool ink = false;
            for (int y = 0; y < image.height(); ++y) ink = ink || qGray(image.pixel(x, y)) < paper - 80;
            if (ink && blank >= 10) starts.back().push_back(x + legend->Left());
            blank = ink ? 0 : blank + 1;
        }
    }
    ASSERT_EQ(starts[0].size(), 3u) << "%A, %N and %Y apart";
    EXPECT_EQ(starts[1], std::vector<int>(starts[0].begin(), starts[0].begin() + 2));
    EXPECT_EQ(starts[2], starts[1]);
}

// --- settings and start-up ---------------------------------------------------------

TEST_F(MainWindow, SettingsAndStoredPropertiesAreWrittenAndReadBackExactly) {
    wb::TempDir other("velmora-dirtree");
    {
        TID3Frm& f = Open();
        f.DirTree->SetDirectory(other.Path());
        for (CheckBox* c : {f.AutoRenameCheck.get(), f.AddTracktoTag.get(), f.NextFileChk.get(), f.AutoPlayListChk.get(), f.RenDirAfterAutotagChk.get(), f.ShowInexactChk.get(), f.AplAlbumChk.get(), f.RenWhenAutoTagChk.get()})
            c->SetChecked(false);
        f.UseDotChk->SetChecked(true);
        f.UrlEdit->SetText("cddb.example.org");
        f.PortEdit->SetText("8881");
        f.EMailEdit->SetText("me@example.org");
        f.UseIsteadSpaceEdit->SetText("_");
        f.FileNameAlbumEdit->SetText("%T %S");
        f.FileNameSamplerEdit->SetText("%T %A %S");
        f.DirNameAlbumEdit->SetText("%N");
        f.DirNameSamplerEdit->SetText("%N %Y");
        f.PListNameAlbumEdit->SetText("%A");
        f.PListNameSamplerEdit->SetText("%Y");
        f.PageControl1->SetActivePage(f.NameFormSheet);
        f.AddCddbRequest({"0b012a02", "2", "300", {"150", "13500"}});
        f.AddCddbRequest({"1c012a03", "3", "400", {"150", "13500", "20000"}});
        EXPECT_TRUE(f.ConnectBtn->Enabled());
        EXPECT_TRUE(f.Close());
    }
    wb::IniFile ini(program_ / "Velmora.Ini");
    const std::pair<const char*, const char*> expected[] = {
        {"Dirtree", nullptr},
        {"AutoRenameCheck_Checked", "False"}, {"UseDotChk_Checked", "True"},
        {"AddTracktoTag_Checked", "False"}, {"NextFileChk_Checked", "False"},
        {"AutoPlayListChk_Checked", "False"}, {"RenDirAfterAutotagChk_Checked", "False"},
        {"UrlEdit_Text", "cddb.example.org"}, {"PortEdit_Text", "8881"}, {"EMailEdit_Text", "me@example.org"},
        {"ShowInexactChk_Checked", "False"}, {"PageControl1_ActivePage", "NameFormSheet"},
        {"UseIsteadSpaceEdit_Text", "_"}, {"FileNameAlbumEdit_Text", "%T %S"},
        {"FileNameSamplerEdit_Text", "%T %A %S"}, {"DirNameAlbumEdit_Text", "%N"},
        {"DirNameSamplerEdit_Text", "%N %Y"}, {"AplAlbumChk_Checked", "False"},
        {"PListNameAlbumEdit_Text", "%A"}, {"PListNameSamplerEdit_Text", "%Y"},
    };
    for (auto [key, value] : expected)
        if (value) {
            EXPECT_EQ(ini.ReadString("Main", key, "<missing>"), value) << key;
        }
    EXPECT_NE(fs::path(ini.ReadString("Main", "Dirtree", "")), fs::path());
    EXPECT_TRUE(fs::equivalent(ini.ReadString("Main", "Dirtree", "/nowhere"), other.Path()));
    EXPECT_TRUE(ini.ValueExists("Main", "CDDrive"));
    EXPECT_FALSE(ini.ValueExists("Main", "RenWhenAutoTagChk_Checked"));
    const std::string queued = RequestLine({"0b012a02", "2", "300", {"150", "13500"}}) + "\r\n" +
                               RequestLine({"1c012a03", "3", "400", {"150", "13500", "20000"}}) + "\r\n";
    EXPECT_EQ(ReadBytes(program_ / "CDDB.Req"), queued);

    TID3Frm& g = Open();
    EXPECT_FALSE(g.AutoRenameCheck->Checked());
    EXPECT_TRUE(g.UseDotChk->Checked());
    EXPECT_FALSE(g.AplAlbumChk->Checked());
    EXPECT_TRUE(g.RenWhenAutoTagChk->Checked());
    EXPECT_EQ(g.UrlEdit->Text(), "cddb.example.org");
    EXPECT_EQ(g.PListNameSamplerEdit->Text(), "%Y");
    EXPECT_EQ(g.PageControl1->ActivePage(), g.NameFormSheet);
    EXPECT_EQ(g.ReqCounter->Caption(), "2");
    EXPECT_EQ(g.CddbRequests().Count(), 2);
    EXPECT_TRUE(g.ConnectBtn->Enabled());
    EXPECT_TRUE(fs::equivalent(Files().Directory(), other.Path()));

    // An empty request list deletes the file.
    while (!g.CddbRequests().Empty()) g.CddbRequests().PopFront();
    g.FormClose();
    EXPECT_FALSE(fs::exists(program_ / "CDDB.Req"));

    // A stored folder that is gone opens its parent.
    fs::create_directories(other / "gone");
    wb::IniFile(program_ / "Velmora.Ini").WriteString("Main", "Dirtree", other / "gone");
    fs::remove(other / "gone");
    TID3Frm& h = Open();
    EXPECT_TRUE(fs::equivalent(h.DirTree->GetDirectory(), other.Path()));
}

TEST_F(MainWindow, ASettingsFileThatCannotBeWrittenStillKeepsTheQueuedRequests) {
    {
        TID3Frm& f = Open();
        f.AddCddbRequest({"0b012a02", "2", "300", {"150", "13500"}});
        // A folder where the settings file should be: every write to it fails.
        fs::remove(program_ / "Velmora.Ini");
        fs::create_directory(program_ / "Velmora.Ini");
        EXPECT_ANY_THROW(f.FormClose());
    }
    EXPECT_EQ(ReadBytes(program_ / "CDDB.Req"), RequestLine({"0b012a02", "2", "300", {"150", "13500"}}) + "\r\n");
}

TEST_F(MainWindow, StartFinishesADownloadedUpdateAndMakesTheTagsFolder) {
    WriteBytes(program_ / "Update.exe", "old updater");
    WriteBytes(program_ / "Newupd.exe", "new updater");
    Open();
    EXPECT_EQ(ReadBytes(program_ / "Update.exe"), "new updater");
    EXPECT_FALSE(fs::exists(program_ / "Newupd.exe"));
    EXPECT_TRUE(fs::is_directory(program_ / "Tags"));
    EXPECT_EQ(form_->RenFileBox->Mask(), "*.Tag");
}

// Every tab pictured; the first shows the chosen file's tag in its boxes,
// and a file without a tag leaves them empty but for the name's title.
TEST_F(MainWindow, EveryTabWithAFileLoaded) {
    TTagInfo tag = Tag("Some Song", "Some Artist", 3);
    Mp3("03 Some Song.mp3", &tag);
    Mp3("04 Next Song.mp3");
    TID3Frm& f = Open();
    Select("03 Some Song.mp3");
    for (int i = f.PageControl1->PageCount() - 1; i >= 0; --i) {
        TabSheet* page = f.PageControl1->Page(i);
        f.PageControl1->SetActivePage(page);
        QApplication::processEvents();
        const QImage shot = wb::gui::test::Screenshot(f, std::string("velmora-") + page->Name());
        ASSERT_FALSE(shot.isNull()) << page->Name();
        if (i > 0) continue;
        for (Edit* box : {f.SongEdit.get(), f.ArtistEdit.get(), f.AlbumEdit.get(), f.CommentEdit.get()})
            EXPECT_GE(wb::gui::test::InkColumns(wb::gui::test::BoxOf(shot, f, *box, 3)), 12) << box->Name();
    }
    Select("04 Next Song.mp3");
    QApplication::processEvents();
    const QImage shot = wb::gui::test::Screenshot(f, "velmora-untagged");
    for (Edit* box : {f.ArtistEdit.get(), f.AlbumEdit.get(), f.CommentEdit.get()})
        EXPECT_LE(wb::gui::test::InkColumns(wb::gui::test::BoxOf(shot, f, *box, 3)), 2) << box->Name();
}

// The gradient title bar, active and inactive: red at its left end in both.
TEST_F(MainWindow, TheTitleBarIsAGradientActiveAndInactive) {
    TID3Frm& f = Open();
    f.SetBounds(20, 20, 800, 573);
    ASSERT_TRUE(f.OwnFrame() || !Form::OwnFramesAllowed());
    if (!f.OwnFrame()) GTEST_SKIP() << "the window manager draws the frames here (WB_SYSTEM_FRAMES)";
    const Rect bar = CaptionRect(f.Width(), f.Height(), f.BorderStyle(), f.BorderIcons());
    for (bool active : {true, false}) {
        f.Perform(WM_NCACTIVATE, active ? 1 : 0);
        const std::string png =
            std::string(WB_BINARY_DIR "/screens/velmora-main-") + (active ? "active" : "inactive") + ".png";
        ASSERT_TRUE(f.SaveScreenshot(png));
        const QImage shot(QString::fromStdString(png));
        EXPECT_EQ(shot.pixel(bar.left, bar.bottom - 2) | 0xFF000000u, 0xFFFF0000u) << png;
        EXPECT_EQ(shot.pixel(bar.right - 1, bar.bottom - 2) | 0xFF000000u,
                  ToQRgb(active ? clActiveCaption : clInactiveCaption))
            << png;
    }
}

// The "Tag from list" tab: a list in "Tags" shows in the grid; Autotag tags
// and renames the folder's files from it and writes the playlist; Delete
// asks first.
TEST_F(MainWindow, TagListsShowAutotagAndDelete) {
    REQUIRE_TOOLS("lame", "mp3info");
    Mp3("01 a.mp3");
    Mp3("02 b.mp3");
    const std::string listPath = SaveList({"First Song", "Second Song"});
    TID3Frm& f = Open();
    EXPECT_EQ(f.TagListCounter->Caption(), "1");
    EXPECT_EQ(f.TagListGrd->Cells(0, 1) + "|" + f.TagListGrd->Cells(1, 1), "Band|Record");
    f.TagListGrd->SetRow(1);
    f.TagListGrdClick();
    EXPECT_TRUE(f.ChgTagListBtn->Enabled());
    ASSERT_TRUE(f.AutoTagBtn->Enabled());
    wb::gui::test::ModalDriver driver;
    f.RenDirAfterAutotagChk->SetChecked(false);
    f.AutoTagBtn->Click();
    EXPECT_TRUE(f.AutoTagBtn->Enabled());
    EXPECT_TRUE(f.DirTree->Enabled());
    EXPECT_TRUE(driver.Texts().empty()) << ::testing::PrintToString(driver.Texts());
    const auto names = Files().ItemTexts();
    ASSERT_EQ(names.size(), 2u) << ::testing::PrintToString(names);
    EXPECT_NE(Mp3info(music_ / "01. Band - First Song.mp3").find("First Song"), std::string::npos);
    EXPECT_TRUE(fs::exists(music_ / "02. Band - Second Song.mp3"));
    size_t playlists = 0;
    for (const auto& e : fs::directory_iterator(music_.Path())) playlists += e.path().extension() == ".m3u";
    EXPECT_EQ(playlists, 1u);
    // Delete asks; No keeps the list, Yes deletes it.
    f.DelTagListBtn->Click();
    EXPECT_TRUE(fs::exists(listPath));
    driver.AnswerYes();
    f.DelTagListBtn->Click();
    EXPECT_FALSE(fs::exists(listPath));
    EXPECT_EQ(f.TagListCounter->Caption(), "0");
    EXPECT_FALSE(f.DelTagListBtn->Enabled());
}

// A list whose file name is not UTF-8 opens by its own bytes.
TEST_F(MainWindow, AListNamedInAnotherCodePageOpensInTheEditor) {
    fs::create_directories(program_ / "Tags");
    WriteBytes(program_ / "Tags/Caf\xe9 D\xed" "as (Sampler).Tag", "Sampler\r\nCafe Dias\r\n\r\n\r\n\r\n2\r\na\r\nt\r\n");
    TID3Frm& f = Open();
    ASSERT_EQ(f.TagListCounter->Caption(), "1");
    EXPECT_EQ(f.TagListGrd->Cells(1, 1), "Caf\ufffd D\ufffdas ");
    f.TagListGrd->SetRow(1);
    f.TagListGrdClick();
    test::ModalDriver driver;
    std::string album;
    driver.OnDialog([&](QWidget* w) {
        album = w->findChild<QLineEdit*>("AlbumListEdit")->text().toStdString();
        w->findChild<QPushButton*>("CancelBtn")->click();
    });
    f.ChgTagListBtn->Click();
    EXPECT_TRUE(driver.Messages().empty()) << driver.Messages()[0].text;
    EXPECT_EQ(album, "Cafe Dias");
}

// "Make new list" opens the list editor, bound to the program's "Tags",
// whether the program handed one over or the window makes its own.
class MainWindowNewList : public MainWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(MainWindowNewList, OpensTheListEditor) {
    TID3Frm& f = Open();
    TEditTagListFrm handed;
    if (GetParam()) f.HandWindows({&handed, nullptr, nullptr});
    wb::gui::test::ModalDriver driver;
    std::string shown;
    driver.OnDialog([&](QWidget* w) {
        shown = w->windowTitle().toStdString();
        w->findChild<QPushButton*>("CancelBtn")->click();
    });
    f.NewTagListBtn->Click();
    EXPECT_EQ(shown, "Taglist Editor");
    if (GetParam()) {
        EXPECT_EQ(handed.TagsFolder(), f.TagsFolder());
    }
}

INSTANTIATE_TEST_SUITE_P(Editor, MainWindowNewList, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Handed" : "MadeByTheWindow"; });

// Autotag renames the folder it tagged; tree and file list follow it there.
TEST_F(MainWindow, AutotagRenamesTheFolderAndTheTreeFollows) {
    fs::create_directories(music_ / "Album");
    WriteBytes(music_ / "Album/01 a.mp3", LameAudio());
    SaveList({"First Song"});
    TID3Frm& f = Open();
    f.DirTree->SetDirectory(music_ / "Album");
    QApplication::processEvents();
    ASSERT_EQ(Files().ItemTexts().size(), 1u);
    f.TagListGrd->SetRow(1);
    f.TagListGrdClick();
    ASSERT_TRUE(f.AutoTagBtn->Enabled());
    wb::gui::test::ModalDriver driver;
    f.RenDirAfterAutotagChk->SetChecked(true);
    f.AutoTagBtn->Click();
    EXPECT_TRUE(driver.Texts().empty()) << ::testing::PrintToString(driver.Texts());
    ASSERT_FALSE(fs::exists(music_ / "Album"));
    std::string renamed;
    for (const auto& e : fs::directory_iterator(music_.Path())) renamed = e.path().string();
    EXPECT_EQ(fs::path(f.DirTree->GetDirectory()), fs::path(renamed));
    EXPECT_EQ(fs::path(Files().Directory()), fs::path(renamed));
}

// --- names that are not UTF-8 -----------------------------------------------------

// A folder and its two files named by bytes that are not UTF-8 (`raw`, shown
// as `shown`): select, playlist, disc id, Apply (which gives a UTF-8 name
// from the tag) and Autotag all work on the bytes the folder gave.
struct RawNameCase { const char* name; std::string raw, shown; };

class MainWindowRawName : public MainWindow, public ::testing::WithParamInterface<RawNameCase> {};

TEST_P(MainWindowRawName, EveryStepWorksOnTheNamesBytes) {
    REQUIRE_TOOLS("lame", "mp3info");
    const RawNameCase& c = GetParam();
    const std::string folder = music_ / c.raw, first = "01 " + c.raw + ".mp3", second = "02 " + c.raw + ".mp3";
    fs::create_directories(folder);
    for (const std::string& n : {first, second}) WriteBytes(folder + "/" + n, LameAudio());
    SaveList({"First Song", "Second Song"});
    TID3Frm& f = Open();
    f.DirTree->SetDirectory(folder);
    ASSERT_EQ(Files().ItemTexts(), (std::vector<std::string>{"01 " + c.shown + ".mp3", "02 " + c.shown + ".mp3"}));
    test::ModalDriver driver;
    driver.AnswerFileDialog("list.m3u");
    f.MakePlListBtn->Click();
    EXPECT_EQ(ReadBytes(folder + "/list.m3u"), first + "\r\n" + second + "\r\n");
    // Two files of one second each: the second starts at 3 s, the disc ends at 4 s.
    driver.OnDialog([](QWidget* w) { w->findChild<QPushButton*>("CreateBtn")->click(); });
    f.FileCDDBBtn->Click();
    EXPECT_EQ(f.CddbRequests().Lines().at(0).substr(8), " 2 150 225 4");
    Files().SetItemIndex(1);
    Type(f.SongEdit, "Song");
    Type(f.ArtistEdit, "Band");
    Type(f.TrackEdit, "2");
    f.ApplyBtn->Click();
    EXPECT_EQ(Mp3info(folder + "/02. Band - Song.mp3"), "Song|Band||||2|");
    f.TagListGrd->SetRow(1);
    f.TagListGrdClick();
    f.AutoTagBtn->Click();
    EXPECT_TRUE(driver.Texts().empty()) << ::testing::PrintToString(driver.Texts());
    const std::string renamed = Files().Directory();
    EXPECT_EQ(Mp3info(renamed + "/01. Band - First Song.mp3").substr(0, 16), "First Song|Band|");
    EXPECT_EQ(ReadBytes(renamed + "/--- Band - Record ---.m3u"),
              "01. Band - First Song.mp3\r\n02. Band - Second Song.mp3\r\n");
}

INSTANTIATE_TEST_SUITE_P(Bytes, MainWindowRawName,
                         ::testing::Values(RawNameCase{"Latin1", "Caf\xe9", "Caf\ufffd"},
                                           RawNameCase{"ByteFF", "\xff" "Band", "\ufffd" "Band"},
                                           RawNameCase{"LoneC3", "a\xc3", "a\ufffd"}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- rules --------------------------------------------------------------------------

struct BoxesCase {
    const char* name;
    TagBoxes boxes;
    int year, track, genre;
};

class TagFromBoxesTest : public ::testing::TestWithParam<BoxesCase> {};

TEST_P(TagFromBoxesTest, NumbersCountOnlyWhenAllDigits) {
    const auto& c = GetParam();
    TTagInfo t = TagFromBoxes(c.boxes);
    EXPECT_EQ(t.Song, c.boxes.Song);
    EXPECT_EQ(t.Year, c.year);
    EXPECT_EQ(t.Track, c.track);
    EXPECT_EQ(t.Genre, c.genre);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TagFromBoxesTest,
    ::testing::Values(BoxesCase{"Plain", {"S", "A", "N", "1999", "C", "7", "Rock"}, 1999, 7, 17},
                      BoxesCase{"EmptyNumbers", {"S", "", "", "", "", "", ""}, 0, 0, 255},
                      BoxesCase{"NotDigits", {"S", "", "", "19a9", "", "x", "No Such Genre"}, 0, 0, 255},
                      BoxesCase{"HighestTrack", {"S", "", "", "0", "", "255", "Blues"}, 0, 255, 0}),
    [](const auto& info) { return std::string(info.param.name); });


TEST(MainRules, TheFirstFolderIsTheMusicFolderElseHome) {
    wb::TempDir music;
    ::setenv("XDG_MUSIC_DIR", music.Path().c_str(), 1);
    EXPECT_EQ(MusicFolder(), music.Path());
    ::setenv("XDG_MUSIC_DIR", (music / "missing").c_str(), 1);
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
    wb::TempDir config;
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    std::string saved = oldConfig ? oldConfig : "";
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    EXPECT_EQ(MusicFolder(), home);
    WriteBytes(config / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_MUSIC_DIR=\"" + music.Path() + "\"\n");
    EXPECT_EQ(MusicFolder(), music.Path());
    if (oldConfig) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_MUSIC_DIR");
}

TEST(MainRules, AnUpdaterThatCannotBeReplacedStaysForTheNextStart) {
    wb::TempDir dir;
    EXPECT_FALSE(FinishDownloadedUpdate(dir.Path()));  // nothing downloaded
    WriteBytes(dir / "Newupd.exe", "new");
    fs::create_directories(dir / "Update.exe/busy");  // a folder in the way
    auto problem = FinishDownloadedUpdate(dir.Path());
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("Update.exe"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "Newupd.exe"), "new");
}

} // namespace
