// The tag-list editor driven as a user drives it, and the main window's
// tag-list grid filled from list files.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <tuple>

#include "tag_editor/logic/tests/TestFiles.h"
#include "platform/base/CodePage.h"
#include "platform/base/TempDir.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/Screens.h"
#include "tag_editor/logic/TagCodec.h"
#include "tag_editor/windows/EditTag.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

class EditTagTest : public testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TEditTagListFrm>();
        form->SetTagsFolder(tags.Path());
        form->Show();
        QApplication::setActiveWindow(form->Window());
        form->EditGrid->SetFocus();
        QApplication::processEvents();
    }
    TVlSortGrid& Grid() { return *form->EditGrid; }
    QLineEdit* Editor() { return Grid().Widget()->findChild<QLineEdit*>(); }
    // Types into the current cell's editor, then presses Enter.
    void Type(const std::string& text) {
        ASSERT_TRUE(Grid().EditorMode());
        QTest::keyClicks(Editor(), QString::fromStdString(text));
    }
    void Enter() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(Editor(), &press);
    }
    std::vector<std::string> Column(int col) {
        std::vector<std::string> out;
        for (int r = 0; r < Grid().RowCount(); ++r) out.push_back(Grid().Cells(col, r));
        return out;
    }
    using Cells = std::vector<std::string>;
    // Opens the list file `name`, holding `bytes`, for editing.
    void Load(const std::string& name, const std::string& bytes) {
        WriteBytes(tags / name, bytes);
        form->SetEditMode(true, tags / name);
        form->FormShow();
    }

    // The application comes first: the driver's timer needs it.
    QApplication& app = wb::gui::test::App("Velmora");
    wb::TempDir tags;
    wb::gui::test::ModalDriver driver;
    std::unique_ptr<TEditTagListFrm> form;
};

TEST_F(EditTagTest, EnterWalksTheAlbumGridAndOkWritesTheList) {
    form->ArtistListEdit->SetText("A");
    form->AlbumListEdit->SetText("B");
    form->CommentListEdit->SetText("C");
    QTest::keyClicks(form->YearListEdit->Widget(), "19x9-9");
    EXPECT_EQ(form->YearListEdit->Text(), "1999");
    std::vector<std::string> genres = form->GenreCombo->Items();
    form->GenreCombo->SetItemIndex(int(std::find(genres.begin(), genres.end(), "Rock") - genres.begin()));
    for (const char* title : {"One", "Two", "Three"}) {
        Type(title);
        Enter();
    }
    // The last Enter appended row 04; a click elsewhere drops it again.
    EXPECT_EQ(Column(0), (Cells{"Tracknumber", "01", "02", "03", "04"}));
    Grid().FocusCell(1, 1);
    Grid().Click();
    EXPECT_EQ(Column(0), (Cells{"Tracknumber", "01", "02", "03"}));
    EXPECT_EQ(Column(1), (Cells{"Songname", "One", "Two", "Three"}));

    form->OkBtn->Click();
    EXPECT_EQ(form->ModalResult(), 1);
    EXPECT_EQ(ReadBytes(tags / "A - B.Tag"), "Album\r\nA\r\nB\r\nC\r\n1999\r\nRock\r\n4\r\nOne\r\nTwo\r\nThree\r\n");
}

TEST_F(EditTagTest, SamplerEnterGoesArtistTitleNextArtist) {
    form->SamplerGrp->Click();
    EXPECT_FALSE(form->ArtistListEdit->Enabled());
    form->AlbumListEdit->SetText("Hits");
    for (const char* cell : {"Artist 1", "Title 1", "Artist 2", "Title 2"}) {
        Type(cell);
        Enter();
    }
    EXPECT_EQ(Grid().Col(), 1);
    EXPECT_EQ(Grid().Row(), 3);
    Grid().FocusCell(2, 2);
    Grid().Click();
    EXPECT_EQ(Column(0), (Cells{"Tracknumber", "01", "02"}));
    EXPECT_EQ(Column(1), (Cells{"Artist", "Artist 1", "Artist 2"}));
    EXPECT_EQ(Column(2), (Cells{"Songname", "Title 1", "Title 2"}));
    form->OkBtn->Click();
    EXPECT_EQ(ReadBytes(tags / "Hits (Sampler).Tag"),
              "Sampler\r\nHits\r\n\r\n\r\n\r\n3\r\nArtist 1\r\nTitle 1\r\nArtist 2\r\nTitle 2\r\n");
}

