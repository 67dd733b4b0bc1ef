#include "tag_editor/windows/EditTag.h"

#include <algorithm>

#include "platform/base/CodePage.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/ScopeExit.h"
#include "tag_editor/logic/NamePatterns.h"
#include "tag_editor/logic/TagCodec.h"

namespace velmora {

using namespace wb::gui;

namespace {

constexpr TColor kHeaderColor = 0x00A4E8F9;
constexpr TColor kTrackColor = 0x0086EA9F;
constexpr int kResultOk = 1, kResultCancel = 2;

std::string TrackText(int row) { return TwoDigitTrack(std::to_string(row)); }

// Typing limits of the boxes, as the tag's fields are long.
constexpr int kArtistLimit = 30, kAlbumLimit = 30, kYearLimit = 4, kCommentLimit = 28;

// The length a box counts: UTF-16 units.
int BoxLength(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++n;
        if (c >= 0xF0) ++n;
    }
    return n;
}

// Limits apply to typing: a loaded value is shown, and so saved, whole.
void ShowWhole(Edit& box, const std::string& text, int limit) {
    box.SetMaxLength(std::max(limit, BoxLength(text)));
    box.SetText(text);
}

} // namespace

std::string TagListFolder() {
    std::string folder = wb::BesideProgram("Tags");
    wb::MakeFolders(folder);
    return folder;
}

TEditTagListFrm::TEditTagListFrm()
    : Form(nullptr, FormKind::Dialog),
      AlbumGrp(*this, "AlbumGrp", "Album"),
      SamplerGrp(*this, "SamplerGrp", "Sampler"),
      ArtistLabel(*this, "ArtistLabel", "Artist :"),
      AlbumLabel(*this, "AlbumLabel", "Album Name :"),
      YearLabel(*this, "YearLabel", "Year :"),
      CommentLabel(*this, "CommentLabel", "Comment :"),
      GenreLabel(*this, "GenreLabel", "Genre :"),
      ArtistListEdit(*this, "ArtistListEdit"),
      AlbumListEdit(*this, "AlbumListEdit"),
      YearListEdit(*this, "YearListEdit"),
      CommentListEdit(*this, "CommentListEdit"),
      GenreCombo(*this, "GenreCombo"),
      EditGrid(*this, "EditGrid"),
      BitBtn1(*this, "BitBtn1", "Capitalize"),
      OkBtn(*this, "OkBtn", "&OK"),
      CancelBtn(*this, "CancelBtn", "&Cancel") {
    SetName("EditTagListFrm");
    SetCaption("Taglist Editor");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(544, 436);

    AlbumGrp->SetBounds(16, 12, 80, 20);
    SamplerGrp->SetBounds(110, 12, 90, 20);
    AlbumGrp->SetChecked(true);
    int y = 44;
    for (auto [label, edit] : {std::pair{ArtistLabel.get(), ArtistListEdit.get()}, {AlbumLabel.get(), AlbumListEdit.get()},
                               {YearLabel.get(), YearListEdit.get()}, {CommentLabel.get(), CommentListEdit.get()}}) {
        label->SetBounds(16, y + 3, 90, 17);
        edit->SetBounds(110, y, edit == YearListEdit.get() ? 50 : 220, 22);
        y += 28;
    }
    GenreLabel->SetBounds(16, y + 3, 90, 17);
    GenreCombo->SetBounds(110, y, 220, 22);
    ResetBoxes();
    GenreCombo->SetSorted(true);
    GenreCombo->SetItems(std::vector<std::string>(kGenreNames.begin(), kGenreNames.end()));
    GenreCombo->SetDropDownCount(11);
    GenreCombo->SetItemIndex(-1);

    EditGrid->SetBounds(16, y + 36, 512, 196);
    EditGrid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goEditing |
                         goAlwaysShowEditor);
    EditGrid->SetScrollBars(ssVertical);
    EditGrid->SetDefaultRowHeight(20);
    StartEmptyGrid(true);

    BitBtn1->SetBounds(16, 392, 96, 28);
    OkBtn->SetBounds(336, 392, 92, 28);
    CancelBtn->SetBounds(436, 392, 92, 28);
    OkBtn->SetOkGlyph();

    OnShow = [this](wb::Persistent*) { FormShow(); };
    AlbumGrp->OnClick = [this](wb::Persistent*) { AlbumGrpClick(); };
    SamplerGrp->OnClick = [this](wb::Persistent*) { SamplerGrpClick(); };
    OkBtn->OnClick = [this](wb::Persistent*) { OkBtnClick(); };
    CancelBtn->OnClick = [this](wb::Persistent*) { SetModalResult(kResultCancel); };
    BitBtn1->OnClick = [this](wb::Persistent*) { BitBtn1Click(); };
    YearListEdit->OnKeyPress = [this](wb::Persistent*, char& key) { YearListEditKeyPress(key); };
    EditGrid->OnKeyDown = [this](wb::Persistent*, int& key, TShiftState) { EditGridKeyPress(key); };
    EditGrid->OnSetEditText = [this](StringGrid*, int, int, const std::string&) { EditGridSetEditText(); };
    EditGrid->OnClick = [this](wb::Persistent*) { EditGridClick(); };
    EditGrid->SetOnGetCellFormat([this](TVlSortGrid*, int col, int row, TGridDrawState, TFormatOptions& f) {
        EditGridGetCellFormat(col, row, f);
    });
    tagsFolder_ = TagListFolder();
}

