// The main window's "Info / Update" tab: the picture, the version, the
// author's links and the live update.
#include "tag_editor/windows/Main.h"

#include <memory>

#include "platform/gui/Cursors.h"
#include "tag_editor/windows/Lupdate.h"
#include "tag_editor/controls/decoration/VCLUtils.h"
#include "tag_editor/controls/decoration/VerView.h"
#include "tag_editor/controls/decoration/VlLabel.h"
#include "tag_editor/controls/pictures/VlPictures.h"
#include "tag_editor/controls/decoration/VlPictureView.h"
#include "tag_editor/controls/filesystem/VlShell.h"

namespace velmora {

using namespace wb::gui;

namespace {

const char kMailLink[] = "mailto:velmora@example.org";
const char kWebLink[] = "https://example.org/velmora/";

} // namespace

void TID3Frm::BuildInfoTab() {
    TabSheet* t = InfoTab;
    Image1 = Make<wb::gui::Image>(t, "Image1");
    Image1->SetBounds(12, 12, 128, 128);
    // The picture is GIF data of our own, read by the GIF image class.
    auto gif = std::make_shared<TGIFImage>();
    LoadInfoPicture(*gif);
    const Bitmap picture = ToImage(gif->Bitmap(), gif->Frames(0).TransparentColor);
    Image1->OnPaint = [picture](Canvas& c, int w, int h) { c.StretchDraw({0, 0, w, h}, picture); };
    ProgramLabel = MakeLabel(t, "ProgramLabel", "Velmora - the MP3 tag editor", 156, 14);
    ProgramLabel->SetFont(18, true);
    VersionView = Make<TVersionView>(t, "VersionView");
    VersionView->SetAutoSize(false);  // its text is built after the caption it sizes to
    VersionView->SetBounds(156, 44, 360, 20);
    VersionView->Refresh();
    // Links: a hand over them, the fly-by colour while the mouse is there.
    RegisterVlCursors();
    auto link = [&](Child<TVlLabel>& label, const char* name, const char* text, int top) {
        label = Make<TVlLabel>(t, name);
        label->SetCaption(text);
        label->SetTextStyle(tsNormal);
        label->SetTransparent(true);
        TFont f = label->Font();
        f.Color = clBlue;
        f.Style = fsUnderline;
        label->SetFont(f);
        label->SetFlyByColor(clRed);
        label->SetFlyByEnabled(true);
        label->SetLeft(156);
        label->SetTop(top);
        SetControlCursor(*label, crVlHand);
    };
    link(VlLabel1, "VlLabel1", "Write to the author: velmora@example.org", 72);
    link(VlLabel2, "VlLabel2", "Velmora on the web: example.org/velmora", 96);
    SpeedButton1 = MakeButton(t, "SpeedButton1", "Live &Update", 156, 130, 130);
}

void TID3Frm::ConnectInfoTab() {
    OnClickCall(VlLabel1, &TID3Frm::VlLabel1Click);
    OnClickCall(VlLabel2, &TID3Frm::VlLabel2Click);
    OnClickCall(SpeedButton1, &TID3Frm::SpeedButton1Click);
}

TLUpdateFrm& TID3Frm::LiveUpdate() {
    if (windows_.LiveUpdate) return *windows_.LiveUpdate;
    if (!ownLiveUpdate_) ownLiveUpdate_ = std::make_unique<TLUpdateFrm>();
    return *ownLiveUpdate_;
}

void TID3Frm::VlLabel1Click() {
    if (TVlShell::Open) TVlShell::Open(kMailLink);
}

void TID3Frm::VlLabel2Click() {
    if (TVlShell::Open) TVlShell::Open(kWebLink);
}

void TID3Frm::SpeedButton1Click() {
    TLUpdateFrm& update = LiveUpdate();
    VersionView->Refresh();
    if (!VersionView->VersionNumber.empty()) update.ProgramVersion = VersionView->VersionNumber;
    update.ShowModal();
}

} // namespace velmora
