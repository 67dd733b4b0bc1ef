// The frame and title bar a form draws itself, and the metrics they follow.
#include "platform/gui/FormWindow.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cstdlib>

#include "platform/gui/Canvas.h"

namespace wb::gui {

namespace {
bool ToolWindow(TBorderStyle style) { return style == bsToolWindow || style == bsSizeToolWin; }
} // namespace

uint32_t CaptionButtonIcons(TBorderStyle style, uint32_t icons) {
    if (style == bsDialog) return icons & (biSystemMenu | biHelp);
    if (ToolWindow(style)) return icons & biSystemMenu;
    if (!(icons & biSystemMenu)) icons &= ~uint32_t(biMinimize | biMaximize);
    if (icons & (biMinimize | biMaximize)) icons &= ~uint32_t(biHelp);
    return icons;
}

int CaptionButtonCount(uint32_t shown) {
    int n = 0;
    for (uint32_t b : {biSystemMenu, biMinimize, biMaximize, biHelp}) n += (shown & b) != 0;
    if (((shown & biMinimize) != 0) != ((shown & biMaximize) != 0)) ++n;
    return n;
}

int FrameWidth(TBorderStyle style) {
    switch (style) {
        case bsSizeable:
        case bsSizeToolWin: return GetSystemMetrics(SM_CXFRAME);
        case bsSingle:
        case bsDialog:
        case bsToolWindow: return GetSystemMetrics(SM_CXDLGFRAME);
        default: return 0;
    }
}

int CaptionHeight(TBorderStyle style) { return GetSystemMetrics(ToolWindow(style) ? SM_CYSMCAPTION : SM_CYCAPTION); }
int CaptionButtonWidth(TBorderStyle style) { return GetSystemMetrics(ToolWindow(style) ? SM_CXSMSIZE : SM_CXSIZE); }

Rect CaptionRect(int width, int height, TBorderStyle style, uint32_t icons) {
    const int frame = FrameWidth(style);
    Rect r{frame, frame, width - frame, height - frame};
    r.bottom = r.top + CaptionHeight(style) - 1;
    r.right -= CaptionButtonCount(CaptionButtonIcons(style, icons)) * CaptionButtonWidth(style);
    return r;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CYCAPTION: return 22;
        case SM_CXSIZE:
        case SM_CYSIZE: return 22;
        case SM_CYSMCAPTION: return 17;
        case SM_CXSMSIZE:
        case SM_CYSMSIZE: return 17;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        case SM_CXICON:
        case SM_CYICON: return 32;
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME:
        case SM_CYFRAME: return 4;
        default: return 0;
    }
}

// The frame and title bar as a plain window has them; hooks paint over
// them or take parts of the region away first.
void Form::PaintFrame(Canvas& c, const Region& region) {
    const int w = Width(), h = Height();
    const int f = FrameWidth(borderStyle_);
    const int captionHeight = CaptionHeight(borderStyle_);
    const int buttonWidth = CaptionButtonWidth(borderStyle_);
    const uint32_t shown = CaptionButtonIcons(borderStyle_, borderIcons_);
    const Rect caption = CaptionRect(w, h, borderStyle_, borderIcons_);
    for (const Rect& area : region.Rects()) {
        c.SetClipRect(area);
        c.Brush() = {clBtnFace, BrushStyle::Solid};
        c.FillRect({0, 0, w, f + captionHeight});
        c.FillRect({0, 0, f, h});
        c.FillRect({w - f, 0, w, h});
        c.FillRect({0, h - f, w, h});
        // A raised edge: light outside top and left, dark bottom and right.
        c.Pen().Color = clBtnHighlight;
        c.MoveTo(0, h - 1);
        c.LineTo(0, 0);
        c.LineTo(w - 1, 0);
        c.Pen().Color = cl3DDkShadow;
        c.LineTo(w - 1, h - 1);
        c.LineTo(-1, h - 1);
        const TColor back = ncActive_ ? clActiveCaption : clInactiveCaption;
        c.Brush().Color = back;
        c.FillRect({f, f, w - f, f + captionHeight - 1});
        int textLeft = f + 2;
        if ((shown & biSystemMenu) && (borderStyle_ == bsSingle || borderStyle_ == bsSizeable)) {
            const int icon = GetSystemMetrics(SM_CXSMICON);
            DrawIcon(c, f + 1 + (captionHeight - icon) / 2, f + (captionHeight - 1 - icon) / 2, icon);
            textLeft = f + captionHeight + 2;
        }
        c.Font().Style = fsBold;
        c.Font().Color = ncActive_ ? clCaptionText : clInactiveCaptionText;
        c.Brush().Style = BrushStyle::Clear;
        c.DrawText({textLeft, f, caption.right, f + captionHeight - 1}, Caption(),
                   tfLeft | tfVCenter | tfSingleLine | tfEndEllipsis);
        c.Brush().Style = BrushStyle::Solid;
        c.Font().Style = 0;
        // The buttons, right to left: close, maximise, minimise, help.
        int right = w - f;
        auto button = [&](const char* glyph, bool enabled) {
            Rect b{right - buttonWidth + 2, f + 2, right - 2, f + captionHeight - 3};
            c.Brush().Color = clBtnFace;
            c.FillRect(b);
            c.Pen().Color = clBtnHighlight;
            c.MoveTo(b.left, b.bottom - 1);
            c.LineTo(b.left, b.top);
            c.LineTo(b.right - 1, b.top);
            c.Pen().Color = cl3DDkShadow;
            c.LineTo(b.right - 1, b.bottom - 1);
            c.LineTo(b.left - 1, b.bottom - 1);
            c.Font().Color = enabled ? clBtnText : clGrayText;
            c.Brush().Style = BrushStyle::Clear;
            c.DrawText(b, glyph, tfCenter | tfVCenter | tfSingleLine);
            c.Brush().Style = BrushStyle::Solid;
            right -= buttonWidth;
        };
        if (shown & biSystemMenu) button("\u00D7", true);
        if (shown & (biMinimize | biMaximize)) {
            button(IsZoomed() ? "\u2750" : "\u25A1", (shown & biMaximize) != 0);
            button("_", (shown & biMinimize) != 0);
        }
        if (shown & biHelp) button("?", true);
        c.ClearClipRect();
    }
}

bool Form::OwnFramesAllowed() {
    const char* v = std::getenv("WB_SYSTEM_FRAMES");
    return !(v && *v && std::string(v) != "0");
}

void Form::SetOwnFrame(bool own) {
    own = own && OwnFramesAllowed();
    if (own == ownFrame_) return;
    // The client area keeps its size; the window grows or shrinks around it.
    const int w = ClientWidth(), h = ClientHeight();
    ownFrame_ = own;
    ApplyFlags();
    SetClientSize(w, h);
    impl_->widget->update();
}

void Form::DrawIcon(Canvas& canvas, int x, int y, int size) const {
    QIcon icon = impl_->widget->windowIcon();
    if (icon.isNull()) icon = QApplication::windowIcon();
    if (icon.isNull()) icon = impl_->widget->style()->standardIcon(QStyle::SP_TitleBarMenuButton);
    if (QPainter* p = canvas.Painter()) p->drawPixmap(x, y, icon.pixmap(size, size));
}

void FormWindow::paintEvent(QPaintEvent* e) {
    if (!form || !form->ownFrame_) return QDialog::paintEvent(e);
    QPainter painter(this);
    Canvas canvas(painter);
    Region region(Rect{0, 0, width(), height()});
    form->ncCanvas_ = &canvas;
    form->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&region));
    form->ncCanvas_ = nullptr;
}

} // namespace wb::gui
