// Where a form appears and how its placement record is read and applied,
// kept on the screen's work area.
#include "platform/gui/FormWindow.h"

#include <QApplication>
#include <algorithm>
#include <cstdint>

#include "platform/gui/Guard.h"

namespace wb::gui {

void Form::PrepareShow() {
    Fire(OnShow, this);
    Control::SetVisible(true);
    FormWindow* w = impl_->widget;
    const bool center = position_ == poScreenCenter || position_ == poDesktopCenter;
    if (!center && w->placed) return;
    // A form never placed appears where the user looks: a dialog over the
    // window it belongs to, any other in the middle of the screen.
    w->placed = true;
    QWidget* over = kind_ == FormKind::Dialog && !center ? w->parentWidget() : nullptr;
    if (!over && kind_ == FormKind::Dialog && !center) over = QApplication::activeWindow();
    if (over && over != w) {
        over = over->window();
        const QRect r = over->geometry();
        w->setGeometry(r.left() + (r.width() - w->width()) / 2, r.top() + (r.height() - w->height()) / 2,
                       w->width(), w->height());
        return;
    }
    ScreenMetrics s = Screen();
    w->setGeometry(s.workArea.left + (s.workArea.Width() - w->width()) / 2,
                   s.workArea.top + (s.workArea.Height() - w->height()) / 2, w->width(), w->height());
}

WindowPlacement Form::GetWindowPlacement() const {
    WindowPlacement p;
    QWidget* w = impl_->widget;
    TWindowState state = WindowState();
    p.showCmd = state == wsMinimized ? SW_SHOWMINIMIZED : state == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    p.maxPosition = maxPosition_;
    QRect r = state != wsNormal && w->isVisible() && w->normalGeometry().isValid() ? w->normalGeometry()
                                                                                  : w->geometry();
    p.normalPosition = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return p;
}

bool Form::SetWindowPlacement(const WindowPlacement& p) {
    maxPosition_ = p.maxPosition;
    Rect r = p.normalPosition;
    ScreenMetrics s = Screen();
    QWidget* w = impl_->widget;
    // The edges of a stored record may span more than an int holds; the
    // window keeps at least the size the form allows.
    auto extent = [](int from, int to, int least) {
        return int(std::clamp<std::int64_t>(std::int64_t(to) - from, least, QWIDGETSIZE_MAX));
    };
    int width = extent(r.left, r.right, w->minimumWidth());
    int height = extent(r.top, r.bottom, w->minimumHeight());
    if (s.workArea.Width() > 0 && s.workArea.Height() > 0) {
        width = std::max(std::min(width, s.workArea.Width()), w->minimumWidth());
        height = std::max(std::min(height, s.workArea.Height()), w->minimumHeight());
        r.left = std::clamp(r.left, s.workArea.left, std::max(s.workArea.left, s.workArea.right - width));
        r.top = std::clamp(r.top, s.workArea.top, std::max(s.workArea.top, s.workArea.bottom - height));
    }
    if (w->isVisible() && w->windowState() != Qt::WindowNoState) w->showNormal();
    SetBounds(r.left, r.top, width, height);
    switch (p.showCmd) {
        case SW_HIDE:
            if (w->isVisible()) Hide();
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            impl_->pendingState = wsMinimized;
            Control::SetVisible(true);
            w->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            impl_->pendingState = wsMaximized;
            Control::SetVisible(true);
            w->showMaximized();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            impl_->pendingState = wsNormal;
            Control::SetVisible(true);
            w->showNormal();
            break;
        default:
            Control::SetVisible(true);
            w->show();
            break;
    }
    return true;
}

void Form::UpdateSizeLimits() {
    ScreenMetrics s = Screen();
    MinMaxInfo info;
    info.maxSize = {s.workArea.Width(), s.workArea.Height()};
    info.maxPosition = {0, 0};
    info.minTrackSize = {0, 0};
    info.maxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    QWidget* w = impl_->widget;
    if (!Sizeable()) return FixSize();
    auto clampSize = [](int v) { return std::clamp(v, 0, QWIDGETSIZE_MAX); };
    w->setMinimumSize(clampSize(info.minTrackSize.x), clampSize(info.minTrackSize.y));
    w->setMaximumSize(clampSize(info.maxTrackSize.x), clampSize(info.maxTrackSize.y));
}

} // namespace wb::gui
