// A picture of a whole form, menu bar and own frame included.
#include "platform/gui/FormWindow.h"

#include <QPixmap>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

bool Form::SaveScreenshot(const std::string& pngPath) {
    QWidget* w = impl_->widget;
    w->ensurePolished();
    return w->grab().save(Q(pngPath), "PNG");
}

} // namespace wb::gui
