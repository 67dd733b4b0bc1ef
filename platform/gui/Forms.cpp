#include "platform/gui/Forms.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/gui/Canvas.h"

namespace wb::gui::widgets {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QColor ToQColor(TColor c) { return QColor::fromRgba(ToQRgb(c)); }

class FormWindow : public QDialog {
public:
    FormWindow(FormKind kind) : kind_(kind) {}
    TNotify onClose;
    QEventLoop* mainLoop = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        // The program's window is left only through its menu or title bar.
        if (kind_ == FormKind::Main && e->key() == Qt::Key_Escape) return;
        QDialog::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        if (onClose) onClose();
        QDialog::closeEvent(e);
        if (mainLoop) mainLoop->quit();
    }

private:
    FormKind kind_;
};

class ImageWidget : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void(Canvas&, int, int)>* paint = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!paint || !*paint) return;
        QPainter p(this);
        Canvas c(p);
        (*paint)(c, width(), height());
    }
};

// Two stacked arrows, as the platform's up-down control has them.
class ArrowPair : public QWidget {
public:
    explicit ArrowPair(QWidget* parent) : QWidget(parent) {
        up = new QToolButton(this);
        down = new QToolButton(this);
        up->setArrowType(Qt::UpArrow);
        down->setArrowType(Qt::DownArrow);
        up->setObjectName("up");
        down->setObjectName("down");
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
        box->addWidget(up);
        box->addWidget(down);
        for (auto* b : {up, down}) b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QToolButton* up;
    QToolButton* down;
};

} // namespace

// ---- Control

Control::Control(QWidget* widget, const std::string& name) : widget_(widget) {
    widget_->setObjectName(Q(name));
}

void Control::SetBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, width, height);
}
int Control::Left() const { return widget_->x(); }
int Control::Top() const { return widget_->y(); }
int Control::Width() const { return widget_->width(); }
int Control::Height() const { return widget_->height(); }
void Control::SetVisible(bool visible) { widget_->setVisible(visible); }
bool Control::Visible() const { return widget_->isVisibleTo(widget_->window()); }
void Control::SetEnabled(bool enabled) { widget_->setEnabled(enabled); }
bool Control::Enabled() const { return widget_->isEnabled(); }
void Control::SetHint(const std::string& hint) { widget_->setToolTip(Q(hint)); }
std::string Control::Hint() const { return widget_->toolTip().toStdString(); }
std::string Control::Name() const { return widget_->objectName().toStdString(); }
void Control::BringToFront() { widget_->raise(); }

// ---- Label

Label::Label(Form& owner, const std::string& name, const std::string& caption)
    : Control(new QLabel(owner.Client()), name) {
    SetCaption(caption);
}

namespace {
// A zero-width space: where a wrapped label may break a path.
constexpr char16_t kBreak = 0x200B;
} // namespace

void Label::SetCaption(const std::string& caption) {
    auto* l = static_cast<QLabel*>(widget_);
    QString text = Q(caption);
    if (wordWrap_) {
        l->setToolTip(text);
        text.replace(QChar('/'), QString(QChar('/')) + QChar(kBreak));
    }
    l->setText(text);
    if (autoSize_) l->resize(l->sizeHint());
}
std::string Label::Caption() const {
    return static_cast<QLabel*>(widget_)->text().remove(QChar(kBreak)).toStdString();
}

