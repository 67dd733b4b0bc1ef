// Where a form appears and how its placement record is read and applied.
// A restored window stays where it was put, on whichever screen; only one
// that no screen would show at all is brought onto the nearest.
#include "platform/gui/FormWindow.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/gui/Guard.h"

namespace wb::gui {

namespace {

// The rectangle around every screen.
QRect Desktop() {
    QRect all;
    for (QScreen* s : QGuiApplication::screens()) all |= s->geometry();
    return all;
}

// Where a window of this size at (left, top) goes: where it is when any of
// it lies on a screen's work area, else as far into the nearest work area as
// its size allows. Edges are taken in 64 bits, as a stored record may place
// a window near the ends of an int.
QPoint OnSomeScreen(int left, int top, int width, int height) {
    const std::int64_t l = left, t = top;
    // A window of no size still stands at a point.
    const std::int64_t r = l + std::max(width, 1), b = t + std::max(height, 1);
    const QRect* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    std::vector<QRect> areas;
    for (QScreen* s : QGuiApplication::screens())
        if (!s->availableGeometry().isEmpty()) areas.push_back(s->availableGeometry());
    for (const QRect& a : areas) {
        const std::int64_t al = a.left(), at = a.top(), ar = al + a.width(), ab = at + a.height();
        if (l < ar && r > al && t < ab && b > at) return QPoint(left, top);
        const double dx = double(std::max<std::int64_t>({0, al - r, l - ar}));
        const double dy = double(std::max<std::int64_t>({0, at - b, t - ab}));
        if (dx * dx + dy * dy < nearestDistance) {
            nearestDistance = dx * dx + dy * dy;
            nearest = &a;
        }
    }
    if (!nearest) return QPoint(left, top);
    const QRect& a = *nearest;
    const int w = std::max(width, 1), h = std::max(height, 1);
    return QPoint(std::clamp(left, a.left(), std::max(a.left(), a.left() + a.width() - w)),
                  std::clamp(top, a.top(), std::max(a.top(), a.top() + a.height() - h)));
}

} // namespace

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
    const Rect& r = p.normalPosition;
    QWidget* w = impl_->widget;
    // The edges of a stored record may span more than an int holds; the
    // window keeps at least the size the form allows, and at most the size
    // of all screens together.
    QSize most = Desktop().size();
    if (most.isEmpty()) most = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto extent = [](int from, int to, int least, int most) {
        return int(std::clamp<std::int64_t>(std::int64_t(to) - from, least, std::max(least, most)));
    };
    const int width = extent(r.left, r.right, w->minimumWidth(), most.width());
    const int height = extent(r.top, r.bottom, w->minimumHeight(), most.height());
    const QPoint at = OnSomeScreen(r.left, r.top, width, height);
    if (w->isVisible() && w->windowState() != Qt::WindowNoState) w->showNormal();
    SetBounds(at.x(), at.y(), width, height);
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
