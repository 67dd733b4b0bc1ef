#include "platform/gui/TrackBar.h"

#include <QSlider>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QSlider* Slider(const WidgetControl* c) { return static_cast<QSlider*>(c->Widget()); }
} // namespace

const ClassInfo& TrackBar::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("TrackBar", &WidgetControl::StaticClass());
        i.Integer<TrackBar, int>("Position", &TrackBar::Position, &TrackBar::SetPosition);
        return i;
    }();
    return info;
}

TrackBar::TrackBar(Component* owner, Orientation orientation)
    : WidgetControl(owner, NewWidget<QSlider>(orientation == Orientation::Horizontal ? Qt::Horizontal
                                                                                     : Qt::Vertical)) {
    QSlider* s = Slider(this);
    s->setInvertedAppearance(orientation == Orientation::Vertical);
    s->setInvertedControls(orientation == Orientation::Vertical);
    s->setRange(0, 10);
    s->setSingleStep(1);
    s->setPageStep(2);
    QObject::connect(s, &QSlider::valueChanged, [this] { Fire(OnChange, this); });
}

TrackBar::TrackBar(WinControl& parent, const std::string& name, Orientation orientation)
    : TrackBar(&parent, orientation) {
    Place(parent, name);
}

void TrackBar::SetRange(int min, int max) { Slider(this)->setRange(min, max); }
int TrackBar::Min() const { return Slider(this)->minimum(); }
int TrackBar::Max() const { return Slider(this)->maximum(); }
void TrackBar::SetPosition(int position) { Slider(this)->setValue(position); }
int TrackBar::Position() const { return Slider(this)->value(); }
void TrackBar::SetLineSize(int step) { Slider(this)->setSingleStep(step); }
void TrackBar::SetPageSize(int step) { Slider(this)->setPageStep(step); }
void TrackBar::SetFrequency(int ticks) { Slider(this)->setTickInterval(ticks); }
void TrackBar::SetTicksVisible(bool visible) {
    Slider(this)->setTickPosition(visible ? QSlider::TicksBothSides : QSlider::NoTicks);
}
void TrackBar::StepBy(int lines) { SetPosition(Position() + lines * Slider(this)->singleStep()); }

} // namespace wb::gui
