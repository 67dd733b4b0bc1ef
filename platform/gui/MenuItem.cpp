#include "platform/gui/MenuItem.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "platform/gui/Form.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

// The window frees its menus first when it goes before the items do.
struct MenuItem::Impl {
    QPointer<QMenu> menu;  // of a menu of the bar
    QPointer<QAction> action;
};

MenuItem::MenuItem(Form& form, const std::string& name, const std::string& caption)
    : Component(&form), impl_(std::make_unique<Impl>()) {
    SetName(name);
    impl_->menu = form.AddMenu(caption);
    impl_->menu->setObjectName(Q(name));
    impl_->action = impl_->menu->menuAction();
    impl_->action->setObjectName(Q(name));
}

MenuItem::MenuItem(MenuItem& parent, const std::string& name, const std::string& caption,
                   const std::string& shortCut)
    : Component(parent.Owner()), impl_(std::make_unique<Impl>()) {
    SetName(name);
    QMenu* menu = parent.impl_->menu;
    QAction* a = nullptr;
    if (caption == "-") {
        a = menu->addSeparator();
    } else {
        a = menu->addAction(Q(caption));
        if (!shortCut.empty()) {
            a->setShortcut(QKeySequence(Q(shortCut)));
            // The shortcut works while the menu is closed.
            menu->parentWidget()->window()->addAction(a);
        }
        QObject::connect(a, &QAction::triggered, [this] { Fire(OnClick, this); });
    }
    a->setObjectName(Q(name));
    impl_->action = a;
}

MenuItem::~MenuItem() {
    // The action must not call a handler of an item that has gone.
    if (impl_->menu) delete impl_->menu.data();
    else if (impl_->action) delete impl_->action.data();
}

void MenuItem::SetEnabled(bool enabled) { impl_->action->setEnabled(enabled); }
bool MenuItem::Enabled() const { return impl_->action->isEnabled(); }
std::string MenuItem::Caption() const { return impl_->action->text().toStdString(); }
std::string MenuItem::ShortCut() const { return impl_->action->shortcut().toString().toStdString(); }
void MenuItem::Click() {
    if (impl_->action->isEnabled()) impl_->action->trigger();
}
QAction* MenuItem::Action() const { return impl_->action; }

} // namespace wb::gui