TEST_F(EditTagTest, FirstRowNeverVanishes) {
    Enter();
    Enter();
    EXPECT_EQ(Grid().RowCount(), 4);
    Grid().FocusCell(1, 1);
    Grid().Click();
    EXPECT_EQ(Grid().RowCount(), 2);
    Grid().FocusCell(1, 1);
    Grid().Click();
    EXPECT_EQ(Grid().RowCount(), 2);
}

TEST_F(EditTagTest, SwitchingLayoutsMovesTitlesAndDropsArtists) {
    Grid().SetCells(1, 1, "Song");
    form->SamplerGrp->Click();
    EXPECT_EQ(Column(1), (Cells{"Artist", ""}));
    EXPECT_EQ(Column(2), (Cells{"Songname", "Song"}));
    Grid().SetCells(1, 1, "Singer");
    form->AlbumGrp->Click();
    EXPECT_TRUE(form->ArtistListEdit->Enabled());
    EXPECT_EQ(Grid().ColCount(), 2);
    EXPECT_EQ(Column(1), (Cells{"Songname", "Song"}));
    // A click on the layout already shown changes nothing.
    form->AlbumGrp->Click();
    EXPECT_EQ(Column(1), (Cells{"Songname", "Song"}));
}

TEST_F(EditTagTest, CapitalizeLeavesYearAndGenreAlone) {
    form->SamplerGrp->Click();
    form->AlbumListEdit->SetText("the BEST hits");
    form->CommentListEdit->SetText("AC/DC rules");
    form->YearListEdit->SetText("2001");
    form->GenreCombo->SetItemIndex(3);
    std::string genre = form->GenreCombo->Text();
    Grid().SetCells(1, 1, "rock-n-ROLL band");
    Grid().SetCells(2, 1, "tHE song");
    Grid().FocusCell(2, 1);
    Grid().SetEditorMode(true);
    form->BitBtn1->Click();
    EXPECT_EQ(Editor()->text().toStdString(), "The Song") << "the open editor shows the new text";
    EXPECT_EQ(form->AlbumListEdit->Text(), "The Best Hits");
    EXPECT_EQ(form->CommentListEdit->Text(), "Ac/dc Rules");
    EXPECT_EQ(form->YearListEdit->Text(), "2001");
    EXPECT_EQ(form->GenreCombo->Text(), genre);
    EXPECT_EQ(Column(1), (Cells{"Artist", "Rock-n-roll Band"}));
    EXPECT_EQ(Column(2), (Cells{"Songname", "The Song"}));
}

TEST_F(EditTagTest, EditModeLoadsTheListAndAnEmptyAlbumWritesNothing) {
    Load("x.Tag", "album\r\nHits\r\nnote\r\n2001\r\nPop\r\n3\r\na1\r\nt1\r\na2\r\nt2\r\n");
    EXPECT_TRUE(form->SamplerGrp->Checked());
    EXPECT_FALSE(form->ArtistListEdit->Enabled());
    EXPECT_EQ(form->AlbumListEdit->Text(), "Hits");
    EXPECT_EQ(form->YearListEdit->Text(), "2001");
    EXPECT_EQ(form->GenreCombo->Text(), "Pop");
    EXPECT_EQ(Column(0), (Cells{"Tracknumber", "01", "02"}));
    EXPECT_EQ(Column(1), (Cells{"Artist", "a1", "a2"}));
    EXPECT_EQ(Column(2), (Cells{"Songname", "t1", "t2"}));

    form->SetEditMode(false);
    form->FormShow();
    EXPECT_EQ(form->AlbumListEdit->Text(), "");
    EXPECT_EQ(form->GenreCombo->ItemIndex(), -1);
    EXPECT_EQ(Column(2), (Cells{"Songname", ""}));
    form->OkBtn->Click();
    EXPECT_EQ(form->ModalResult(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(tags.Path()), {}), 1);
}

