#include "platform/gui/Dialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <stdexcept>

#include "platform/gui/Application.h"
#include "platform/gui/EventLoop.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Image.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WidgetSupport.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/MessageBox.h"

namespace wb::gui {

namespace {

TextAlign AlignmentOf(unsigned style) {
    return (style & kCenter) ? TextAlign::Center : (style & kRight) ? TextAlign::Right : TextAlign::Left;
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
        if (auto* b = dynamic_cast<Button*>(WidgetControl::ControlOf(dialog->Window()->focusWidget()));
            b && b->Enabled()) {
            b->Click();
            return true;
        }
        for (auto& [id, c] : dialog->items_)
            if (auto* b = dynamic_cast<Button*>(c); b && b->Default() && b->Enabled()) {
                b->Click();
                return true;
            }
        dialog->Send(kIdOk, Notify::Clicked);
        return true;
    }
    Dialog* dialog;
};

// While long work runs, input that could start something is dropped, not
// kept for later (when it would start what the user no longer expects), and
// a request to close the dialog is held.
struct Dialog::Busy : QObject {
    explicit Busy(Dialog* d) : dialog(d) { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::Drop:
            case QEvent::TouchBegin:
            case QEvent::TabletPress:
                return true;
            case QEvent::Close:
                if (obj != dialog->Window()) return false;
                e->ignore();
                dialog->closeHeld_ = true;
                return true;
            default:
                return false;
        }
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

Dialog::~Dialog() {
    busy_.reset();
    keys_.reset();
}

QRect Dialog::PixelRect(int x, int y, int cx, int cy) const {
    return QRect(DluToPixelsX(x, units_), DluToPixelsY(y, units_), DluToPixelsX(cx, units_),
                 DluToPixelsY(cy, units_));
}

void Dialog::Build(const DialogTemplate& table) {
    RadioGroup* group = nullptr;
    for (const auto& c : table.controls) {
        WidgetControl* control = nullptr;
        const int id = c.id;
        if (c.kind != ControlKind::AutoRadio) group = nullptr;
        const std::string name = id != kIdNone ? "item" + std::to_string(id) : std::string();
        switch (c.kind) {
            case ControlKind::Static: {
                Child<Label> l(*this, name);
                l->SetAutoSize(false);
                l->SetCaption(c.text);
                l->SetAlignment(AlignmentOf(c.style), TextLayout::Top);
                // Texts wrap where the layout leaves room for a second line;
                // a one-line field (a path) stays on one line.
                l->SetLineWrap(DluToPixelsY(c.cy, units_) >= 2 * QFontMetrics(Window()->font()).height());
                control = l;
                break;
            }
            case ControlKind::Edit: {
                Child<Edit> e(*this, name);
                e->SetText(c.text);
                e->OnTextEdited = [this, id](Persistent*) { Send(id, Notify::Changed); };
                // Text the program sets tells the logic too, as typing does.
                if (id != kIdNone) editIds_.insert(id);
                control = e;
                break;
            }
            case ControlKind::PushButton:
            case ControlKind::DefPushButton: {
                Child<Button> b(*this, name);
                b->SetCaption(c.text);
                b->SetAutoDefault(false);
                b->SetDefault(c.kind == ControlKind::DefPushButton);
                b->OnClick = [this, id](Persistent*) { Send(id, Notify::Clicked); };
                control = b;
                break;
            }
            case ControlKind::CheckBox: {
                Child<CheckBox> b(*this, name);
                b->SetCaption(c.text);
                b->OnClick = [this, id](Persistent*) { Send(id, Notify::Clicked); };
                control = b;
                break;
            }
            case ControlKind::AutoRadio: {
                Child<RadioButton> b(*this, name);
                b->SetCaption(c.text);
                if (!group || (c.style & kGroup)) group = new RadioGroup(this);
                group->Add(*b);
                b->OnClick = [this, id](Persistent*) { Send(id, Notify::Clicked); };
                control = b;
                break;
            }
            case ControlKind::GroupBox: {
                Child<GroupBox> g(*this, name);
                g->SetCaption(c.text);
                g->SetTransparentForMouse(true);
                control = g;
                break;
            }
            case ControlKind::ProgressBar: control = Child<ProgressBar>(*this, name); break;
            case ControlKind::Icon: {
                Child<Image> image(*this, name);
                image->OnPaint = [this](Canvas& canvas, int width, int height) {
                    dialogIcon_.Draw(canvas, {0, 0, width, height});
                };
                image->SetTransparentForMouse(true);
                icons_.push_back(image);
                control = image;
                break;
            }
        }
        QRect r = PixelRect(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::Icon) r.setSize(QSize(32, 32));
        // This style's circle or box may be taller than the designed line;
        // it is drawn whole, and so is the text beside it.
        if (auto* toggle = dynamic_cast<ToggleButton*>(control))
            r.setHeight(std::max(r.height(), toggle->MinimumHeight()));
        control->SetBounds(r.x(), r.y(), r.width(), r.height());
        if (c.kind == ControlKind::GroupBox) control->SendToBack();
        if (id != kIdNone) items_[id] = control;
    }
}

void Dialog::SetDialogIcon(const QIcon& icon) {
    icon_ = icon;
    Window()->setWindowIcon(icon);
    dialogIcon_ = IconAccess::FromQIcon(icon);
    for (Image* image : icons_) image->Invalidate();
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
    ++sending_;
    Fire(handler_, id, code);
    --sending_;
    if (!busy_) CloseIfHeld();
}

// A close held during long work is carried out once the handler that did
// the work has returned, with what it showed (its message) done.
void Dialog::CloseIfHeld() {
    if (sending_ > 0 || !closeHeld_) return;
    closeHeld_ = false;
    if (!ended_ && IsWindowVisible()) Close();
}

void Dialog::BeginLongWork() {
    if (!busy_) busy_ = std::make_unique<Busy>(this);
}

void Dialog::ServeWindow() { ServeWindows(); }

void Dialog::EndLongWork() {
    busy_.reset();
    CloseIfHeld();
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
    Require(id)->SetControlText(text);
    if (editIds_.count(id)) Send(id, Notify::Changed);
}

std::string Dialog::GetItemText(int id) const { return Require(id)->ControlText(); }

void Dialog::EnableItem(int id, bool enable) { Require(id)->SetEnabled(enable); }

bool Dialog::IsItemEnabled(int id) const { return Require(id)->Enabled(); }

void Dialog::CheckItem(int id, bool checked) {
    if (auto* b = dynamic_cast<ToggleButton*>(Require(id))) b->SetChecked(checked);
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
