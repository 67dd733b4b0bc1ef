#include "tag_editor/controls/VlDriveComboBox.h"

#include <QPainter>
#include <QStyle>

#include "tag_editor/controls/VlDirectoryListBox.h"
#include "tag_editor/controls/VlFileIcons.h"

namespace velmora {

using namespace wb::gui;

TVlDriveComboBox::TVlDriveComboBox(QWidget* parent) : TVlFramedWidget(parent) {
    setIconSize(QSize(16, 13));
    setMouseTracking(true);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int) {
        if (filling_) return;
        if (dirList_ && !Drive().empty()) dirList_->SetDirectory(Drive());
        if (OnChange) OnChange(this);
    });
    FillDriveList();
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
    std::string previous = Drive();
    clear();
    for (const wb::Volume& v : wb::Volumes()->List()) {
        if (!BoxListsDrive(v.kind, driveTypes_)) continue;
        const std::string name = wb::DriveName(v.root);
        std::string text;
        switch (v.kind) {
            case wb::VolumeKind::Removable: text = name + ":"; break;  // the medium is not touched
            case wb::VolumeKind::Remote: text = name + ": " + NetworkName(v.root); break;
            default: text = name + ": " + VolumeLabel(v.root); break;
        }
        addItem(DriveIcon(v.kind), QString::fromStdString(text), QString::fromStdString(v.root));
    }
    int keep = findData(QString::fromStdString(previous));
    setCurrentIndex(keep >= 0 ? keep : (count() > 0 ? 0 : -1));
    filling_ = false;
}

std::string TVlDriveComboBox::Drive() const { return currentData().toString().toStdString(); }

void TVlDriveComboBox::SetDrive(const std::string& root) {
    int i = findData(QString::fromStdString(root));
    if (i < 0) i = findData(QString::fromStdString(WithSlash(root)));
    if (i < 0) return;
    if (i == currentIndex()) {
        if (OnChange) OnChange(this);  // selecting fires the event even when it stays
        return;
    }
    setCurrentIndex(i);
}

std::vector<std::string> TVlDriveComboBox::ItemTexts() const {
    std::vector<std::string> out;
    for (int i = 0; i < count(); ++i) out.push_back(itemText(i).toStdString());
    return out;
}

void TVlDriveComboBox::SetDriveTypes(TDriveTypes t) {
    if (t == driveTypes_) return;
    driveTypes_ = t;
    FillDriveList();
}

void TVlDriveComboBox::SetFlatButtons(bool v) {
    if (v == flatButtons_) return;
    flatButtons_ = v;
    update();
}

void TVlDriveComboBox::SetColor(TColor c) {
    color_ = c;
    SetBackColor(this, c, true);
    update();
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

void TVlDriveComboBox::paintEvent(QPaintEvent* e) {
    TVlFramedWidget::paintEvent(e);
    if (!FrameVisible()) return;
    QPainter painter(this);
    Canvas c(painter);
    const Rect client{0, 0, width(), height()};
    DrawChosenSides(c, client, color_, TSides::All(), 2, color_);
    if (flatButtons_ && !focused_ && !mouseOver_) {
        const int sb = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        Rect button{width() - sb - 2, 2, width() - 2, height() - 2};
        c.Brush() = {color_, BrushStyle::Solid};
        c.FillRect(button);
        const int x = button.left + sb / 2 - 1, y = height() / 2 + 2;
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
