#include "tag_editor/controls/filesystem/VlDriveComboBox.h"

#include "platform/gui/Guard.h"
#include "tag_editor/controls/filesystem/VlDirectoryListBox.h"

namespace velmora {

using namespace wb::gui;

TVlDriveComboBox::TVlDriveComboBox(wb::Component* owner) : TVlFramed(owner) {
    SetIconSize(16, 13);
    // The drives' items keep the style's look: icon, then label.
    SetOwnerDraw(true);
    FillDriveList();
}

TVlDriveComboBox::TVlDriveComboBox(WinControl& parent, const std::string& name) : TVlDriveComboBox(&parent) {
    Place(parent, name);
}

TVlDriveComboBox::~TVlDriveComboBox() = default;

std::string TVlDriveComboBox::VolumeLabel(const std::string& root) {
    auto info = wb::Volumes()->Info(root);
    if (!info || info->label.empty()) return {};
    return CapitalizedLabel(info->label);
}

std::string TVlDriveComboBox::NetworkName(const std::string& root) {
    std::string remote = wb::Volumes()->RemoteName(root);
    return remote.empty() ? VolumeLabel(root) : remote;
}

void TVlDriveComboBox::FillDriveList() {
    filling_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{filling_};
    const std::string previous = Drive();
    Clear();
    for (const wb::Volume& v : wb::Volumes()->List()) {
        if (!BoxListsDrive(v.kind, driveTypes_)) continue;
        const std::string name = wb::DriveName(v.root);
        std::string text;
        switch (v.kind) {
            case wb::VolumeKind::Removable: text = name + ":"; break;  // the medium is not touched
            case wb::VolumeKind::Remote: text = name + ": " + NetworkName(v.root); break;
            default: text = name + ": " + VolumeLabel(v.root); break;
        }
        AddItem(text, Icon::ForVolume(v.kind), v.root);
    }
    const int keep = IndexOfData(previous);
    SetItemIndex(keep >= 0 ? keep : (Count() > 0 ? 0 : -1));
}

std::string TVlDriveComboBox::Drive() const { return ItemIndex() < 0 ? std::string() : ItemData(ItemIndex()); }

void TVlDriveComboBox::SetDrive(const std::string& root) {
    int i = IndexOfData(root);
    if (i < 0) i = IndexOfData(WithSlash(root));
    if (i < 0) return;
    if (i == ItemIndex()) {
        Fire(OnChange, this);  // selecting fires the event even when it stays
        return;
    }
    SetItemIndex(i);
}

void TVlDriveComboBox::Change() {
    if (filling_) return;
    if (dirList_ && !Drive().empty()) dirList_->SetDirectory(Drive());
    TVlFramed::Change();
}

void TVlDriveComboBox::SetDriveTypes(TDriveTypes t) {
    if (t == driveTypes_) return;
    driveTypes_ = t;
    FillDriveList();
}

void TVlDriveComboBox::SetFlatButtons(bool v) {
    if (v == flatButtons_) return;
    flatButtons_ = v;
    Invalidate();
}

void TVlDriveComboBox::SetColor(TColor c) {
    color_ = c;
    ComboBox::SetColor(c);
}

void TVlDriveComboBox::UpdateFrame(bool viaMouse, bool inFocus) {
    if (viaMouse) {
        mouseOver_ = inFocus;
    } else {
        focused_ = inFocus;
        if (!inFocus) mouseOver_ = false;  // losing the focus ends the hover look too
    }
    if (FrameFlat()) {
        TVlFrameControl::SetFrameStyle(focused_ || mouseOver_ ? FrameFocusStyle() : FrameFlatStyle());
    }
    if (FrameFlat() || flatButtons_) RepaintFrame();
}

void TVlDriveComboBox::Paint(Canvas& c) {
    TVlFramed::Paint(c);
    if (!FrameVisible()) return;
    const int width = Width(), height = Height();
    const Rect client{0, 0, width, height};
    DrawChosenSides(c, client, color_, TSides::All(), 2, color_);
    if (flatButtons_ && !focused_ && !mouseOver_) {
        const int sb = ButtonWidth();
        Rect button{width - sb - 2, 2, width - 2, height - 2};
        c.Brush() = {color_, BrushStyle::Solid};
        c.FillRect(button);
        const int x = button.left + sb / 2 - 1, y = height / 2 + 2;
        c.Pen() = {clBlack, 1, PenStyle::Solid};
        c.Brush() = {clBlack, BrushStyle::Solid};
        c.Polygon({{x, y}, {x - 5, y - 5}, {x + 5, y - 5}});
    }
    if (FrameStyle() != fsFlat)
        DrawFrameStyle(c, client, FrameStyle(), FrameSides());
    else
        DrawSideLines(c, client, FrameColor(), FrameSides(), FrameColor());
}

} // namespace velmora