// Typing limits apply to typing: a loaded value is shown and saved whole,
// so OK writes the list back under its own name, and nothing beside it.
TEST_F(EditTagTest, LoadedValuesAreShownAndSavedWhole) {
    const std::string artist(33, 'a'), album = "An Album Whose Name Is 34 Letters!", comment(40, 'c');
    const std::string bytes = "Album\r\n" + artist + "\r\n" + album + "\r\n" + comment + "\r\n12345\r\nRock\r\n2\r\nx\r\n";
    const std::string name = artist + " - " + album + ".Tag";
    Load(name, bytes);
    EXPECT_EQ(form->ArtistListEdit->Text(), artist);
    EXPECT_EQ(form->AlbumListEdit->Text(), album);
    EXPECT_EQ(form->CommentListEdit->Text(), comment);
    EXPECT_EQ(form->YearListEdit->Text(), "12345");
    form->OkBtn->Click();
    EXPECT_EQ(ReadBytes(tags / name), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(tags.Path()), {}), 1);

    // A new list types within the limits again.
    form->SetEditMode(false);
    form->FormShow();
    QTest::keyClicks(form->AlbumListEdit->Widget(), QString(40, 'n'));
    QTest::keyClicks(form->YearListEdit->Widget(), "123456");
    EXPECT_EQ(form->AlbumListEdit->Text(), std::string(30, 'n'));
    EXPECT_EQ(form->YearListEdit->Text(), "1234");
}

// The genre line is matched as Autotag matches it: without regard to case.
TEST_F(EditTagTest, TheGenreLineChoosesItsGenreWhateverItsCase) {
    for (auto [line, shown] : {std::pair{"rock", "Rock"}, {"JAZZ+funk", "Jazz+Funk"}, {"Rock", "Rock"},
                               {"Rocks", ""}, {"", ""}}) {
        Load("g.Tag", "Album\r\nA\r\nB\r\n\r\n\r\n" + std::string(line) + "\r\n2\r\nx\r\n");
        EXPECT_EQ(form->GenreCombo->ItemIndex() < 0 ? "" : form->GenreCombo->Text(), shown) << line;
        EXPECT_EQ(GenreNumber(form->CurrentList().Genre), GenreNumber(line)) << line;
    }
}

TEST_F(EditTagTest, MalformedListLeavesTheEditorEmpty) {
    form->AlbumListEdit->SetText("typed before");
    WriteBytes(tags / "bad.Tag", "Album\r\nA\r\nB\r\n\r\n\r\n\r\nlots\r\n");
    form->SetEditMode(true, tags / "bad.Tag");
    EXPECT_THROW(form->FormShow(), TagListError);
    EXPECT_EQ(form->AlbumListEdit->Text(), "");
    EXPECT_EQ(Grid().RowCount(), 2);
}

TEST_F(EditTagTest, AFailedWriteKeepsTheDialogOpen) {
    form->SetTagsFolder(tags / "missing");
    form->ArtistListEdit->SetText("A");
    form->AlbumListEdit->SetText("B");
    form->OkBtn->Click();
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].title, "Velmora");
    EXPECT_NE(driver.Messages()[0].text.find("A - B.Tag"), std::string::npos) << driver.Messages()[0].text;
    EXPECT_EQ(form->ModalResult(), 0);
    EXPECT_EQ(form->AlbumListEdit->Text(), "B");
}

