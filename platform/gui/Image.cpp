#include "platform/gui/Image.h"

#include <QPainter>
#include <QWidget>

#include "platform/gui/Canvas.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

class ImageWidget : public QWidget {
public:
    Image* image = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!image || !image->OnPaint) return;
        QPainter p(this);
        Canvas c(p);
        Fire(image->OnPaint, c, width(), height());
    }
};

} // namespace

Image::Image(Component* owner) : WidgetControl(owner, NewWidget<ImageWidget>()) {
    static_cast<ImageWidget*>(Widget())->image = this;
}

Image::Image(WinControl& parent, const std::string& name) : Image(&parent) { Place(parent, name); }

} // namespace wb::gui
