#include "platform/gui/Form.h"

#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>
#include <cstdlib>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

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

// The window of every form: a top-level window with an optional menu bar
// over its client area, run modally by a loop of its own when asked. It is
// a dialog window for the keyboard: Enter presses the focused or default
// button, and the first control has the focus when it appears.
class FormWindow : public QDialog {
public:
    explicit FormWindow(FormKind k) : kind(k), client(new QWidget(this)) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        client->setAutoFillBackground(true);
    }
    // Taken when the client size is set: the bar's own hint changes once
    // the style polishes it, and the client area must not move then.
    int MenuHeight() {
        if (menuHeight < 0) menuHeight = menuBar ? menuBar->sizeHint().height() : 0;
        return menuHeight;
    }
    // What the own frame and title bar take of the window; nothing when
    // the window manager draws them.
    QMargins Insets() const {
        if (!form || !form->ownFrame_ || form->borderStyle_ == bsNone) return {};
        const int f = FrameWidth(form->borderStyle_);
        return {f, f + CaptionHeight(form->borderStyle_), f, f};
    }
    void Relayout() {
        const QRect inner = rect().marginsRemoved(Insets());
        const int top = MenuHeight();
        if (menuBar) menuBar->setGeometry(inner.left(), inner.top(), inner.width(), top);
        client->setGeometry(inner.left(), inner.top() + top, inner.width(), std::max(0, inner.height() - top));
    }

    FormKind kind;
    Form* form = nullptr;
    QWidget* client;
    intptr_t pressed = HTNOWHERE;  // the caption button the left button went down on
    QMenuBar* menuBar = nullptr;
    int menuHeight = -1;
    QEventLoop* mainLoop = nullptr;
    QEventLoop* modalLoop = nullptr;
    std::function<void()> closed;
    int result = 0;
    bool placed = false;  // the program gave the window a position

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!form || !form->ownFrame_) return QDialog::paintEvent(e);
        QPainter painter(this);
        Canvas canvas(painter);
        Region region(Rect{0, 0, width(), height()});
        form->ncCanvas_ = &canvas;
        form->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&region));
        form->ncCanvas_ = nullptr;
    }
    intptr_t Hit(QMouseEvent* e) const {
        const QPoint g = e->globalPosition().toPoint();
        return form->Perform(WM_NCHITTEST, 0, PackPoint(g.x(), g.y()));
    }
    void mousePressEvent(QMouseEvent* e) override {
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
    void mouseReleaseEvent(QMouseEvent* e) override {
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
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!form || !form->ownFrame_) return QDialog::mouseDoubleClickEvent(e);
        if (e->button() == Qt::LeftButton && Hit(e) == HTCAPTION && form->Sizeable())
            form->Perform(WM_SYSCOMMAND, isMaximized() ? SC_RESTORE : SC_MAXIMIZE);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
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
    void showEvent(QShowEvent* e) override {
        // The form has placed the window already; Qt must not centre it again.
        setAttribute(Qt::WA_Moved);
        QDialog::showEvent(e);
    }
    void resizeEvent(QResizeEvent* e) override {
        QDialog::resizeEvent(e);
        Relayout();
    }
    void keyPressEvent(QKeyEvent* e) override {
        // The program's window is left only through its menu or title bar;
        // a dialog form closes on Escape the way its close box closes it.
        if (kind == FormKind::Main && e->key() == Qt::Key_Escape) return;
        QDialog::keyPressEvent(e);
    }
    void reject() override { close(); }
    void closeEvent(QCloseEvent* e) override {
        // The form's procedure has agreed already (WM_CLOSE in its filter).
        e->accept();
        if (closed) closed();
        if (mainLoop) mainLoop->quit();
    }
    void hideEvent(QHideEvent* e) override {
        QDialog::hideEvent(e);
        if (!e->spontaneous() && modalLoop) modalLoop->exit(result);
    }
};

// Translates the Qt window's events into messages through the form's
// window procedure, so hooks see them and can refuse them.
struct Form::Impl : QObject {
    Impl(Form* f, FormWindow* w) : form(f), widget(w) {
        widget->form = f;
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
        widget->closed = [f] { Fire(f->OnClose, f); };
        focusConn = QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (!now || now->window() != widget) return;
            if (WidgetControl* c = WidgetControl::ControlOf(now); c && c != form) form->activeControl_ = c;
        });
    }
    ~Impl() override {
        QObject::disconnect(focusConn);
        if (widget) {
            widget->removeEventFilter(this);
            widget->closed = nullptr;
            widget->form = nullptr;
        }
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
    Form* form;
    QPointer<FormWindow> widget;
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

Form::~Form() {
    FormList::Remove(this);
    Destroying_();
    Fire(OnDestroy, this);
    DestroyComponents();
    NotifyFreeing();
    DestroyHandle();
    // Controls owned elsewhere keep their widgets: Qt must not free them with the window.
    for (Control* c : std::vector<Control*>(Controls()))
        if (auto* w = static_cast<QWidget*>(c->NativeWidget())) w->setParent(nullptr);
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
    if (ownFrame_) f |= Qt::FramelessWindowHint;
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

bool Form::IsZoomed() const { return impl_->widget->isMaximized(); }

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

bool Form::SaveScreenshot(const std::string& pngPath) {
    QWidget* w = impl_->widget;
    w->ensurePolished();
    return w->grab().save(Q(pngPath), "PNG");
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
    if (!Sizeable()) return FixSize();
    auto clampSize = [](int v) { return std::clamp(v, 0, QWIDGETSIZE_MAX); };
    w->setMinimumSize(clampSize(info.minTrackSize.x), clampSize(info.minTrackSize.y));
    w->setMaximumSize(clampSize(info.maxTrackSize.x), clampSize(info.maxTrackSize.y));
}

Form* MainForm() { return g_mainForm; }
void SetMainForm(Form* form) { g_mainForm = form; }
WindowHandle ApplicationHandle() { return AppWindow().Handle(); }
bool ApplicationMinimized() { return g_mainForm && g_mainForm->IsIconic(); }

} // namespace wb::gui
