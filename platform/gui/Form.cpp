// The form's window itself: its Qt window and the messages it turns its
// events into, its flags, size, state, show and close, and its modal and
// main runs. Its own frame, hit-testing, placement and screenshots have
// units of their own.
#include "platform/gui/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "platform/gui/Button.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

Form* g_mainForm = nullptr;

void InstallMessagePump() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
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

void FormWindow::showEvent(QShowEvent* e) {
    // The form has placed the window already; Qt must not centre it again.
    setAttribute(Qt::WA_Moved);
    QDialog::showEvent(e);
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Relayout();
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
    // Escape's rule is the form kind's (Form.h); a dialog closes through reject().
    if (kind == FormKind::Main && e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // The form's procedure has agreed already (WM_CLOSE in its filter).
    e->accept();
    if (closed) closed();
    if (mainLoop) mainLoop->quit();
}

void FormWindow::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    if (!e->spontaneous() && modalLoop) modalLoop->exit(result);
}

// Translates the Qt window's events into messages through the form's
// window procedure, so hooks see them and can refuse them.
Form::Impl::Impl(Form* f, FormWindow* w) : form(f), widget(w) {
    widget->form = f;
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    widget->closed = [f] { Fire(f->OnClose, f); };
    focusConn = QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->window() != widget) return;
        if (WidgetControl* c = WidgetControl::ControlOf(now); c && c != form) form->activeControl_ = c;
    });
}

Form::Impl::~Impl() {
    QObject::disconnect(focusConn);
    if (widget) {
        widget->removeEventFilter(this);
        widget->closed = nullptr;
        widget->form = nullptr;
    }
}

bool Form::Impl::eventFilter(QObject* obj, QEvent* e) {
    if (obj != widget || form->Destroying()) return false;
    switch (e->type()) {
        case QEvent::Show:
            form->Perform(WM_SHOWWINDOW, 1);
            form->UpdateSizeLimits();
            return false;
        case QEvent::Hide: form->Perform(WM_SHOWWINDOW, 0); return false;
        case QEvent::Move: form->Perform(WM_MOVE); return false;
        case QEvent::WindowActivate: form->Perform(WM_NCACTIVATE, 1); return false;
        case QEvent::WindowDeactivate: form->Perform(WM_NCACTIVATE, 0); return false;
        case QEvent::Resize:
            // The client area follows first, so WM_SIZE sees its new size.
            widget->Relayout();
            form->Perform(WM_SIZE);
            return false;
        case QEvent::Close:
            if (form->Perform(WM_CLOSE) == 0) {
                e->ignore();
                return true;
            }
            return false;
        default: return false;
    }
}

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

Form::Form(Component* owner, FormKind kind)
    : WidgetControl(owner, NewWidget<FormWindow>(kind)), kind_(kind) {
    InstallMessagePump();
    impl_ = std::make_unique<Impl>(this, static_cast<FormWindow*>(Widget()));
    Control::SetVisible(false);
    if (kind == FormKind::Dialog) {
        borderStyle_ = bsDialog;
        borderIcons_ = biSystemMenu;
    }
    ApplyFlags();
    FormList::Add(this);
    if (!g_mainForm) g_mainForm = this;
}

void Form::BeforeDestruction() {
    if (destroyFired_) return;
    destroyFired_ = true;
    FormList::Remove(this);
    Destroying_();
    Fire(OnDestroy, this);
}

Form::~Form() {
    BeforeDestruction();
    DestroyComponents();
    NotifyFreeing();
    // While the window still translates its events, as they may go.
    DestroyControls();
    DestroyHandle();
    impl_.reset();
    if (g_mainForm == this) g_mainForm = nullptr;
}

QWidget* Form::ClientWidget() const { return impl_ && impl_->widget ? impl_->widget->client : nullptr; }
std::string Form::Caption() const { return impl_->widget->windowTitle().toStdString(); }
void Form::SetCaption(const std::string& caption) {
    impl_->widget->setWindowTitle(QString::fromStdString(caption));
    if (ownFrame_) impl_->widget->update();
}

