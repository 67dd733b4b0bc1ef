#include "platform/gui/Edit.h"

#include <QKeyEvent>
#include <QLineEdit>

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

// Typed characters pass the key handler first. Only single-byte keys are
// offered, as the handler sees one character; the others go through.
struct Edit::Keys : QObject {
    explicit Keys(Edit* e) : edit(e) { Line(e)->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !edit->OnKeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        char key = 0;
        if (k->key() == Qt::Key_Backspace) key = '\b';
        else if (k->text().size() == 1 && k->text()[0].unicode() < 0x80) key = char(k->text()[0].unicode());
        if (!key) return false;
        Fire(edit->OnKeyPress, edit, key);
        return key == 0;
    }
    Edit* edit;
};

Edit::Edit(Component* owner) : WidgetControl(owner, NewWidget<QLineEdit>()) {
    QObject::connect(Line(this), &QLineEdit::textChanged, [this] { Fire(OnChange, this); });
    keys_ = std::make_unique<Keys>(this);
}

Edit::~Edit() { keys_.reset(); }

void Edit::SetColor(TColor color) {
    QPalette p = Line(this)->palette();
    p.setColor(QPalette::Base, ToQColor(color));
    Line(this)->setPalette(p);
}

Edit::Edit(WinControl& parent, const std::string& name, const std::string& text) : Edit(&parent) {
    Place(parent, name);
    SetText(text);
}

std::string Edit::Text() const { return Line(this)->text().toStdString(); }
void Edit::SetText(const std::string& t) { Line(this)->setText(Q(t)); }
bool Edit::ReadOnly() const { return Line(this)->isReadOnly(); }
void Edit::SetReadOnly(bool readOnly) { Line(this)->setReadOnly(readOnly); }
int Edit::MaxLength() const {
    const int n = Line(this)->maxLength();
    return n >= kQtMaxLength ? 0 : n;
}
void Edit::SetMaxLength(int length) { Line(this)->setMaxLength(length > 0 ? length : kQtMaxLength); }

} // namespace wb::gui
