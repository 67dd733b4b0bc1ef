#include "platform/gui/Bevel.h"

#include <QFrame>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

Bevel::Bevel(Component* owner, BevelStyle style) : WidgetControl(owner, NewWidget<QFrame>()) {
    auto* f = static_cast<QFrame*>(Widget());
    f->setFrameStyle(QFrame::Panel | (style == BevelStyle::Raised ? QFrame::Raised : QFrame::Sunken));
    f->setLineWidth(2);
    f->setAttribute(Qt::WA_TransparentForMouseEvents);
}

Bevel::Bevel(WinControl& parent, const std::string& name, BevelStyle style) : Bevel(&parent, style) {
    Place(parent, name);
    // Drawn below the controls it frames.
    Widget()->lower();
}

} // namespace wb::gui