void TEditTagListFrm::SetEditMode(bool edit, const std::string& listPath) {
    editMode_ = edit;
    editPath_ = edit ? listPath : std::string();
}

void TEditTagListFrm::ResetBoxes() {
    for (auto [box, limit] : {std::pair{ArtistListEdit.get(), kArtistLimit}, {AlbumListEdit.get(), kAlbumLimit},
                              {YearListEdit.get(), kYearLimit}, {CommentListEdit.get(), kCommentLimit}})
        ShowWhole(*box, "", limit);
    GenreCombo->SetItemIndex(-1);
}

void TEditTagListFrm::ShowArtistBox(bool album) {
    ArtistListEdit->SetEnabled(album);
    ArtistListEdit->SetColor(album ? clWindow : clBtnFace);
}

void TEditTagListFrm::SetGridLayout(bool album) {
    TVlSortGrid& g = *EditGrid;
    g.SetColCount(album ? 2 : 3);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetColWidths(0, 90);
    g.SetCells(0, 0, "Tracknumber");
    if (album) {
        g.SetColWidths(1, 409);
        g.SetCells(1, 0, "Songname");
    } else {
        g.SetColWidths(1, 204);
        g.SetColWidths(2, 204);
        g.SetCells(1, 0, "Artist");
        g.SetCells(2, 0, "Songname");
    }
}

void TEditTagListFrm::StartEmptyGrid(bool album) {
    TVlSortGrid& g = *EditGrid;
    g.ClearGrid();
    g.SetRowCount(2);
    SetGridLayout(album);
    g.SetCells(0, 1, TrackText(1));
    g.FocusCell(1, 1);
}

void TEditTagListFrm::AppendRow() {
    TVlSortGrid& g = *EditGrid;
    g.SetRowCount(g.RowCount() + 1);
    g.SetCells(0, g.RowCount() - 1, TrackText(g.RowCount() - 1));
}

void TEditTagListFrm::DropEmptyEndRows() {
    TVlSortGrid& g = *EditGrid;
    const bool album = GridIsAlbum();
    int rows = RowCountWithoutEmptyEnd(g.RowCount(), g.Row(), [&](int r) {
        return g.CellText(1, r).empty() && (album || g.CellText(2, r).empty());
    });
    if (rows < g.RowCount()) g.SetRowCount(rows);
}

void TEditTagListFrm::FormShow() {
    if (editMode_) {
        LoadTagList(editPath_);
        return;
    }
    ResetBoxes();
    ShowArtistBox(AlbumGrp->Checked());
    StartEmptyGrid(AlbumGrp->Checked());
}

bool TEditTagListFrm::LoadTagList(const std::string& path) {
    ResetBoxes();
    // Read whole before anything is shown, so a malformed list leaves an
    // empty editor, not half of itself.
    TTagList list;
    {
        auto empty = wb::OnScopeFailure([&] { StartEmptyGrid(AlbumGrp->Checked()); });
        list = velmora::LoadTagList(path);
    }
    (list.Album ? AlbumGrp : SamplerGrp)->SetChecked(true);
    StartEmptyGrid(list.Album);
    ShowArtistBox(list.Album);
    ShowWhole(*ArtistListEdit, list.Artist, kArtistLimit);
    ShowWhole(*AlbumListEdit, list.AlbumName, kAlbumLimit);
    ShowWhole(*CommentListEdit, list.Comment, kCommentLimit);
    ShowWhole(*YearListEdit, list.Year, kYearLimit);
    // The genre is matched as Autotag matches it, without regard to case.
    const std::string genreName = GenreName(GenreNumber(list.Genre));
    std::vector<std::string> genres = GenreCombo->Items();
    int genre = -1;
    for (size_t i = 0; i < genres.size(); ++i)
        if (!genreName.empty() && genres[i] == genreName) genre = int(i);
    GenreCombo->SetItemIndex(genre);
    TVlSortGrid& g = *EditGrid;
    for (size_t k = 1; k <= list.Tracks.size(); ++k) {
        if (k >= 2) AppendRow();
        const TTagListTrack& t = list.Tracks[k - 1];
        if (list.Album) {
            g.SetCells(1, int(k), t.Title);
        } else {
            g.SetCells(1, int(k), t.Artist);
            g.SetCells(2, int(k), t.Title);
        }
    }
    g.FocusCell(1, 1);
    return true;
}