void Label::SetWordWrap(bool wrap) {
    const std::string caption = Caption();
    wordWrap_ = wrap;
    auto* l = static_cast<QLabel*>(widget_);
    l->setWordWrap(wrap);
    l->setAlignment(wrap ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    SetCaption(caption);
}
void Label::SetAutoSize(bool autoSize) { autoSize_ = autoSize; }

void Label::SetAlignment(TextAlign align) {
    static_cast<QLabel*>(widget_)->setAlignment(
        (align == TextAlign::Left ? Qt::AlignLeft : align == TextAlign::Center ? Qt::AlignHCenter
                                                                               : Qt::AlignRight) |
        Qt::AlignVCenter);
}

void Label::SetFont(int pixelHeight, bool bold, TColor color) {
    QFont f = widget_->font();
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    widget_->setFont(f);
    QPalette p = widget_->palette();
    p.setColor(QPalette::WindowText, ToQColor(color));
    widget_->setPalette(p);
    if (autoSize_) widget_->resize(widget_->sizeHint());
}

// ---- Button

Button::Button(Form& owner, const std::string& name, const std::string& caption)
    : Control(new QPushButton(Q(caption), owner.Client()), name) {
    QObject::connect(static_cast<QPushButton*>(widget_), &QPushButton::clicked, [this] {
        if (OnClick) OnClick();
    });
}
void Button::SetCaption(const std::string& caption) { static_cast<QPushButton*>(widget_)->setText(Q(caption)); }
std::string Button::Caption() const { return static_cast<QPushButton*>(widget_)->text().toStdString(); }
void Button::SetOkGlyph() {
    static_cast<QPushButton*>(widget_)->setIcon(widget_->style()->standardIcon(QStyle::SP_DialogOkButton));
}
void Button::Click() { static_cast<QPushButton*>(widget_)->click(); }

// ---- Edit

Edit::Edit(Form& owner, const std::string& name, const std::string& text)
    : Control(new QLineEdit(Q(text), owner.Client()), name) {}
void Edit::SetText(const std::string& text) { static_cast<QLineEdit*>(widget_)->setText(Q(text)); }
std::string Edit::Text() const { return static_cast<QLineEdit*>(widget_)->text().toStdString(); }
void Edit::SetReadOnly(bool readOnly) { static_cast<QLineEdit*>(widget_)->setReadOnly(readOnly); }

// ---- Memo

Memo::Memo(Form& owner, const std::string& name) : Control(new QPlainTextEdit(owner.Client()), name) {
    static_cast<QPlainTextEdit*>(widget_)->setLineWrapMode(QPlainTextEdit::NoWrap);
}
void Memo::SetLines(const std::vector<std::string>& lines) {
    QStringList all;
    for (const auto& l : lines) all << Q(l);
    static_cast<QPlainTextEdit*>(widget_)->setPlainText(all.join('\n'));
}
std::vector<std::string> Memo::Lines() const {
    std::vector<std::string> out;
    for (const auto& l : static_cast<QPlainTextEdit*>(widget_)->toPlainText().split('\n'))
        out.push_back(l.toStdString());
    return out;
}
void Memo::SetReadOnly(bool readOnly) { static_cast<QPlainTextEdit*>(widget_)->setReadOnly(readOnly); }
void Memo::SetColor(TColor color) {
    QPalette p = widget_->palette();
    p.setColor(QPalette::Base, ToQColor(color));
    widget_->setPalette(p);
}

// ---- TrackBar

TrackBar::TrackBar(Form& owner, const std::string& name, Orientation orientation)
    : Control(new QSlider(orientation == Orientation::Horizontal ? Qt::Horizontal : Qt::Vertical,
                          owner.Client()),
              name) {
    auto* s = static_cast<QSlider*>(widget_);
    s->setInvertedAppearance(orientation == Orientation::Vertical);
    s->setInvertedControls(orientation == Orientation::Vertical);
    s->setRange(0, 10);
    s->setSingleStep(1);
    s->setPageStep(2);
    QObject::connect(s, &QSlider::valueChanged, [this](int) {
        if (OnChange) OnChange();
    });
}
void TrackBar::SetRange(int min, int max) { static_cast<QSlider*>(widget_)->setRange(min, max); }
int TrackBar::Min() const { return static_cast<QSlider*>(widget_)->minimum(); }
int TrackBar::Max() const { return static_cast<QSlider*>(widget_)->maximum(); }
void TrackBar::SetPosition(int position) { static_cast<QSlider*>(widget_)->setValue(position); }
int TrackBar::Position() const { return static_cast<QSlider*>(widget_)->value(); }
void TrackBar::SetLineSize(int step) { static_cast<QSlider*>(widget_)->setSingleStep(step); }
void TrackBar::SetPageSize(int step) { static_cast<QSlider*>(widget_)->setPageStep(step); }
void TrackBar::SetFrequency(int ticks) { static_cast<QSlider*>(widget_)->setTickInterval(ticks); }
void TrackBar::SetTicksVisible(bool visible) {
    static_cast<QSlider*>(widget_)->setTickPosition(visible ? QSlider::TicksBothSides : QSlider::NoTicks);
}
void TrackBar::StepBy(int lines) {
    auto* s = static_cast<QSlider*>(widget_);
    s->setValue(s->value() + lines * s->singleStep());
}

// ---- UpDown

UpDown::UpDown(Form& owner, const std::string& name) : Control(new ArrowPair(owner.Client()), name) {
    auto* pair = static_cast<ArrowPair*>(widget_);
    QObject::connect(pair->up, &QToolButton::clicked, [this] { Click(UpDownButton::Up); });
    QObject::connect(pair->down, &QToolButton::clicked, [this] { Click(UpDownButton::Down); });
}
void UpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
}
void UpDown::SetIncrement(int increment) { increment_ = increment; }
void UpDown::SetPosition(int position) { position_ = std::clamp(position, min_, max_); }
int UpDown::Position() const { return position_; }
void UpDown::Click(UpDownButton button) {
    if (!Enabled()) return;
    const int step = button == UpDownButton::Up ? increment_ : -increment_;
    position_ = std::clamp(position_ + step, min_, max_);
    if (OnClick) OnClick(button);
}

