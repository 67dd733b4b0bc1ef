#include "effects_workbench/AboutQuellin.h"

#include <cmath>

#include "platform/gui/Canvas.h"

namespace sonafex {

using namespace wb::gui;

namespace {

// A speaker cone with three sound arcs.
void PaintIcon(Canvas& c, int w, int h) {
    c.Brush().Color = RGBColor(30, 60, 120);
    c.FillRect({0, 0, w, h});
    c.Pen().Color = clWhite;
    c.Brush().Color = RGBColor(230, 230, 240);
    c.Polygon({{8, h / 2 - 8}, {18, h / 2 - 8}, {30, h / 2 - 20}, {30, h / 2 + 20}, {18, h / 2 + 8}, {8, h / 2 + 8}});
    c.Pen().Color = RGBColor(120, 230, 160);
    for (int r = 10; r <= 26; r += 8) {
        for (int a = -50; a < 50; ++a) {
            const double t = a * 3.14159265 / 180;
            const int x = 32 + static_cast<int>(r * std::cos(t));
            const int y = h / 2 + static_cast<int>(r * std::sin(t));
            if (a == -50) c.MoveTo(x, y);
            else c.LineTo(x, y);
        }
    }
}

} // namespace

TAboutBox::TAboutBox()
    : Form(nullptr, FormKind::Dialog),
      Panel1(*this, "Panel1", BevelStyle::Lowered),
      ProgramIcon(*this, "ProgramIcon"),
      ProductName(*this, "ProductName", "Sonafex"),
      Version(*this, "Version", "Fizzlor - DEMO, version 1.0"),
      Copyright(*this, "Copyright", "Effects workbench for 16 bit mono WAVE files"),
      Comments(*this, "Comments",
               "Distortions, lo-fi resampling, gain, normalizing,\n"
               "peak and RMS measurement, stereo to mono,\n"
               "with one step of undo and redo."),
      OKButton(*this, "OKButton", "OK") {
    SetName("AboutBox");
    SetCaption("About");
    SetClientSize(340, 218);
    SetSingleBorder(false);
    SetFont("MS Sans Serif", 11);
    Panel1->SetBounds(8, 8, 324, 162);
    ProgramIcon->SetBounds(18, 18, 64, 64);
    ProgramIcon->OnPaint = PaintIcon;
    ProductName->SetFont(20, true);
    ProductName->SetBounds(96, 22, 180, 26);
    Version->SetBounds(96, 54, 180, 16);
    Copyright->SetBounds(18, 94, 306, 16);
    Comments->SetBounds(18, 114, 306, 48);
    OKButton->SetOkGlyph();
    OKButton->SetBounds(132, 180, 76, 28);
    OKButton->OnClick = [this](wb::Persistent*) { SetModalResult(1); };
}

} // namespace sonafex
