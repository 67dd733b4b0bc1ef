#include "platform/gui/Edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <optional>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QLineEdit* Line(const WidgetControl* c) { return static_cast<QLineEdit*>(c->Widget()); }
// Qt's own limit; the edit has no smaller one until it is given one.
constexpr int kQtMaxLength = 32767;
} // namespace

const ClassInfo& Edit::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Edit", &WidgetControl::StaticClass());
        i.String<Edit>("Text", &Edit::Text, &Edit::SetText);
        return i;
    }();
    return info;
}

// Holds the text the program set until the widget needs it, and the text
// as a std::string, as the program reads it far more often than it changes.
// As the widget's validator it sees every change the user makes (typed,
// pasted, dropped, undone), so the key handler judges each character that
// would be inserted, whatever road it comes by; shortcuts such as Ctrl+C
// insert nothing and never reach it. An insertion of which the handler drops
// a character is refused whole, as a numeric box refuses a paste with a
// letter in it. Only single-byte characters are offered, as the handler sees
// one character; the others go through.
struct Edit::Shadow : QValidator {
    explicit Shadow(Edit* e) : edit(e) {
        Line(e)->installEventFilter(this);
        Line(e)->setValidator(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        // Whatever reaches the widget (a paint, a key, a click, focus) sees
        // the text the program set.
        Flush();
        if (e->type() != QEvent::KeyPress || !edit->OnKeyPress) return false;
        // The keys the handler sees that insert nothing.
        char key = 0;
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_Backspace: key = '\b'; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: key = '\r'; break;
        case Qt::Key_Escape: key = '\x1b'; break;
        default: return false;
        }
        Fire(edit->OnKeyPress, edit, key);
        return key == 0;
    }
    State validate(QString& input, int&) const override { return Admits(input) ? Acceptable : Invalid; }
    // What the change from `before` to `input` inserts, offered character by character.
    bool Admits(const QString& input) const {
        if (setting || !edit->OnKeyPress) return true;
        const qsizetype common = std::min(before.size(), input.size());
        qsizetype head = 0, tail = 0;
        while (head < common && before[head] == input[head]) ++head;
        while (tail < common - head && before[before.size() - 1 - tail] == input[input.size() - 1 - tail]) ++tail;
        for (qsizetype i = head; i < input.size() - tail; ++i) {
            const char16_t c = input[i].unicode();
            if (c >= 0x80) continue;
            char key = char(c);
            Fire(edit->OnKeyPress, edit, key);
            if (key == 0) return false;
        }
        return true;
    }
    QString Current() const { return pending ? *pending : Line(edit)->text(); }
    void Set(QString text) {
        if (text.size() > Line(edit)->maxLength()) text.truncate(Line(edit)->maxLength());
        if (text == Current()) return;  // as the widget, no change and no event
        text_ = text.toStdString();
        of = text;
        pending = std::move(text);
        if (!posted) {
            posted = true;
            QMetaObject::invokeMethod(this, [this] { Flush(); }, Qt::QueuedConnection);
        }
        Fire(edit->OnChange, edit);
    }
    void Flush() {
        posted = false;
        if (!pending) return;
        QString text = std::move(*pending);
        pending.reset();
        setting = true;
        Line(edit)->setText(text);
        setting = false;
    }
    const std::string& Text() {
        if (pending) return text_;
        // Signals of the widget may reach other handlers before ours, so the
        // copy is checked against the widget's text, not kept by a signal.
        const QString now = Line(edit)->text();
        if (now != of) {
            text_ = now.toStdString();
            of = now;
        }
        return text_;
    }
    // A change in the widget itself: typed, pasted, cut by a new limit.
    void Changed() {
        before = Line(edit)->text();
        if (!setting) Fire(edit->OnChange, edit);
    }
    Edit* edit;
    std::optional<QString> pending;
    std::string text_;  // the text of `of`, or of the pending text
    QString of;
    QString before;  // the widget's text before the change being validated
    bool posted = false, setting = false;
};

Edit::Edit(Component* owner) : WidgetControl(owner, NewWidget<QLineEdit>()) {
    shadow_ = std::make_unique<Shadow>(this);
    QObject::connect(Line(this), &QLineEdit::textChanged, shadow_.get(), [this] { shadow_->Changed(); });
    QObject::connect(Line(this), &QLineEdit::textEdited, shadow_.get(), [this] { Fire(OnTextEdited, this); });
}

Edit::~Edit() { shadow_.reset(); }

void Edit::SetColor(TColor color) {
    QPalette p = Line(this)->palette();
    p.setColor(QPalette::Base, ToQColor(color));
    Line(this)->setPalette(p);
}

Edit::Edit(WinControl& parent, const std::string& name, const std::string& text) : Edit(&parent) {
    Place(parent, name);
    SetText(text);
}

std::string Edit::Text() const { return shadow_->Text(); }
void Edit::SetText(const std::string& t) { shadow_->Set(Q(t)); }
bool Edit::ReadOnly() const { return Line(this)->isReadOnly(); }
void Edit::SetReadOnly(bool readOnly) { Line(this)->setReadOnly(readOnly); }
int Edit::MaxLength() const {
    const int n = Line(this)->maxLength();
    return n >= kQtMaxLength ? 0 : n;
}
void Edit::SetMaxLength(int length) {
    shadow_->Flush();
    Line(this)->setMaxLength(length > 0 ? length : kQtMaxLength);
}

} // namespace wb::gui
