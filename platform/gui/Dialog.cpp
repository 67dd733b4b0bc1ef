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
#include "platform/gui/Guard.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WidgetSupport.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/MessageBox.h"

namespace wb::gui {

namespace {

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

// Enter is routed as the classic dialogs did (Qt's own choice of a default
// button would differ); a right click on the background opens the window menu.
struct Dialog::Keys : QObject {
    explicit Keys(Dialog* d) : dialog(d) { d->Window()->installEventFilter(this); }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (obj != dialog->Window()) return false;
        if (e->type() == QEvent::ContextMenu) {
            if (dialog->windowMenu_->isEmpty()) return false;
            dialog->windowMenu_->exec(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        }
        if (e->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier) return false;
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        // A focused button takes Enter, then the default button; with
        // neither, Enter means OK.
        if (auto* b = qobject_cast<QPushButton*>(dialog->Window()->focusWidget()); b && b->isEnabled()) {
            b->click();
            return true;
        }
        for (auto& [id, c] : dialog->items_)
            if (auto* b = dynamic_cast<Button*>(c); b && b->Default() && b->Widget()->isEnabled()) {
                b->Click();
                return true;
            }
        dialog->Send(kIdOk, Notify::Clicked);
        return true;
    }
    Dialog* dialog;
};

Dialog::Dialog(const DialogTemplate& table, QWidget* parent) : Form(nullptr, FormKind::Dialog) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (table.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    Window()->setParent(parent, flags);
    SetCaption(table.caption);
    Window()->setFont(DialogFont(table.fontName, table.pointSize));
    units_ = BaseUnitsOf(Window()->font());
    SetClientSize(DluToPixelsX(table.cx, units_), DluToPixelsY(table.cy, units_));
    windowMenu_ = new QMenu(Window());
    keys_ = std::make_unique<Keys>(this);
    // Esc and the close box ask the logic; the dialog ends only when it says so.
    OnCloseQuery = [this](Persistent*, bool& canClose) { Ask(canClose); };
    Build(table);
}

Dialog::~Dialog() { keys_.reset(); }

QRect Dialog::PixelRect(int x, int y, int cx, int cy) const {
    return QRect(DluToPixelsX(x, units_), DluToPixelsY(y, units_), DluToPixelsX(cx, units_),
                 DluToPixelsY(cy, units_));
}

void Dialog::Build(const DialogTemplate& table) {
    QButtonGroup* group = nullptr;
    for (const auto& c : table.controls) {
        WidgetControl* control = nullptr;
        const int id = c.id;
        if (c.kind != ControlKind::AutoRadio) group = nullptr;
        switch (c.kind) {
            case ControlKind::Static: {
                auto* l = new Label(this);
                l->SetAutoSize(false);
                l->SetCaption(c.text);
                auto* text = static_cast<QLabel*>(l->Widget());
                text->setAlignment(AlignmentOf(c.style));
                // Texts wrap where the layout leaves room for a second line;
                // a one-line field (a path) stays on one line.
                text->setWordWrap(DluToPixelsY(c.cy, units_) >= 2 * QFontMetrics(Window()->font()).height());
                control = l;
                break;
            }
            case ControlKind::Edit: {
                auto* e = new Edit(this);
                e->SetText(c.text);
                QObject::connect(static_cast<QLineEdit*>(e->Widget()), &QLineEdit::textEdited, Window(),
                                 [this, id] { Send(id, Notify::Changed); });
                control = e;
                break;
            }
            case ControlKind::PushButton:
            case ControlKind::DefPushButton: {
                auto* b = new Button(this);
                b->SetCaption(c.text);
                static_cast<QPushButton*>(b->Widget())->setAutoDefault(false);
                b->SetDefault(c.kind == ControlKind::DefPushButton);
                b->OnClick = [this, id](Persistent*) { Send(id, Notify::Clicked); };
                control = b;
                break;
            }
            case ControlKind::CheckBox: {
                auto* b = new CheckBox(this);
                b->SetCaption(c.text);
                b->OnClick = [this, id](Persistent*) { Send(id, Notify::Clicked); };
                control = b;
                break;
            }
            case ControlKind::AutoRadio: {
                auto* b = new RadioButton(this);
                b->SetCaption(c.text);
                if (!group || (c.style & kGroup)) {
                    group = new QButtonGroup(Window());
                    group->setExclusive(true);
                }
                group->addButton(static_cast<QRadioButton*>(b->Widget()));
                if (id != kIdNone) radioGroupOf_[id] = group;
                b->OnClick = [this, id](Persistent*) { Send(id, Notify::Clicked); };
                control = b;
                break;
            }
            case ControlKind::GroupBox: {
                auto* g = new GroupBox(this);
                g->SetCaption(c.text);
                g->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
                control = g;
                break;
            }
            case ControlKind::ProgressBar: control = new ProgressBar(this); break;
            case ControlKind::Icon: {
                auto* l = new Label(this);
                l->SetAutoSize(false);
                icons_.push_back(l->Widget());
                control = l;
                break;
            }
        }
        control->SetParent(this);
        QRect r = PixelRect(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::Icon) r.setSize(QSize(32, 32));
        if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::AutoRadio) {
            // This style's circle or box may be taller than the designed
            // line; it is drawn whole, and so is the text beside it.
            QWidget* w = control->Widget();
            const int indicator = w->style()->pixelMetric(
                c.kind == ControlKind::AutoRadio ? QStyle::PM_ExclusiveIndicatorHeight
                                                 : QStyle::PM_IndicatorHeight,
                nullptr, w);
            r.setHeight(std::max({r.height(), indicator, w->fontMetrics().height()}));
        }
        control->SetBounds(r.x(), r.y(), r.width(), r.height());
        if (c.kind == ControlKind::GroupBox) control->Widget()->lower();
        if (id != kIdNone) {
            control->Widget()->setObjectName(QString("item%1").arg(id));
            items_[id] = control;
        }
    }
}

void Dialog::SetDialogIcon(const QIcon& icon) {
    icon_ = icon;
    Window()->setWindowIcon(icon);
    for (QWidget* w : icons_) static_cast<QLabel*>(w)->setPixmap(icon.pixmap(32, 32));
}

int Dialog::Run(const std::function<void()>& onOpen) {
    ended_ = false;
    if (onOpen) RunGuarded(onOpen);
    if (ended_) return endResult_;
    int r = ShowModal();
    return ended_ ? endResult_ : r;
}

QWidget* Dialog::Item(int id) const {
    auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second->Widget();
}

WidgetControl* Dialog::Require(int id) const {
    auto it = items_.find(id);
    if (it == items_.end())
        throw std::out_of_range("The dialog \"" + Caption() + "\" has no control with id " + std::to_string(id) +
                                ".");
    return it->second;
}

void Dialog::Send(int id, Notify code) {
    if (!handler_) {
        if (code == Notify::Clicked && (id == kIdOk || id == kIdCancel)) EndDialog(id);
        return;
    }
    Fire(handler_, id, code);
}

void Dialog::Ask(bool& canClose) {
    if (!ended_) {
        asking_ = true;
        Send(kIdCancel, Notify::Clicked);
        asking_ = false;
    }
    canClose = ended_;
}

void Dialog::SetItemText(int id, const std::string& text) {
    WidgetControl* c = Require(id);
    if (auto* e = dynamic_cast<Edit*>(c)) {
        e->SetText(text);
        Send(id, Notify::Changed);
    } else if (auto* l = dynamic_cast<Label*>(c)) {
        l->SetCaption(text);
    } else if (auto* b = dynamic_cast<Button*>(c)) {
        b->SetCaption(text);
    } else if (auto* t = dynamic_cast<ToggleButton*>(c)) {
        t->SetCaption(text);
    } else if (auto* g = dynamic_cast<GroupBox*>(c)) {
        g->SetCaption(text);
    }
}

std::string Dialog::GetItemText(int id) const {
    WidgetControl* c = Require(id);
    if (auto* e = dynamic_cast<Edit*>(c)) return e->Text();
    if (auto* l = dynamic_cast<Label*>(c)) return l->Caption();
    if (auto* b = dynamic_cast<Button*>(c)) return b->Caption();
    if (auto* t = dynamic_cast<ToggleButton*>(c)) return t->Caption();
    if (auto* g = dynamic_cast<GroupBox*>(c)) return g->Caption();
    return {};
}

void Dialog::EnableItem(int id, bool enable) { Require(id)->SetEnabled(enable); }

bool Dialog::IsItemEnabled(int id) const { return Require(id)->Widget()->isEnabled(); }

void Dialog::CheckItem(int id, bool checked) {
    auto* b = dynamic_cast<ToggleButton*>(Require(id));
    if (!b) return;
    // An exclusive group refuses to clear its checked button; the program
    // may clear it all the same.
    auto g = radioGroupOf_.find(id);
    if (!checked && g != radioGroupOf_.end()) {
        g->second->setExclusive(false);
        b->SetChecked(false);
        g->second->setExclusive(true);
    } else {
        b->SetChecked(checked);
    }
}

bool Dialog::IsItemChecked(int id) const {
    auto* b = dynamic_cast<ToggleButton*>(Require(id));
    return b && b->Checked();
}

void Dialog::SetProgressRange(int id, int low, int high) {
    if (auto* p = dynamic_cast<ProgressBar*>(Require(id))) p->SetRange(low, high);
}

void Dialog::SetProgressPos(int id, int pos) {
    if (auto* p = dynamic_cast<ProgressBar*>(Require(id))) p->SetPosition(pos);
}

int Dialog::GetProgressPos(int id) const {
    auto* p = dynamic_cast<ProgressBar*>(Require(id));
    return p ? p->Position() : 0;
}

void Dialog::MessageBox(const std::string& text, MsgKind kind) { ShowMessage(text, kind, Window()); }

std::optional<std::string> Dialog::OpenFileDialog(const OpenFileOptions& options) {
    return ShowOpenFileDialog(options, Window());
}

void Dialog::SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }

void Dialog::EndDialog(int result) {
    ended_ = true;
    endResult_ = result;
    // Inside the close query the window closes once the query returns.
    if (!asking_ && IsWindowVisible()) Close();
}

void Dialog::AppendSystemMenuItem(int commandId, const std::string& text) {
    if (!windowMenu_->isEmpty()) windowMenu_->addSeparator();
    QAction* a = windowMenu_->addAction(Q(text));
    a->setData(commandId);
    QObject::connect(a, &QAction::triggered, Window(), [this, commandId] { Fire(sysHandler_, commandId); });
}

void Dialog::SetSysCommandHandler(SysCommandHandler handler) { sysHandler_ = std::move(handler); }

int QtDialogRunner::RunModal(const DialogTemplate& table, const OpenHandler& onOpen) {
    Dialog dlg(table, QApplication::activeModalWidget());
    if (!icon_.isNull()) dlg.SetDialogIcon(icon_);
    return dlg.Run([&] {
        if (onOpen) onOpen(dlg);
    });
}

} // namespace wb::gui
