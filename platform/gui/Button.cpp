#include "platform/gui/Button.h"

#include <QPushButton>
#include <QStyle>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QPushButton* Push(const WidgetControl* c) { return static_cast<QPushButton*>(c->Widget()); }
} // namespace

const ClassInfo& Button::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Button", &WidgetControl::StaticClass());
        i.String<Button>("Caption", &Button::Caption, &Button::SetCaption);
        return i;
    }();
    return info;
}

Button::Button(Component* owner) : WidgetControl(owner, NewWidget<QPushButton>()) {
    QObject::connect(Push(this), &QPushButton::clicked, [this] { Fire(OnClick, this); });
}

Button::Button(WinControl& parent, const std::string& name, const std::string& caption) : Button(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

std::string Button::Caption() const { return Push(this)->text().toStdString(); }
void Button::SetCaption(const std::string& caption) { Push(this)->setText(Q(caption)); }
void Button::SetOkGlyph() { Push(this)->setIcon(Push(this)->style()->standardIcon(QStyle::SP_DialogOkButton)); }
bool Button::Default() const { return Push(this)->isDefault(); }
void Button::SetDefault(bool isDefault) { Push(this)->setDefault(isDefault); }
void Button::SetAutoDefault(bool autoDefault) { Push(this)->setAutoDefault(autoDefault); }
void Button::Click() { Push(this)->click(); }

} // namespace wb::gui
