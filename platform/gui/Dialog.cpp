#include "platform/gui/Dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <stdexcept>

#include "platform/gui/Application.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/MessageBox.h"

namespace wb::gui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A group box as the classic dialogs draw it: the frame's top line runs
// through the middle of the caption, so the frame holds the whole rectangle
// the layout gives it.
class GroupFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QFontMetrics fm(font());
        // An etched line: a shadow line with a light one just inside it.
        QRect r = rect().adjusted(0, fm.height() / 2, -2, -2);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r);
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(r.translated(1, 1));
        if (title().isEmpty()) return;
        const int x = fm.averageCharWidth() * 3 / 2;
        QRect text(x, 0, fm.horizontalAdvance(title()) + fm.averageCharWidth(), fm.height());
        p.fillRect(text, palette().window());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, title());
    }
};

Qt::Alignment AlignmentOf(unsigned style) {
    Qt::Alignment h = (style & kCenter) ? Qt::AlignHCenter : (style & kRight) ? Qt::AlignRight : Qt::AlignLeft;
    return h | Qt::AlignTop;
}

} // namespace

BaseUnits BaseUnitsOf(const QFont& font) {
    QFontMetrics fm(font);
    BaseUnits b;
    b.cx = std::max(1, AverageCharWidth(
                           fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    b.cy = std::max(1, fm.height());
    return b;
}

QFont DialogFont(const std::string&, int pointSize) {
    // The designed faces are the old system's dialog fonts; a font matcher
    // may give any face for their names (a serif one for "MS Sans Serif"),
    // so every dialog takes the desktop's own sans font at the designed size.
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(pointSize > 0 ? pointSize : 8);
    return f;
}

Dialog::Dialog(const DialogTemplate& table, QWidget* parent) : QDialog(parent) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (table.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setWindowTitle(Q(table.caption));
    setFont(DialogFont(table.fontName, table.pointSize));
    units_ = BaseUnitsOf(font());
    setFixedSize(DluToPixelsX(table.cx, units_), DluToPixelsY(table.cy, units_));
    windowMenu_ = new QMenu(this);
    Build(table);
}

Dialog::~Dialog() = default;

QRect Dialog::PixelRect(int x, int y, int cx, int cy) const {
    return QRect(DluToPixelsX(x, units_), DluToPixelsY(y, units_), DluToPixelsX(cx, units_),
                 DluToPixelsY(cy, units_));
}

void Dialog::Build(const DialogTemplate& table) {
    QButtonGroup* group = nullptr;
    for (const auto& c : table.controls) {
        QWidget* w = nullptr;
        const int id = c.id;
        if (c.kind != ControlKind::AutoRadio) group = nullptr;
        switch (c.kind) {
            case ControlKind::Static: {
                auto* l = new QLabel(Q(c.text), this);
                l->setTextFormat(Qt::PlainText);
                l->setAlignment(AlignmentOf(c.style));
                // Texts wrap where the layout leaves room for a second line;
                // a one-line field (a path) stays on one line.
                l->setWordWrap(DluToPixelsY(c.cy, units_) >= 2 * QFontMetrics(font()).height());
                w = l;
                break;
            }
            case ControlKind::Edit: {
                auto* e = new QLineEdit(Q(c.text), this);
                connect(e, &QLineEdit::textEdited, this, [this, id] { Send(id, Notify::Changed); });
                w = e;
                break;
            }
            case ControlKind::PushButton:
            case ControlKind::DefPushButton: {
                auto* b = new QPushButton(Q(c.text), this);
                // Enter is routed by keyPressEvent as the classic dialogs did;
                // Qt's own choice of a default button would differ.
                b->setAutoDefault(false);
                b->setDefault(c.kind == ControlKind::DefPushButton);
                connect(b, &QPushButton::clicked, this, [this, id] { Send(id, Notify::Clicked); });
                w = b;
                break;
            }
            case ControlKind::CheckBox: {
                auto* b = new QCheckBox(Q(c.text), this);
                connect(b, &QCheckBox::clicked, this, [this, id] { Send(id, Notify::Clicked); });
                w = b;
                break;
            }
            case ControlKind::AutoRadio: {
                auto* b = new QRadioButton(Q(c.text), this);
                if (!group || (c.style & kGroup)) {
                    group = new QButtonGroup(this);
                    group->setExclusive(true);
                }
                group->addButton(b);
                if (id != kIdNone) radioGroupOf_[id] = group;
                connect(b, &QRadioButton::clicked, this, [this, id] { Send(id, Notify::Clicked); });
                w = b;
                break;
            }
            case ControlKind::GroupBox: {
                auto* g = new GroupFrame(Q(c.text), this);
                g->setAttribute(Qt::WA_TransparentForMouseEvents);
                w = g;
                break;
            }
            case ControlKind::ProgressBar: {
                auto* p = new QProgressBar(this);
                p->setRange(0, 100);
                p->setValue(0);
                p->setTextVisible(false);
                w = p;
                break;
            }
            case ControlKind::Icon: {
                auto* l = new QLabel(this);
                l->setObjectName("wbIcon");
                w = l;
                break;
            }
        }
        QRect r = PixelRect(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::Icon) r.setSize(QSize(32, 32));
        if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::AutoRadio) {
            // This style's circle or box may be taller than the designed
            // line; it is drawn whole, and so is the text beside it.
            const int indicator = w->style()->pixelMetric(
                c.kind == ControlKind::AutoRadio ? QStyle::PM_ExclusiveIndicatorHeight
                                                 : QStyle::PM_IndicatorHeight,
                nullptr, w);
            r.setHeight(std::max({r.height(), indicator, w->fontMetrics().height()}));
        }
        w->setGeometry(r);
        if (c.kind == ControlKind::GroupBox) w->lower();
        if (id != kIdNone) {
            w->setObjectName(QString("item%1").arg(id));
            items_[id] = w;
        }
    }
}

void Dialog::SetDialogIcon(const QIcon& icon) {
    icon_ = icon;
    setWindowIcon(icon);
    for (auto* l : findChildren<QLabel*>("wbIcon")) l->setPixmap(icon.pixmap(32, 32));
}

int Dialog::Run(const std::function<void()>& onOpen) {
    ended_ = false;
    if (onOpen) {
        try {
            onOpen();
        } catch (...) {
            Application::ReportException(std::current_exception());
        }
    }
    if (ended_) return endResult_;
    int r = exec();
    return ended_ ? endResult_ : r;
}

QWidget* Dialog::Item(int id) const {
    auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second;
}

QWidget* Dialog::Require(int id) const {
    QWidget* w = Item(id);
    if (!w) throw std::out_of_range("The dialog \"" + windowTitle().toStdString() +
                                    "\" has no control with id " + std::to_string(id) + ".");
    return w;
}

void Dialog::Send(int id, Notify code) {
    if (!handler_) {
        if (code == Notify::Clicked && (id == kIdOk || id == kIdCancel)) EndDialog(id);
        return;
    }
    // A handler's exception is shown here, so the dialog goes on.
    try {
        handler_(id, code);
    } catch (...) {
        Application::ReportException(std::current_exception());
    }
}

void Dialog::SetItemText(int id, const std::string& text) {
    QWidget* w = Require(id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(Q(text));
        Send(id, Notify::Changed);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(Q(text));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(Q(text));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(Q(text));
    }
}

std::string Dialog::GetItemText(int id) const {
    QWidget* w = Require(id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
    return {};
}

void Dialog::EnableItem(int id, bool enable) { Require(id)->setEnabled(enable); }

bool Dialog::IsItemEnabled(int id) const { return Require(id)->isEnabled(); }

void Dialog::CheckItem(int id, bool checked) {
    auto* b = qobject_cast<QAbstractButton*>(Require(id));
    if (!b) return;
    // An exclusive group refuses to clear its checked button; the program
    // may clear it all the same.
    auto g = radioGroupOf_.find(id);
    if (!checked && g != radioGroupOf_.end()) {
        g->second->setExclusive(false);
        b->setChecked(false);
        g->second->setExclusive(true);
    } else {
        b->setChecked(checked);
    }
}

bool Dialog::IsItemChecked(int id) const {
    auto* b = qobject_cast<QAbstractButton*>(Require(id));
    return b && b->isChecked();
}

void Dialog::SetProgressRange(int id, int low, int high) {
    if (auto* p = qobject_cast<QProgressBar*>(Require(id))) p->setRange(low, high);
}

void Dialog::SetProgressPos(int id, int pos) {
    if (auto* p = qobject_cast<QProgressBar*>(Require(id))) {
        p->setValue(pos);
        // Long work runs inside one handler; paint now so the bar moves.
        p->repaint();
    }
}

int Dialog::GetProgressPos(int id) const {
    auto* p = qobject_cast<QProgressBar*>(Require(id));
    return p ? p->value() : 0;
}

void Dialog::MessageBox(const std::string& text, MsgKind kind) { ShowMessage(text, kind, this); }

std::optional<std::string> Dialog::OpenFileDialog(const OpenFileOptions& options) {
    return ShowOpenFileDialog(options, this);
}

void Dialog::SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }

void Dialog::EndDialog(int result) {
    ended_ = true;
    endResult_ = result;
    if (isVisible()) done(result);
}

void Dialog::AppendSystemMenuItem(int commandId, const std::string& text) {
    if (!windowMenu_->isEmpty()) windowMenu_->addSeparator();
    QAction* a = windowMenu_->addAction(Q(text));
    a->setData(commandId);
    connect(a, &QAction::triggered, this, [this, commandId] {
        if (!sysHandler_) return;
        try {
            sysHandler_(commandId);
        } catch (...) {
            Application::ReportException(std::current_exception());
        }
    });
}

void Dialog::SetSysCommandHandler(SysCommandHandler handler) { sysHandler_ = std::move(handler); }

void Dialog::contextMenuEvent(QContextMenuEvent* event) {
    if (windowMenu_->isEmpty()) return QDialog::contextMenuEvent(event);
    windowMenu_->exec(event->globalPos());
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // A focused button takes Enter, then the default button; with
            // neither, Enter means OK.
            if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled()) {
                b->click();
                return;
            }
            for (auto& [id, w] : items_)
                if (auto* b = qobject_cast<QPushButton*>(w); b && b->isDefault() && b->isEnabled()) {
                    b->click();
                    return;
                }
            Send(kIdOk, Notify::Clicked);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void Dialog::reject() {
    // Esc and the close box; the dialog ends only when its logic says so.
    if (handler_) Send(kIdCancel, Notify::Clicked);
    else EndDialog(kIdCancel);
}

int QtDialogRunner::RunModal(const DialogTemplate& table, const OpenHandler& onOpen) {
    Dialog dlg(table, QApplication::activeModalWidget());
    if (!icon_.isNull()) dlg.SetDialogIcon(icon_);
    return dlg.Run([&] {
        if (onOpen) onOpen(dlg);
    });
}

} // namespace wb::gui
