#include "platform/gui/Edit.h"

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

Edit::Edit(Component* owner) : WidgetControl(owner, NewWidget<QLineEdit>()) {
    QObject::connect(Line(this), &QLineEdit::textChanged, [this] { Fire(OnChange, this); });
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