// ---- ProgressBar

ProgressBar::ProgressBar(Form& owner, const std::string& name)
    : Control(new QProgressBar(owner.Client()), name) {
    auto* p = static_cast<QProgressBar*>(widget_);
    p->setTextVisible(false);
    p->setRange(0, 100);
    p->setValue(0);
}
void ProgressBar::SetRange(int min, int max) { static_cast<QProgressBar*>(widget_)->setRange(min, max); }
int ProgressBar::Max() const { return static_cast<QProgressBar*>(widget_)->maximum(); }
void ProgressBar::SetPosition(int position) {
    auto* p = static_cast<QProgressBar*>(widget_);
    p->setValue(std::clamp(position, p->minimum(), p->maximum()));
}
int ProgressBar::Position() const { return static_cast<QProgressBar*>(widget_)->value(); }

// ---- Image, Bevel

Image::Image(Form& owner, const std::string& name) : Control(new ImageWidget(owner.Client()), name) {
    static_cast<ImageWidget*>(widget_)->paint = &OnPaint;
}
void Image::Invalidate() { widget_->update(); }

Bevel::Bevel(Form& owner, const std::string& name, BevelStyle style)
    : Control(new QFrame(owner.Client()), name) {
    auto* f = static_cast<QFrame*>(widget_);
    f->setFrameStyle(QFrame::Panel | (style == BevelStyle::Raised ? QFrame::Raised : QFrame::Sunken));
    f->setLineWidth(2);
    f->setAttribute(Qt::WA_TransparentForMouseEvents);
    f->lower();
}

// ---- MenuItem

MenuItem::MenuItem(Form& owner, const std::string& name, const std::string& caption) : name_(name) {
    menu_ = owner.AddMenu(caption);
    menu_->setObjectName(Q(name));
    action_ = menu_->menuAction();
    action_->setObjectName(Q(name));
}

MenuItem::MenuItem(MenuItem& parent, const std::string& name, const std::string& caption,
                   const std::string& shortCut)
    : name_(name) {
    QMenu* menu = parent.menu_;
    if (caption == "-") {
        action_ = menu->addSeparator();
    } else {
        action_ = menu->addAction(Q(caption));
        if (!shortCut.empty()) {
            action_->setShortcut(QKeySequence(Q(shortCut)));
            // The shortcut works while the menu is closed.
            menu->parentWidget()->window()->addAction(action_);
        }
        QObject::connect(action_, &QAction::triggered, [this] {
            if (OnClick) OnClick();
        });
    }
    action_->setObjectName(Q(name));
}

