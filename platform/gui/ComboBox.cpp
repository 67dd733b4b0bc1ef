#include "platform/gui/ComboBox.h"

#include <QComboBox>
#include <algorithm>

#include "platform/base/TextUtil.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QComboBox* Box(const WidgetControl* c) { return static_cast<QComboBox*>(c->Widget()); }
} // namespace

const ClassInfo& ComboBox::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("ComboBox", &WidgetControl::StaticClass());
        i.Integer<ComboBox, int>("ItemIndex", &ComboBox::ItemIndex, &ComboBox::SetItemIndex);
        return i;
    }();
    return info;
}

ComboBox::ComboBox(Component* owner) : WidgetControl(owner, NewWidget<QComboBox>()) {
    Box(this)->setEditable(false);
    QObject::connect(Box(this), &QComboBox::currentIndexChanged, [this] { Fire(OnChange, this); });
}

ComboBox::ComboBox(WinControl& parent, const std::string& name) : ComboBox(&parent) { Place(parent, name); }

void ComboBox::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) SetItems(Items());
}

void ComboBox::SetItems(const std::vector<std::string>& items) {
    std::vector<std::string> shown = items;
    if (sorted_)
        std::stable_sort(shown.begin(), shown.end(),
                         [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    QComboBox* box = Box(this);
    const QSignalBlocker quiet(box);
    box->clear();
    for (const auto& s : shown) box->addItem(Q(s));
    box->setCurrentIndex(-1);
}

std::vector<std::string> ComboBox::Items() const {
    std::vector<std::string> out;
    for (int i = 0; i < Box(this)->count(); ++i) out.push_back(Box(this)->itemText(i).toStdString());
    return out;
}

int ComboBox::Count() const { return Box(this)->count(); }
int ComboBox::ItemIndex() const { return Box(this)->currentIndex(); }
void ComboBox::SetItemIndex(int index) { Box(this)->setCurrentIndex(index >= 0 && index < Count() ? index : -1); }
std::string ComboBox::Text() const { return ItemIndex() < 0 ? std::string() : Box(this)->currentText().toStdString(); }
void ComboBox::SetDropDownCount(int rows) { Box(this)->setMaxVisibleItems(std::max(1, rows)); }

} // namespace wb::gui
