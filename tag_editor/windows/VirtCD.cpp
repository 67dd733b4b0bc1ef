#include "tag_editor/windows/VirtCD.h"

#include "platform/base/IoError.h"
#include "platform/gui/MessageBox.h"
#include "tag_editor/logic/NamePatterns.h"
#include "tag_editor/logic/TagCodec.h"

using namespace wb::gui;

namespace velmora {

namespace {
constexpr TColor kHeaderColor = 0x00F9D588;
constexpr TColor kNumberColor = 0x00CAFFCD;
constexpr int kOk = 1, kCancel = 2;

// The two 13 x 13 pictures: an empty box for "not used", a ticked one for "used".
void DrawUseBox(Canvas& canvas, int x, int y, bool used) {
    canvas.Pen() = {clGray, 1, PenStyle::Solid};
    canvas.Brush() = {clWindow, BrushStyle::Solid};
    canvas.Rectangle(x, y, x + 13, y + 13);
    if (!used) return;
    canvas.Pen() = {clBlack, 2, PenStyle::Solid};
    canvas.Polyline({{x + 3, y + 6}, {x + 5, y + 9}, {x + 10, y + 3}});
}

int DurationOf(const std::string& path) {
    try {
        return ReadTag(path).Mpeg.Duration;
    } catch (const wb::IoError&) {
        return 0;
    }
}
} // namespace

TVirtualCD::TVirtualCD(std::function<void(const TDiskInfoRec&)> addRequest, wb::Component* owner)
    : Form(owner, FormKind::Dialog),
      FileList(*this, "FileList"),
      Label1(*this, "Label1", "Total CD-Tracks :"),
      TrackPanel(*this, "TrackPanel", "0"),
      CreateBtn(*this, "CreateBtn", "Create CDDB-&Req."),
      CancelBtn(*this, "CancelBtn", "&Cancel"),
      UnChkBtn(*this, "UnChkBtn", "&Uncheck all"),
      ChkBtn(*this, "ChkBtn", "Check &all"),
      addRequest_(std::move(addRequest)) {
    SetName("VirtualCD");
    SetCaption("Create virtual CD for CDDB request");
    SetClientSize(432, 330);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);

    TVlSortGrid& g = *FileList;
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetFixedRows(1);
    g.SetFixedCols(0);
    g.SetDefaultRowHeight(18);
    const int widths[] = {37, 33, 327};
    for (int c = 0; c < 3; ++c) g.SetColWidths(c, widths[c]);
    TFont font = g.Font();
    font.Style |= fsBold;
    g.SetFont(font);
    g.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    g.SetScrollBars(ssVertical);
    FileList->SetBounds(8, 8, 416, 256);
    g.SetOnGetCellFormat([this](TVlSortGrid* s, int c, int r, TGridDrawState st, TFormatOptions& fo) {
        FileListGetCellFormat(s, c, r, st, fo);
    });
    g.OnDrawCell = [this](StringGrid*, int c, int r, const Rect& rect, TGridDrawState) { FileListDrawCell(c, r, rect); };
    g.OnMouseDown = [this](wb::Persistent*, TMouseButton, TShiftState, int, int) { FileListMouseDown(); };
    g.OnMouseUp = [this](wb::Persistent*, TMouseButton, TShiftState, int, int) { FileListMouseUp(); };

    Label1->SetBounds(8, 280, 110, 18);
    TrackPanel->SetBounds(120, 274, 44, 26);
    TrackPanel->SetEdge(Panel::Edge::Lowered);
    TrackPanel->SetFont(clWindowText, true);
    UnChkBtn->SetBounds(176, 272, 120, 28);
    ChkBtn->SetBounds(304, 272, 120, 28);
    CreateBtn->SetBounds(176, 300 + 2, 120, 26);
    CancelBtn->SetBounds(304, 300 + 2, 120, 26);
    CreateBtn->SetDefault(true);
    UnChkBtn->OnClick = [this](wb::Persistent*) { UnChkBtnClick(); };
    ChkBtn->OnClick = [this](wb::Persistent*) { ChkBtnClick(); };
    CreateBtn->OnClick = [this](wb::Persistent*) { CreateBtnClick(); };
    CancelBtn->OnClick = [this](wb::Persistent*) { SetModalResult(kCancel); };
    FormCreate();
}

void TVirtualCD::FormCreate() {
    TVlSortGrid& g = *FileList;
    g.SetCells(0, 0, "Track");
    g.SetCells(1, 0, "Use");
    g.SetCells(2, 0, "Filename");
}

