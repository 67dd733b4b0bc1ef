#include "platform/gui/PopupMenu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetControl.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

struct PopupMenu::Impl {
    QPointer<QMenu> menu;
    QMenu& Menu() {
        if (!menu) menu = NewWidget<QMenu>();
        return *menu;
    }
};

PopupMenu::PopupMenu() : impl_(std::make_unique<Impl>()) {}

PopupMenu::~PopupMenu() { delete impl_->menu.data(); }

void PopupMenu::Add(const std::string& caption, std::function<void()> onClick) {
    QMenu& menu = impl_->Menu();
    if (caption == "-") {
        menu.addSeparator();
        return;
    }
    QAction* item = menu.addAction(Q(caption));
    QObject::connect(item, &QAction::triggered, item, [onClick = std::move(onClick)] {
        if (onClick) RunGuarded(onClick);
    });
}

void PopupMenu::Clear() {
    if (!impl_->menu) return;
    // Later: the running item may belong to it.
    impl_->menu->hide();
    impl_->menu->deleteLater();
    impl_->menu = nullptr;
}

int PopupMenu::Count() const { return impl_->menu ? int(impl_->menu->actions().size()) : 0; }

std::string PopupMenu::Caption(int index) const {
    if (index < 0 || index >= Count()) return {};
    QAction* a = impl_->menu->actions()[index];
    return a->isSeparator() ? "-" : a->text().toStdString();
}

void PopupMenu::Click(int index) {
    if (index < 0 || index >= Count()) return;
    QAction* a = impl_->menu->actions()[index];
    if (!a->isSeparator() && a->isEnabled()) a->trigger();
}

void PopupMenu::Popup(WidgetControl& over, int x, int y) {
    if (!over.Widget()) return;
    impl_->Menu().popup(over.Widget()->mapToGlobal(QPoint(x, y)));
}

void PopupMenu::Close() {
    if (impl_->menu) impl_->menu->hide();
}

bool PopupMenu::Visible() const { return impl_->menu && impl_->menu->isVisible(); }

} // namespace wb::gui
