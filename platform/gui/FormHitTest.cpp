// Which part of a form's own frame a point is on, and the mouse on that
// frame turned into the non-client messages a plain window would get.
#include "platform/gui/FormWindow.h"

#include <QMouseEvent>
#include <QWindow>

namespace wb::gui {

intptr_t Form::HitTest(Point screen) const {
    FormWindow* w = impl_->widget;
    const QPoint p = w->mapFromGlobal(QPoint(screen.x, screen.y));
    const int width = Width(), height = Height();
    if (p.x() < 0 || p.y() < 0 || p.x() >= width || p.y() >= height) return HTNOWHERE;
    if (!ownFrame_ || borderStyle_ == bsNone) return HTCLIENT;
    const int f = FrameWidth(borderStyle_);
    if (Sizeable() && !w->isMaximized()) {
        const int corner = GetSystemMetrics(SM_CYCAPTION);
        const bool left = p.x() < f, right = p.x() >= width - f, top = p.y() < f, bottom = p.y() >= height - f;
        const bool nearLeft = p.x() < corner, nearRight = p.x() >= width - corner;
        const bool nearTop = p.y() < corner, nearBottom = p.y() >= height - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    const QMargins in = w->Insets();
    if (p.y() >= in.top() || p.y() < f || p.x() < f || p.x() >= width - f) {
        return p.y() >= in.top() && p.x() >= f && p.x() < width - f && p.y() < height - f ? HTCLIENT : HTNOWHERE;
    }
    const int buttonWidth = CaptionButtonWidth(borderStyle_);
    const uint32_t shown = CaptionButtonIcons(borderStyle_, borderIcons_);
    int slot = (width - f - 1 - p.x()) / buttonWidth;
    if (shown & biSystemMenu) {
        if (slot == 0) return HTCLOSE;
        --slot;
    }
    if (shown & (biMinimize | biMaximize)) {
        if (slot == 0) return (shown & biMaximize) ? HTMAXBUTTON : HTCAPTION;
        if (slot == 1) return (shown & biMinimize) ? HTMINBUTTON : HTCAPTION;
        slot -= 2;
    }
    if ((shown & biHelp) && slot == 0) return HTHELP;
    if ((shown & biSystemMenu) && p.x() < f + GetSystemMetrics(SM_CYCAPTION)) return HTSYSMENU;
    return HTCAPTION;
}

intptr_t FormWindow::Hit(QMouseEvent* e) const {
    const QPoint g = e->globalPosition().toPoint();
    return form->Perform(WM_NCHITTEST, 0, PackPoint(g.x(), g.y()));
}

void FormWindow::mousePressEvent(QMouseEvent* e) {
    if (!form || !form->ownFrame_) return QDialog::mousePressEvent(e);
    const intptr_t hit = Hit(e);
    const QPoint g = e->globalPosition().toPoint();
    if (e->button() == Qt::RightButton) {
        form->Perform(WM_NCRBUTTONDOWN, hit, PackPoint(g.x(), g.y()));
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    if (form->Perform(WM_NCLBUTTONDOWN, hit, PackPoint(g.x(), g.y())) != 0) return;
    pressed = hit;
    if (hit == HTCAPTION || hit == HTSYSMENU) {
        if (windowHandle()) windowHandle()->startSystemMove();
    } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
        static const Qt::Edges edges[] = {Qt::LeftEdge,
                                          Qt::RightEdge,
                                          Qt::TopEdge,
                                          Qt::TopEdge | Qt::LeftEdge,
                                          Qt::TopEdge | Qt::RightEdge,
                                          Qt::BottomEdge,
                                          Qt::BottomEdge | Qt::LeftEdge,
                                          Qt::BottomEdge | Qt::RightEdge};
        if (windowHandle()) windowHandle()->startSystemResize(edges[hit - HTLEFT]);
    }
}

void FormWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (!form || !form->ownFrame_) return QDialog::mouseReleaseEvent(e);
    const intptr_t hit = Hit(e);
    const QPoint g = e->globalPosition().toPoint();
    if (e->button() == Qt::RightButton) {
        form->Perform(WM_NCRBUTTONUP, hit, PackPoint(g.x(), g.y()));
        return;
    }
    const intptr_t was = pressed;
    pressed = HTNOWHERE;
    if (e->button() != Qt::LeftButton || hit != was) return;
    if (hit == HTCLOSE) form->Perform(WM_SYSCOMMAND, SC_CLOSE);
    else if (hit == HTMINBUTTON) form->Perform(WM_SYSCOMMAND, SC_MINIMIZE);
    else if (hit == HTMAXBUTTON) form->Perform(WM_SYSCOMMAND, isMaximized() ? SC_RESTORE : SC_MAXIMIZE);
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!form || !form->ownFrame_) return QDialog::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && Hit(e) == HTCAPTION && form->Sizeable())
        form->Perform(WM_SYSCOMMAND, isMaximized() ? SC_RESTORE : SC_MAXIMIZE);
}

void FormWindow::mouseMoveEvent(QMouseEvent* e) {
    if (!form || !form->ownFrame_) return QDialog::mouseMoveEvent(e);
    switch (Hit(e)) {
        case HTLEFT:
        case HTRIGHT: setCursor(Qt::SizeHorCursor); break;
        case HTTOP:
        case HTBOTTOM: setCursor(Qt::SizeVerCursor); break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: setCursor(Qt::SizeFDiagCursor); break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: setCursor(Qt::SizeBDiagCursor); break;
        default: unsetCursor(); break;
    }
}

} // namespace wb::gui