void Form::ApplyFlags() {
    Qt::WindowFlags f = Qt::Window | Qt::CustomizeWindowHint;
    switch (borderStyle_) {
        case bsNone: break;
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
    // Qt drops the frameless hint again while any caption button is asked
    // for, and the window manager would add its title bar above the form's.
    if (ownFrame_ || borderStyle_ == bsNone)
        f = (f & (Qt::WindowType_Mask | Qt::WindowStaysOnTopHint)) | Qt::FramelessWindowHint;
    FormWindow* w = impl_->widget;
    w->Relayout();
    FixSize();
    if (w->windowFlags() == f) return;
    bool shown = w->isVisible();
    w->setWindowFlags(f);  // hides the window
    if (shown) w->show();
}

bool Form::Sizeable() const { return borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin; }

void Form::FixSize() {
    QWidget* w = impl_->widget;
    if (Sizeable()) {
        if (w->minimumSize() == w->maximumSize()) {
            w->setMinimumSize(0, 0);
            w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    } else {
        w->setFixedSize(w->size());
    }
}

void Form::SetBounds(int left, int top, int width, int height) {
    if (!Sizeable()) impl_->widget->setFixedSize(std::max(0, width), std::max(0, height));
    impl_->widget->placed = true;
    WidgetControl::SetBounds(left, top, width, height);
    // A hidden window hears of its new size only when shown; its client area
    // takes the size now, so what is sized from the client area until then
    // (the controls, a frame of its own) sees the window's size.
    impl_->widget->Relayout();
}

void Form::SetFormStyle(TFormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    ApplyFlags();
}

bool Form::HasMenu() const { return impl_->widget->menuBar != nullptr; }

void Form::SetClientSize(int width, int height) {
    FormWindow* w = impl_->widget;
    w->menuHeight = -1;
    const QMargins in = w->Insets();
    const QSize size(std::max(0, width) + in.left() + in.right(),
                     std::max(0, height) + w->MenuHeight() + in.top() + in.bottom());
    if (Sizeable()) w->resize(size);
    else w->setFixedSize(size);
    w->Relayout();
}
int Form::ClientWidth() const { return impl_->widget->client->width(); }
int Form::ClientHeight() const { return impl_->widget->client->height(); }

void Form::SetColor(TColor color) {
    QWidget* c = impl_->widget->client;
    QPalette p = c->palette();
    p.setColor(QPalette::Window, ToQColor(color));
    c->setPalette(p);
}

void Form::SetFont(const std::string& family, int pixelHeight) {
    QFont f(Q(family));
    f.setPixelSize(pixelHeight);
    impl_->widget->setFont(f);
}

void Form::SetSingleBorder(bool minimizeBox) {
    SetBorderStyle(kind_ == FormKind::Dialog ? bsDialog : bsSingle);
    SetBorderIcons(biSystemMenu | (minimizeBox ? uint32_t(biMinimize) : 0u));
}

bool Form::IsZoomed() const { return impl_->widget->isMaximized(); }

void Form::SetAlwaysOnTop(bool onTop) { SetFormStyle(onTop ? fsStayOnTop : fsNormal); }

QMenu* Form::AddMenu(const std::string& caption) {
    FormWindow* w = impl_->widget;
    const int clientHeight = w->client->height();
    if (!w->menuBar) {
        w->menuBar = new QMenuBar(w);
        w->menuBar->setNativeMenuBar(false);
    }
    QMenu* m = w->menuBar->addMenu(Q(caption));
    SetClientSize(w->width(), clientHeight);
    return m;
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

void Form::SetCancelButton(Button* button) {
    if (cancel_ && cancel_ != button) RemoveFreeNotification(cancel_);
    cancel_ = button;
    if (button) FreeNotification(button);
    if (!impl_ || !impl_->widget) return;
    FormWindow* w = impl_->widget;
    // A shortcut, so Escape reaches the button whichever control has the focus.
    if (button && !w->cancelKey) {
        w->cancelKey = new QShortcut(QKeySequence(Qt::Key_Escape), w);
        QObject::connect(w->cancelKey, &QShortcut::activated, w, [this] {
            if (cancel_) cancel_->Click();
        });
    }
    if (w->cancelKey) w->cancelKey->setEnabled(button != nullptr);
}

void Form::Notification(Component* c, Operation op) {
    WidgetControl::Notification(c, op);
    // Without the button, Escape falls back to the form kind's rule.
    if (op == Operation::Remove && c == cancel_) SetCancelButton(nullptr);
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
    PrepareShow();
    QWidget* w = impl_->widget;
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

int Form::ShowModal() {
    FormWindow* w = impl_->widget;
    modalResult_ = 0;
    w->result = 0;
    w->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    w->modalLoop = &loop;
    Show();
    const int result = w->isVisible() ? loop.exec() : w->result;
    if (impl_) {
        w->modalLoop = nullptr;
        w->setWindowModality(Qt::NonModal);
    }
    return result;
}

void Form::SetModalResult(int result) {
    modalResult_ = result;
    impl_->widget->result = result;
    if (result != 0 && impl_->widget->isVisible()) Close();
}

int Form::RunAsMain() {
    QEventLoop loop;
    impl_->widget->mainLoop = &loop;
    Show();
    const int rc = loop.exec();
    if (impl_) impl_->widget->mainLoop = nullptr;
    return rc;
}

void Form::Post(std::function<void()> work) {
    QTimer::singleShot(0, QCoreApplication::instance(), [work = std::move(work)] { RunGuarded(work); });
}

void Form::Update() {
    if (impl_->widget->isVisible()) impl_->widget->repaint();
}

void Form::WndProc(Message& msg) {
    switch (msg.Msg) {
        case WM_NCPAINT:
            if (ncCanvas_ && msg.WParam) PaintFrame(*ncCanvas_, *reinterpret_cast<const Region*>(msg.WParam));
            else if (ownFrame_) impl_->widget->update();
            msg.Result = 0;
            return;
        case WM_NCACTIVATE:
            ncActive_ = msg.WParam != 0;
            if (ownFrame_) impl_->widget->update();
            msg.Result = 1;
            return;
        case WM_NCHITTEST: msg.Result = HitTest(UnpackPoint(msg.LParam)); return;
        case WM_SYSCOMMAND:
            switch (msg.WParam & 0xFFF0) {
                case SC_CLOSE: Close(); break;
                case SC_MINIMIZE: impl_->widget->showMinimized(); break;
                case SC_MAXIMIZE: impl_->widget->showMaximized(); break;
                case SC_RESTORE: impl_->widget->showNormal(); break;
                default: WinControl::WndProc(msg); return;
            }
            msg.Result = 0;
            return;
        default: break;
    }
    if (msg.Msg == WM_CLOSE) {
        bool canClose = true;
        Fire(OnCloseQuery, this, canClose);
        msg.Result = canClose ? 1 : 0;
        if (canClose) Control::SetVisible(false);  // Qt hides the window itself
        return;
    }
    WinControl::WndProc(msg);
}

bool Form::IsWindowVisible() const { return impl_->widget->isVisible(); }
bool Form::IsIconic() const { return impl_->widget->isVisible() && impl_->widget->isMinimized(); }

Form* MainForm() { return g_mainForm; }
void SetMainForm(Form* form) { g_mainForm = form; }
WindowHandle ApplicationHandle() { return AppWindow().Handle(); }
bool ApplicationMinimized() { return g_mainForm && g_mainForm->IsIconic(); }

} // namespace wb::gui
