#include "tag_editor/windows/Choose.h"

using namespace wb::gui;

namespace velmora {

namespace {
constexpr TColor kHeaderColor = 0x00A4E8F9;
constexpr int kOk = 1;
}

TChooseFrm::TChooseFrm(wb::Component* owner)
    : Form(owner, FormKind::Dialog),
      ChooseGrd(*this, "ChooseGrd"),
      Label1(*this, "Label1", "Will take first entry in :"),
      Label2(*this, "Label2", "seconds."),
      CounterPanel(*this, "CounterPanel", "5"),
      OKBtn(*this, "OKBtn", "OK"),
      Timer1(this) {
    SetName("ChooseFrm");
    SetCaption("Choose a match");
    SetClientSize(584, 262);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);

    TVlSortGrid& g = *ChooseGrd;
    g.SetColCount(4);
    g.SetRowCount(2);
    g.SetFixedRows(1);
    g.SetFixedCols(0);
    g.SetDefaultRowHeight(17);
    const int widths[] = {190, 202, 85, 70};
    for (int c = 0; c < 4; ++c) g.SetColWidths(c, widths[c]);
    g.SetOptions(g.Options() | goRowSelect);
    g.SetScrollBars(ssVertical);
    ChooseGrd->SetBounds(8, 8, 568, 204);
    g.SetOnGetCellFormat([this](TVlSortGrid* s, int c, int r, TGridDrawState st, TFormatOptions& fo) {
        ChooseGrdGetCellFormat(s, c, r, st, fo);
    });
    g.OnClick = [this](wb::Persistent*) { ChooseGrdClick(); };
    g.OnDblClick = [this](wb::Persistent*) { ChooseGrdDblClick(); };

    Label1->SetBounds(8, 228, 150, 18);
    CounterPanel->SetBounds(160, 222, 70, 28);
    CounterPanel->SetFont(clRed, true);
    CounterPanel->SetEdge(Panel::Edge::Lowered);
    Label2->SetBounds(238, 228, 60, 18);
    OKBtn->SetOkGlyph();
    OKBtn->SetDefault(true);
    OKBtn->SetBounds(492, 222, 84, 30);
    OKBtn->OnClick = [this](wb::Persistent*) { SetModalResult(kOk); };

    Timer1.SetEnabled(false);
    Timer1.SetInterval(1000);
    Timer1.OnTimer = [this](wb::Persistent*) { Timer1Timer(); };
    OnShow = [this](wb::Persistent*) { FormShow(); };
    OnClose = [this](wb::Persistent*) { FormClose(); };
}

int TChooseFrm::ChooseMatch(const std::vector<TCddbMatch>& matches) {
    TVlSortGrid& g = *ChooseGrd;
    g.ClearGrid();
    g.SetRowCount(static_cast<int>(matches.size()) + 1);
    const char* headers[] = {"Artist", "Album", "Genre", "ID"};
    for (int c = 0; c < 4; ++c) g.SetCells(c, 0, headers[c]);
    for (size_t i = 0; i < matches.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        g.SetCells(0, r, matches[i].Artist);
        g.SetCells(1, r, matches[i].Album);
        g.SetCells(2, r, matches[i].Genre);
        g.SetCells(3, r, matches[i].ID);
    }
    g.SetRow(1);
    ShowModal();
    return g.Row();
}

void TChooseFrm::FormShow() {
    ChooseCountdown = 5;
    CounterPanel->SetCaption("5");
    Timer1.SetEnabled(true);
    ChooseGrd->SetFocus();
}

void TChooseFrm::Timer1Timer() {
    if (ChooseCountdown <= 1) {
        Timer1.SetEnabled(false);
        Close();
        return;
    }
    --ChooseCountdown;
    CounterPanel->SetCaption(std::to_string(ChooseCountdown));
}

void TChooseFrm::ChooseGrdClick() {
    if (!Timer1.Enabled()) return;
    Timer1.SetEnabled(false);
    CounterPanel->SetCaption("waiting");
}

void TChooseFrm::ChooseGrdDblClick() { Close(); }

void TChooseFrm::FormClose() { Timer1.SetEnabled(false); }

void TChooseFrm::ChooseGrdGetCellFormat(TVlSortGrid*, int, int row, TGridDrawState, TFormatOptions& fo) {
    if (row == 0) {
        fo.Brush->Color = kHeaderColor;
        fo.AlignmentHorz = taCenter;
    }
}

} // namespace velmora