void TVirtualCD::FillList(const std::string& folder, const std::vector<std::string>& files) {
    folder_ = folder;
    std::vector<int> tracks, durations;
    for (const auto& name : files) {
        TTagInfo tag;
        try {
            tag = ReadTag(InFolder(folder, name));
        } catch (const wb::IoError&) {
            // Unreadable: no track number, so file-name order.
        }
        tracks.push_back(tag.HasTag ? tag.Track : 0);
        durations.push_back(tag.Mpeg.Duration);
    }
    TVirtualList list = BuildVirtualList(files, tracks, durations);
    TVlSortGrid& g = *FileList;
    g.SetRowCount(static_cast<int>(list.Rows.size()) + 1 < 2 ? 2 : static_cast<int>(list.Rows.size()) + 1);
    for (size_t i = 0; i < list.Rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        g.SetCells(1, r, list.Rows[i].Used ? "1" : "0");
        g.SetCells(2, r, list.Rows[i].FileName);
    }
    g.SetCells(2, 0, list.ByTrackNumber ? "Filename (sorted by ID3-Tag trackentry)" : "Filename (sorted by filename)");
    if (g.RowCount() > 13) g.SetColWidths(2, 310);
    NumberTracks();
}

void TVirtualCD::FileListGetCellFormat(TVlSortGrid*, int col, int row, TGridDrawState, TFormatOptions& fo) {
    if (col <= 1) fo.AlignmentHorz = taCenter;
    if (row == 0) fo.Brush->Color = kHeaderColor;
    else if (col == 0) fo.Brush->Color = kNumberColor;
    // The picture stands for the cell's "1" or "0".
    if (col == 1 && row > 0) fo.HideText = true;
}

void TVirtualCD::FileListDrawCell(int col, int row, const Rect& rect) {
    if (col != 1 || row == 0) return;
    DrawUseBox(FileList->GridCanvas(), rect.left + 9, rect.top + 3, FileList->Cells(1, row) == "1");
}

void TVirtualCD::FileListMouseDown() { MouseWasDown = true; }

void TVirtualCD::FileListMouseUp() {
    if (!MouseWasDown) return;
    MouseWasDown = false;
    TVlSortGrid& g = *FileList;
    // A row that no file claimed has nothing to use.
    if (g.Col() != 1 || g.Row() < 1 || g.Cells(2, g.Row()).empty()) return;
    g.SetCells(1, g.Row(), g.Cells(1, g.Row()) == "1" ? "0" : "1");
    NumberTracks();
}

void TVirtualCD::CheckAll(const char* mark) {
    TVlSortGrid& g = *FileList;
    for (int r = 1; r < g.RowCount(); ++r)
        if (!g.Cells(2, r).empty()) g.SetCells(1, r, mark);
    NumberTracks();
}

void TVirtualCD::UnChkBtnClick() { CheckAll("0"); }

void TVirtualCD::ChkBtnClick() { CheckAll("1"); }

void TVirtualCD::NumberTracks() {
    TVlSortGrid& g = *FileList;
    TVirtualList list;
    for (int r = 1; r < g.RowCount(); ++r) list.Rows.push_back({g.Cells(2, r), g.Cells(1, r) == "1", 0});
    const auto numbers = list.Numbers();
    for (size_t i = 0; i < numbers.size(); ++i) g.SetCells(0, static_cast<int>(i) + 1, numbers[i]);
    TrackPanel->SetCaption(std::to_string(list.UsedCount()));
}

void TVirtualCD::CreateBtnClick() {
    TVlSortGrid& g = *FileList;
    TVirtualList list;
    for (int r = 1; r < g.RowCount(); ++r) {
        const std::string name = g.Cells(2, r);
        const bool used = g.Cells(1, r) == "1" && !name.empty();
        list.Rows.push_back({name, used, used ? DurationOf(InFolder(folder_, name)) : 0});
    }
    if (list.UsedCount() == 0) {
        ShowMessage(kNoVirtualTracksText, MsgKind::Error);
        return;
    }
    TDiskInfoRec disc;
    try {
        disc = list.Disc();
    } catch (const CddbError& e) {
        ShowMessage(e.what(), MsgKind::Error);
        return;
    }
    if (addRequest_) addRequest_(disc);
    SetModalResult(kOk);
}

} // namespace velmora