// Both kinds of list pictured, each showing its album's name in its box;
// the grid's header and its number column in their colours.
TEST_F(EditTagTest, Screenshots) {
    for (auto [bytes, name, album] :
         {std::tuple{"Album\r\nSome Artist\r\nSome Album\r\nA comment\r\n1999\r\nRock\r\n4\r\n"
                     "First Song\r\nSecond Song\r\nThird Song\r\n", "album", 40},
          std::tuple{"Sampler\r\nHits\r\n\r\n2001\r\nPop\r\n3\r\nArtist 1\r\nTitle 1\r\nArtist 2\r\nTitle 2\r\n",
                     "sampler", 12}}) {
        Load(std::string(name) + ".Tag", bytes);
        QApplication::processEvents();
        const QImage shot = wb::gui::test::Screenshot(*form, std::string("velmora-taglist-editor-") + name);
        EXPECT_GE(wb::gui::test::InkColumns(wb::gui::test::BoxOf(shot, *form, *form->AlbumListEdit, 3)), album) << name;
        const QImage grid = wb::gui::test::BoxOf(shot, *form, *form->EditGrid);
        using Cell = std::tuple<int, int, wb::gui::TColor>;
        for (auto [col, row, colour] :
             {Cell{0, 0, 0x00A4E8F9}, Cell{1, 0, 0x00A4E8F9}, Cell{0, 1, 0x0086EA9F}, Cell{1, 1, wb::gui::clWindow}}) {
            const auto cell = form->EditGrid->CellRect(col, row);
            EXPECT_EQ(grid.pixel(cell.left + 2, cell.top + 2) | 0xFF000000u, wb::gui::ToQRgb(colour))
                << name << " " << col << "," << row;
        }
    }
}

struct GridRow {
    std::string name;
    std::vector<std::string> files;
    int rowBefore;
    std::vector<std::string> artists, albums;  // rows below the header
    int rowAfter;
};

class TagListGridTest : public testing::TestWithParam<GridRow> {};

TEST_P(TagListGridTest, ListsEveryFileSortedByArtist) {
    wb::gui::test::App("Velmora");
    const GridRow& row = GetParam();
    TVlSortGrid grid;
    SetUpTagListGrid(grid);
    grid.SetRowCount(6);
    grid.SetRow(row.rowBefore);
    FillTagListGrid(grid, "/lists", row.files);
    std::vector<std::string> artists, albums;
    for (int r = 1; r < grid.RowCount(); ++r) {
        artists.push_back(grid.Cells(0, r));
        albums.push_back(grid.Cells(1, r));
        std::string path = TagListPathAt(grid, r);
        if (path.empty()) continue;
        EXPECT_NE(std::find(row.files.begin(), row.files.end(), path.substr(strlen("/lists/"))), row.files.end());
        EXPECT_EQ(GridNamesOfTagList(wb::ShowableUtf8(path.substr(strlen("/lists/")))).Album, grid.Cells(1, r));
    }
    EXPECT_EQ(grid.Cells(0, 0) + "|" + grid.Cells(1, 0) + "|" + grid.Cells(2, 0), "Artist|Album| ");  // the header stays
    EXPECT_EQ(artists, row.artists);
    EXPECT_EQ(albums, row.albums);
    EXPECT_EQ(grid.Row(), row.rowAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, TagListGridTest,
    testing::Values(GridRow{"NoListLeavesOneEmptyRow", {}, 3, {""}, {""}, 1},
                    GridRow{"SortedCaseBlind", {"b - Two.Tag", "Hits (Sampler).Tag", "A - One.Tag"}, 2,
                            {"(Sampler)", "A", "b"}, {"Hits ", "One", "Two"}, 2},
                    GridRow{"ShorterGridTakesTheLastRow", {"A - One.Tag", "B - Two.Tag"}, 5, {"A", "B"}, {"One", "Two"}, 2},
                    GridRow{"DashBeforeSampler", {"Best - Of (Sampler).Tag"}, 1, {"Best"}, {"Of (Sampler)"}, 1},
                    // Shown as text; the path keeps the bytes on disk.
                    GridRow{"NameNotUtf8", {"Caf\xe9 D\xed" "as (Sampler).Tag"}, 1, {"(Sampler)"},
                            {"Caf\ufffd D\ufffdas "}, 1}),
    [](const auto& info) { return info.param.name; });

} // namespace
