#include "platform/gui/Edit.h"

#include <QKeyEvent>
#include <QLineEdit>

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
// Typed characters pass the key handler first. Only single-byte keys are
// offered, as the handler sees one character; the others go through.
struct Edit::Shadow : QObject {
    explicit Shadow(Edit* e) : edit(e) { Line(e)->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        // Whatever reaches the widget (a paint, a key, a click, focus) sees
        // the text the program set.
        Flush();
        if (e->type() != QEvent::KeyPress || !edit->OnKeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        char key = 0;
        if (k->key() == Qt::Key_Backspace) key = '\b';
        else if (k->text().size() == 1 && k->text()[0].unicode() < 0x80) key = char(k->text()[0].unicode());
        if (!key) return false;
        Fire(edit->OnKeyPress, edit, key);
        return key == 0;
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
        if (!setting) Fire(edit->OnChange, edit);
    }
    Edit* edit;
    std::optional<QString> pending;
    std::string text_;  // the text of `of`, or of the pending text
    QString of;
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