MenuItem::~MenuItem() = default;

void MenuItem::SetEnabled(bool enabled) { action_->setEnabled(enabled); }
bool MenuItem::Enabled() const { return action_->isEnabled(); }
std::string MenuItem::Caption() const { return action_->text().toStdString(); }
std::string MenuItem::ShortCut() const { return action_->shortcut().toString().toStdString(); }
void MenuItem::Click() {
    if (action_->isEnabled()) action_->trigger();
}

// ---- Form

struct Form::Impl {
    FormWindow* window;  // deleted by the form
    QWidget* client;
    QMenuBar* menuBar = nullptr;
    int clientWidth = 300, clientHeight = 200;

    void Relayout() {
        const int top = menuBar ? menuBar->sizeHint().height() : 0;
        if (menuBar) menuBar->setGeometry(0, 0, clientWidth, top);
        client->setGeometry(0, top, clientWidth, clientHeight);
        window->setFixedSize(clientWidth, clientHeight + top);
    }
};

Form::Form(const std::string& name, FormKind kind) : d_(std::make_unique<Impl>()) {
    d_->window = new FormWindow(kind);
    d_->window->setObjectName(Q(name));
    d_->window->setWindowFlags(kind == FormKind::Main ? Qt::Window : Qt::Dialog);
    d_->client = new QWidget(d_->window);
    d_->client->setObjectName(Q(name + ".client"));
    d_->client->setAutoFillBackground(true);
    d_->window->onClose = [this] {
        if (OnClose) OnClose();
    };
    d_->Relayout();
}

Form::~Form() { delete d_->window; }

void Form::SetCaption(const std::string& caption) { d_->window->setWindowTitle(Q(caption)); }
std::string Form::Caption() const { return d_->window->windowTitle().toStdString(); }
void Form::SetClientSize(int width, int height) {
    d_->clientWidth = width;
    d_->clientHeight = height;
    d_->Relayout();
}
int Form::ClientWidth() const { return d_->clientWidth; }
int Form::ClientHeight() const { return d_->clientHeight; }

void Form::SetColor(TColor color) {
    QPalette p = d_->client->palette();
    p.setColor(QPalette::Window, ToQColor(color));
    d_->client->setPalette(p);
}

void Form::SetFont(const std::string& family, int pixelHeight) {
    QFont f(Q(family));
    f.setPixelSize(pixelHeight);
    d_->window->setFont(f);
}

void Form::SetSingleBorder(bool minimizeBox) {
    Qt::WindowFlags f = d_->window->windowFlags() & Qt::WindowType_Mask;
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimizeBox) f |= Qt::WindowMinimizeButtonHint;
    d_->window->setWindowFlags(f);
    d_->Relayout();
}

void Form::SetAlwaysOnTop(bool onTop) {
    d_->window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

void Form::Show() { d_->window->show(); }
int Form::ShowModal() { return d_->window->exec(); }
void Form::Close() { d_->window->close(); }
bool Form::Visible() const { return d_->window->isVisible(); }
void Form::SetModalResult(int result) { d_->window->done(result); }

int Form::RunAsMain() {
    QEventLoop loop;
    d_->window->mainLoop = &loop;
    d_->window->show();
    const int rc = loop.exec();
    d_->window->mainLoop = nullptr;
    return rc;
}

void Form::Post(TNotify work) { QTimer::singleShot(0, QCoreApplication::instance(), std::move(work)); }

bool Form::SaveScreenshot(const std::string& pngPath) {
    d_->window->ensurePolished();
    return d_->window->grab().save(Q(pngPath), "PNG");
}

QWidget* Form::Window() const { return d_->window; }
QWidget* Form::Client() const { return d_->client; }

QMenu* Form::AddMenu(const std::string& caption) {
    if (!d_->menuBar) {
        d_->menuBar = new QMenuBar(d_->window);
        d_->menuBar->setNativeMenuBar(false);
    }
    QMenu* m = d_->menuBar->addMenu(Q(caption));
    d_->Relayout();
    return m;
}

} // namespace wb::gui::widgets
