#include "effects_workbench/WarningOkno.h"

namespace sonafex {

using namespace wb::gui;

TWarningBox::TWarningBox()
    : Form(nullptr, FormKind::Dialog),
      Bevel1(*this, "Bevel1", BevelStyle::Raised),
      Label1(*this, "Label1", "WARNING!"),
      Label2(*this, "Label2", "Sonafex - DEMO  computes only 16 bit mono"),
      Label3(*this, "Label3", "files in Wave File Format. Stereo files can"),
      Label4(*this, "Label4", "be converted to mono by  using Channel Converter."),
      BitBtn1(*this, "BitBtn1", "OK") {
    SetName("WarningBox");
    SetCaption("Warning!");
    SetClientSize(392, 228);
    SetSingleBorder(false);
    SetAlwaysOnTop(true);
    SetFont("MS Sans Serif", 11);
    Bevel1->SetBounds(8, 8, 376, 166);
    Label1->SetFont(16, true, clRed);
    int y = 26;
    for (Label* l : {Label1.get(), Label2.get(), Label3.get(), Label4.get()}) {
        l->SetAutoSize(false);
        l->SetAlignment(TextAlign::Center);
        l->SetBounds(16, y, 360, l == Label1.get() ? 24 : 18);
        y += l == Label1.get() ? 40 : 22;
    }
    for (Label* l : {Label2.get(), Label3.get(), Label4.get()}) l->SetFont(13, false);
    BitBtn1->SetOkGlyph();
    BitBtn1->SetBounds(158, 186, 76, 28);
    BitBtn1->OnClick = [this](wb::Persistent*) { BitBtn1Click(); };
}

void TWarningBox::BitBtn1Click() { Close(); }

} // namespace sonafex
