#include "platform/gui/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

// Two stacked arrows, as the platform's up-down control has them.
class ArrowPair : public QWidget {
public:
    ArrowPair() {
        up = new QToolButton(this);
        down = new QToolButton(this);
        up->setArrowType(Qt::UpArrow);
        down->setArrowType(Qt::DownArrow);
        up->setObjectName("up");
        down->setObjectName("down");
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
        box->addWidget(up);
        box->addWidget(down);
        for (auto* b : {up, down}) b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QToolButton* up;
    QToolButton* down;
};

} // namespace

const ClassInfo& UpDown::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("UpDown", &WidgetControl::StaticClass());
        i.Integer<UpDown, int>("Position", &UpDown::Position, &UpDown::SetPosition);
        return i;
    }();
    return info;
}

UpDown::UpDown(Component* owner) : WidgetControl(owner, NewWidget<ArrowPair>()) {
    auto* pair = static_cast<ArrowPair*>(Widget());
    QObject::connect(pair->up, &QToolButton::clicked, [this] { Click(UpDownButton::Up); });
    QObject::connect(pair->down, &QToolButton::clicked, [this] { Click(UpDownButton::Down); });
}

UpDown::UpDown(WinControl& parent, const std::string& name) : UpDown(&parent) { Place(parent, name); }

void UpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
}
void UpDown::SetIncrement(int increment) { increment_ = increment; }
void UpDown::SetPosition(int position) { position_ = std::clamp(position, min_, max_); }

void UpDown::Click(UpDownButton button) {
    if (!Enabled()) return;
    const int step = button == UpDownButton::Up ? increment_ : -increment_;
    position_ = std::clamp(position_ + step, min_, max_);
    Fire(OnClick, this, button);
}

} // namespace wb::gui
