#include "platform/gui/Form.h"

#include "platform/gui/Application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace wb::gui {

namespace {

Form* g_mainForm = nullptr;

void InstallMessagePump() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
    // Exceptions from hooks and posted messages go where the program shows its others.
    if (dynamic_cast<Application*>(QCoreApplication::instance()))
        SetExceptionDisplay([](std::exception_ptr e) { Application::ReportException(e); });
    SetPostedMessageWakeup([] {
        QTimer::singleShot(0, QCoreApplication::instance(), [] { ProcessPostedMessages(); });
    });
}

Window& AppWindow() {
    static Window w(MakeWindowProc([](Window& self, Message& m) -> intptr_t {
        if (m.Msg == WM_SYSCOMMAND && g_mainForm) {
            auto* widget = static_cast<QWidget*>(g_mainForm->NativeWidget());
            if ((m.WParam & 0xFFF0) == SC_MINIMIZE) {
                widget->showMinimized();
                return 0;
            }
            if ((m.WParam & 0xFFF0) == SC_RESTORE) {
                widget->showNormal();
                return 0;
            }
        }
        return DefWindowProc(self, m);
    }));
    return w;
}

const EnumType& BorderStyleType() {
    static const EnumType t{"TFormBorderStyle",
                            {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
    return t;
}
const EnumType& PositionType() {
    static const EnumType t{"TPosition",
                            {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                             "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
    return t;
}
const EnumType& WindowStateType() {
    static const EnumType t{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
    return t;
}

} // namespace

// Translates the Qt window's events into messages through the form's
// window procedure, so hooks see them and can refuse them.
struct Form::Impl : QObject {
    explicit Impl(Form* f) : form(f), widget(new QWidget()) {
        widget->setAttribute(Qt::WA_DeleteOnClose, false);
        widget->installEventFilter(this);
        focusConn = QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            for (QWidget* w = now; w; w = w->parentWidget()) {
                QVariant v = w->property("wbControl");
                if (!v.isValid()) continue;
                auto* c = reinterpret_cast<Control*>(v.value<quintptr>());
                if (auto* wc = dynamic_cast<WinControl*>(c); wc && wc != form) {
                    form->activeControl_ = wc;
                    return;
                }
            }
        });
    }
    ~Impl() override {
        QObject::disconnect(focusConn);
        widget->removeEventFilter(this);
        delete widget.data();
    }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (obj != widget || form->Destroying()) return false;
        switch (e->type()) {
            case QEvent::Show:
                form->Perform(WM_SHOWWINDOW, 1);
                form->UpdateSizeLimits();
                return false;
            case QEvent::Hide: form->Perform(WM_SHOWWINDOW, 0); return false;
            case QEvent::Move: form->Perform(WM_MOVE); return false;
            case QEvent::Resize: form->Perform(WM_SIZE); return false;
            case QEvent::Close:
                if (form->Perform(WM_CLOSE) == 0) {
                    e->ignore();
                    return true;
                }
                return false;
            default: return false;
        }
    }
    Form* form;
    QPointer<QWidget> widget;
    QMetaObject::Connection focusConn;
    TWindowState pendingState = wsNormal;
};

const ClassInfo& Form::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Form", &WinControl::StaticClass());
        i.Integer<Form, int>("Left", &Form::Left, &Form::SetLeft);
        i.Integer<Form, int>("Top", &Form::Top, &Form::SetTop);
        i.Integer<Form, int>("Width", &Form::Width, &Form::SetWidth);
        i.Integer<Form, int>("Height", &Form::Height, &Form::SetHeight);
        i.String<Form>("Caption", &Form::Caption, &Form::SetCaption);
        i.Enum<Form, TBorderStyle>("BorderStyle", BorderStyleType(), &Form::BorderStyle, &Form::SetBorderStyle);
        i.Enum<Form, TPosition>("Position", PositionType(), &Form::Position, &Form::SetPosition);
        i.Enum<Form, TWindowState>("WindowState", WindowStateType(), &Form::WindowState, &Form::SetWindowState);
        return i;
    }();
    return info;
}

Form::Form(Component* owner) : WinControl(owner) {
    EnsureGuiApplication();
    InstallMessagePump();
    impl_ = std::make_unique<Impl>(this);
    impl_->widget->setProperty("wbControl", QVariant::fromValue(reinterpret_cast<quintptr>(static_cast<Control*>(this))));
    Control::SetVisible(false);
    ApplyFlags();
    FormList::Add(this);
    if (!g_mainForm) g_mainForm = this;
}

Form::~Form() {
    FormList::Remove(this);
    Destroying_();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            ShowException(std::current_exception());
        }
    }
    DestroyComponents();
    NotifyFreeing();
    DestroyHandle();
    // Controls owned elsewhere keep their widgets: Qt must not free them with the window.
    for (Control* c : std::vector<Control*>(Controls()))
        if (auto* w = static_cast<QWidget*>(c->NativeWidget())) w->setParent(nullptr);
    impl_.reset();
    if (g_mainForm == this) g_mainForm = nullptr;
}

void* Form::NativeWidget() const { return impl_ ? impl_->widget.data() : nullptr; }

int Form::Left() const { return impl_->widget->geometry().left(); }
int Form::Top() const { return impl_->widget->geometry().top(); }
int Form::Width() const { return impl_->widget->geometry().width(); }
int Form::Height() const { return impl_->widget->geometry().height(); }
void Form::SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
void Form::SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
void Form::SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
void Form::SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
void Form::SetBounds(int left, int top, int width, int height) {
    impl_->widget->setGeometry(left, top, std::max(0, width), std::max(0, height));
}
std::string Form::Caption() const { return impl_->widget->windowTitle().toStdString(); }
void Form::SetCaption(const std::string& caption) {
    impl_->widget->setWindowTitle(QString::fromStdString(caption));
}