TTagList TEditTagListFrm::CurrentList() const {
    TTagList list;
    list.Album = AlbumGrp->Checked();
    if (list.Album) list.Artist = ArtistListEdit->Text();
    list.AlbumName = AlbumListEdit->Text();
    list.Comment = CommentListEdit->Text();
    list.Year = YearListEdit->Text();
    list.Genre = GenreCombo->ItemIndex() < 0 ? std::string() : GenreCombo->Text();
    const TVlSortGrid& g = *EditGrid;
    for (int r = 1; r < g.RowCount(); ++r) {
        if (list.Album) list.Tracks.push_back({"", g.Cells(1, r)});
        else list.Tracks.push_back({g.Cells(1, r), g.Cells(2, r)});
    }
    return list;
}

void TEditTagListFrm::AlbumGrpClick() {
    ShowArtistBox(true);
    if (GridIsAlbum()) return;
    TVlSortGrid& g = *EditGrid;
    for (int r = 1; r < g.RowCount(); ++r) g.SetCells(1, r, g.Cells(2, r));
    SetGridLayout(true);
}

void TEditTagListFrm::SamplerGrpClick() {
    ShowArtistBox(false);
    if (!GridIsAlbum()) return;
    SetGridLayout(false);
    TVlSortGrid& g = *EditGrid;
    for (int r = 1; r < g.RowCount(); ++r) {
        g.SetCells(2, r, g.Cells(1, r));
        g.SetCells(1, r, "");
    }
}

void TEditTagListFrm::OkBtnClick() {
    // A list that cannot be written keeps the dialog open, so nothing typed
    // is lost; the guard shows why.
    SaveTagList(tagsFolder_, CurrentList());
    SetModalResult(kResultOk);
}

void TEditTagListFrm::YearListEditKeyPress(char& key) {
    if ((key < '0' || key > '9') && key != '\b') key = 0;
}

void TEditTagListFrm::EditGridKeyPress(int& key) {
    if (key != VK_RETURN) return;
    TVlSortGrid& g = *EditGrid;
    GridStep step = EnterStep(GridIsAlbum(), g.Col(), g.Row(), g.RowCount());
    if (step.Append) AppendRow();
    g.FocusCell(step.Col, step.Row);
    key = 0;
}

void TEditTagListFrm::EditGridSetEditText() { DropEmptyEndRows(); }

void TEditTagListFrm::EditGridClick() { DropEmptyEndRows(); }

void TEditTagListFrm::EditGridGetCellFormat(int col, int row, TFormatOptions& format) {
    if (row == 0) format.Brush->Color = kHeaderColor;
    else if (col == 0) format.Brush->Color = kTrackColor;
    if (col == 0) format.AlignmentHorz = taCenter;
}

void TEditTagListFrm::BitBtn1Click() {
    for (Edit* e : {ArtistListEdit.get(), AlbumListEdit.get(), CommentListEdit.get()}) e->SetText(CapitalizeWords(e->Text()));
    TVlSortGrid& g = *EditGrid;
    for (int r = 1; r < g.RowCount(); ++r)
        for (int c = 1; c < g.ColCount(); ++c) g.SetCells(c, r, CapitalizeWords(g.Cells(c, r)));
}

void SetUpTagListGrid(TVlSortGrid& grid) {
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    grid.SetColWidths(0, 209);
    grid.SetColWidths(1, 198);
    grid.SetColWidths(2, 2);
    grid.SetDefaultRowHeight(18);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect);
    grid.SetScrollBars(ssVertical);
}

void FillTagListGrid(TVlSortGrid& grid, const std::string& folder, const std::vector<std::string>& fileNames) {
    const int remembered = grid.Row();
    grid.SetRowCount(fileNames.empty() ? 2 : int(fileNames.size()) + 1);
    grid.ClearGrid();
    grid.SetCells(0, 0, "Artist");
    grid.SetCells(1, 0, "Album");
    grid.SetCells(2, 0, " ");
    for (size_t i = 0; i < fileNames.size(); ++i) {
        TagListGridNames names = GridNamesOfTagList(wb::ShowableUtf8(fileNames[i]));
        int row = int(i) + 1;
        grid.SetCells(0, row, names.Artist);
        grid.SetCells(1, row, names.Album);
        grid.SetCells(2, row, InFolder(folder, fileNames[i]));
    }
    TSortOptions byArtist;
    byArtist.SortKind = skText;
    grid.SortColumn(0, byArtist);
    grid.SetRow(std::clamp(remembered, 1, grid.RowCount() - 1));
}

std::string TagListPathAt(const TVlSortGrid& grid, int row) {
    if (row < 1 || row >= grid.RowCount() || grid.ColCount() < 3) return {};
    return grid.Cells(2, row);
}

void FormatTagListGridCell(int /*col*/, int row, TFormatOptions& format) {
    if (row != 0) return;
    format.Brush->Color = kHeaderColor;
    format.AlignmentHorz = taCenter;
}

} // namespace velmora