void Form::ApplyFlags() {
    Qt::WindowFlags f = Qt::Window | Qt::CustomizeWindowHint;
    switch (borderStyle_) {
        case bsNone: f |= Qt::FramelessWindowHint; break;
        case bsToolWindow:
        case bsSizeToolWin: f = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint; break;
        case bsDialog: f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint; break;
        default: f |= Qt::WindowTitleHint; break;
    }
    if (borderIcons_ & biSystemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    bool dialog = borderStyle_ == bsDialog || borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
    if ((borderIcons_ & biMinimize) && !dialog) f |= Qt::WindowMinimizeButtonHint;
    if ((borderIcons_ & biMaximize) && !dialog) f |= Qt::WindowMaximizeButtonHint;
    if (borderIcons_ & biHelp) f |= Qt::WindowContextHelpButtonHint;
    if (formStyle_ == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    QWidget* w = impl_->widget;
    if (w->windowFlags() == f) return;
    bool shown = w->isVisible();
    w->setWindowFlags(f);  // hides the window
    if (shown) w->show();
}

void Form::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    ApplyFlags();
    if (HandleAllocated()) RecreateWnd();
}

void Form::SetBorderIcons(uint32_t icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    ApplyFlags();
}

void Form::SetPosition(TPosition position) { position_ = position; }

TWindowState Form::WindowState() const {
    Qt::WindowStates s = impl_->widget->isVisible() ? impl_->widget->windowState() : Qt::WindowStates();
    if (!impl_->widget->isVisible()) return impl_->pendingState;
    if (s & Qt::WindowMinimized) return wsMinimized;
    if (s & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
}

void Form::SetWindowStateField(TWindowState state) { impl_->pendingState = state; }

void Form::SetWindowState(TWindowState state) {
    impl_->pendingState = state;
    QWidget* w = impl_->widget;
    if (!w->isVisible()) return;
    if (state == wsMinimized) w->showMinimized();
    else if (state == wsMaximized) w->showMaximized();
    else w->showNormal();
}

void Form::SetActiveControl(WinControl* control) {
    activeControl_ = control;
    if (control && impl_->widget->isVisible() && control->CanFocus()) control->SetFocus();
}

void Form::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}

void Form::Show() {
    if (OnShow) OnShow(this);
    Control::SetVisible(true);
    QWidget* w = impl_->widget;
    if (position_ == poScreenCenter || position_ == poDesktopCenter) {
        ScreenMetrics s = Screen();
        w->move(s.workArea.left + (s.workArea.Width() - w->width()) / 2,
                s.workArea.top + (s.workArea.Height() - w->height()) / 2);
    }
    switch (impl_->pendingState) {
        case wsMinimized: w->showMinimized(); break;
        case wsMaximized: w->showMaximized(); break;
        default: w->show(); break;
    }
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
}

void Form::Hide() {
    Control::SetVisible(false);
    impl_->widget->hide();
}

bool Form::Close() {
    if (!impl_->widget->isVisible()) {
        // A hidden form is asked all the same.
        return Perform(WM_CLOSE) != 0;
    }
    return impl_->widget->close();
}

void Form::Update() {
    if (impl_->widget->isVisible()) impl_->widget->repaint();
}

void Form::WndProc(Message& msg) {
    if (msg.Msg == WM_CLOSE) {
        bool canClose = true;
        if (OnCloseQuery) OnCloseQuery(this, canClose);
        msg.Result = canClose ? 1 : 0;
        if (canClose) Control::SetVisible(false);  // Qt hides the window itself
        return;
    }
    WinControl::WndProc(msg);
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
    int width = std::max(0, r.Width()), height = std::max(0, r.Height());
    if (s.workArea.Width() > 0 && s.workArea.Height() > 0) {
        width = std::min(width, s.workArea.Width());
        height = std::min(height, s.workArea.Height());
        r.left = std::clamp(r.left, s.workArea.left, s.workArea.right - width);
        r.top = std::clamp(r.top, s.workArea.top, s.workArea.bottom - height);
    }
    QWidget* w = impl_->widget;
    if (w->isVisible() && w->windowState() != Qt::WindowNoState) w->showNormal();
    w->setGeometry(r.left, r.top, width, height);
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

bool Form::IsWindowVisible() const { return impl_->widget->isVisible(); }
bool Form::IsIconic() const { return impl_->widget->isVisible() && impl_->widget->isMinimized(); }

void Form::UpdateSizeLimits() {
    ScreenMetrics s = Screen();
    MinMaxInfo info;
    info.maxSize = {s.workArea.Width(), s.workArea.Height()};
    info.maxPosition = {0, 0};
    info.minTrackSize = {0, 0};
    info.maxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    QWidget* w = impl_->widget;
    auto clampSize = [](int v) { return std::clamp(v, 0, QWIDGETSIZE_MAX); };
    w->setMinimumSize(clampSize(info.minTrackSize.x), clampSize(info.minTrackSize.y));
    w->setMaximumSize(clampSize(info.maxTrackSize.x), clampSize(info.maxTrackSize.y));
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME:
        case SM_CYFRAME: return 4;
        default: return 0;
    }
}

Form* MainForm() { return g_mainForm; }
void SetMainForm(Form* form) { g_mainForm = form; }
WindowHandle ApplicationHandle() { return AppWindow().Handle(); }
bool ApplicationMinimized() { return g_mainForm && g_mainForm->IsIconic(); }

} // namespace wb::gui
