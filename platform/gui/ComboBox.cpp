#include "platform/gui/ComboBox.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

#include "platform/base/TextUtil.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

QComboBox* Box(const WidgetControl* c) { return static_cast<QComboBox*>(c->Widget()); }

// What the style needs to draw the item being drawn: the face's options, or
// a list row's with the delegate the style gave the list.
struct ItemPaint {
    QPainter* painter = nullptr;
    QWidget* widget = nullptr;
    const QStyleOptionComboBox* face = nullptr;
    const QStyleOptionViewItem* row = nullptr;
    QModelIndex index;
    QAbstractItemDelegate* styleDelegate = nullptr;
};

Rect RectOf(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

// Rows a box shows dropped down until the program says otherwise.
constexpr int kDefaultDropDownCount = 8;

// Styles that drop a box's list as a menu over the box (Fusion among them)
// show every item, up to the screen's height, whatever the row count says.
// The box keeps the application style's look but drops a list below itself,
// as many rows high as its count, with a scroll bar for the rest.
class ListDropStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

void DropAsList(QComboBox* box) {
    // A style of its own, freed with the box; the base is a new instance of
    // the application's style, as a proxy owns its base.
    auto* style = new ListDropStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(box);
    box->setStyle(style);
    box->setMaxVisibleItems(kDefaultDropDownCount);
}

} // namespace

struct ComboBox::Impl {
    const ItemPaint* current = nullptr;
    QPointer<QAbstractItemDelegate> styleDelegate;
    QAbstractItemDelegate* ownDelegate = nullptr;
    QMetaObject::Connection change;
};

class ComboPainter {
public:
    static bool OwnerDraw(const ComboBox* box) { return box && !box->Destroying() && box->ownerDraw_; }

    static void Draw(ComboBox* box, const ItemPaint& item, int index, const Rect& rect, TOwnerDrawState state) {
        QPainter& painter = *item.painter;
        painter.save();
        {
            Canvas canvas(painter);
            box->impl_->current = &item;
            RunGuarded([&] { box->DrawItem(canvas, index, rect, state); });
            box->impl_->current = nullptr;
        }
        painter.restore();
    }
};

namespace {

// The box's widget; an owner-drawn box draws its frame and button the
// style's way and its chosen item through the control.
class ComboWidget : public ControlWidget<QComboBox> {
public:
    ComboBox* box = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!ComboPainter::OwnerDraw(box)) return QComboBox::paintEvent(e);
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        ItemPaint item;
        item.painter = &painter;
        item.widget = this;
        item.face = &opt;
        const int index = currentIndex();
        // Nothing chosen: an empty face, as the style draws it.
        if (index < 0) return painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        TOwnerDrawState state = odComboBoxEdit;
        if (hasFocus()) state |= odSelected | odFocused;
        if (!isEnabled()) state |= odDisabled;
        ComboPainter::Draw(box, item, index, RectOf(field), state);
    }
};

// Draws the rows of an owner-drawn box's list through the control; sizes,
// clicks and the default look stay with the delegate the style chose.
class ComboDelegate : public QAbstractItemDelegate {
public:
    ComboDelegate(ComboBox* box, QAbstractItemDelegate* styleDelegate, QObject* parent)
        : QAbstractItemDelegate(parent), box_(box), style_(styleDelegate) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!ComboPainter::OwnerDraw(box_)) {
            if (style_) style_->paint(painter, option, index);
            return;
        }
        ItemPaint item;
        item.painter = painter;
        item.widget = const_cast<QWidget*>(option.widget);
        item.row = &option;
        item.index = index;
        item.styleDelegate = style_;
        TOwnerDrawState state = 0;
        if (option.state & QStyle::State_Selected) state |= odSelected;
        if (option.state & QStyle::State_HasFocus) state |= odFocused;
        if (!(option.state & QStyle::State_Enabled)) state |= odDisabled;
        ComboPainter::Draw(box_, item, index.row(), RectOf(option.rect), state);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return style_ ? style_->sizeHint(option, index) : QSize();
    }
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        return style_ && style_->editorEvent(event, model, option, index);
    }

private:
    ComboBox* box_;
    QPointer<QAbstractItemDelegate> style_;
};

} // namespace

const ClassInfo& ComboBox::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("ComboBox", &WidgetControl::StaticClass());
        i.Integer<ComboBox, int>("ItemIndex", &ComboBox::ItemIndex, &ComboBox::SetItemIndex);
        return i;
    }();
    return info;
}

ComboBox::ComboBox(Component* owner)
    : WidgetControl(owner, NewWidget<ComboWidget>()), impl_(std::make_unique<Impl>()) {
    auto* w = static_cast<ComboWidget*>(Widget());
    w->control = this;
    w->box = this;
    w->setEditable(false);
    DropAsList(w);
    impl_->change =
        QObject::connect(w, &QComboBox::currentIndexChanged, [this] { RunGuarded([this] { Change(); }); });
}

ComboBox::ComboBox(WinControl& parent, const std::string& name) : ComboBox(&parent) { Place(parent, name); }

// The widget outlives this part of the control: it must not call back into it.
ComboBox::~ComboBox() {
    QObject::disconnect(impl_->change);
    if (auto* w = static_cast<ComboWidget*>(Widget())) {
        w->box = nullptr;
        w->control = nullptr;
    }
    ownerDraw_ = false;
}

void ComboBox::Change() {
    if (OnChange) OnChange(this);
}

void ComboBox::DrawItem(Canvas& canvas, int index, const Rect& rect, TOwnerDrawState state) {
    if (OnDrawItem) OnDrawItem(this, canvas, index, rect, state);
    else DrawItemDefault(canvas);
}

void ComboBox::DrawItemDefault(Canvas&) {
    const ItemPaint* item = impl_->current;
    if (!item) return;
    if (item->face)
        item->widget->style()->drawControl(QStyle::CE_ComboBoxLabel, item->face, item->painter, item->widget);
    else if (item->row && item->styleDelegate)
        item->styleDelegate->paint(item->painter, *item->row, item->index);
}

void ComboBox::SetOwnerDraw(bool on) {
    if (on == ownerDraw_) return;
    ownerDraw_ = on;
    QComboBox* box = Box(this);
    if (on && !impl_->ownDelegate) {
        // Qt keeps the style's delegate as a child of the box; ours draws through it.
        impl_->styleDelegate = box->itemDelegate();
        impl_->ownDelegate = new ComboDelegate(this, impl_->styleDelegate, box);
        box->setItemDelegate(impl_->ownDelegate);
    }
    box->update();
}

void ComboBox::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (!sorted_) return;
    // Icons, data and the choice go with their items.
    struct Item {
        QString text;
        QIcon icon;
        QVariant data;
        bool chosen;
    };
    QComboBox* box = Box(this);
    std::vector<Item> items;
    for (int i = 0; i < box->count(); ++i)
        items.push_back({box->itemText(i), box->itemIcon(i), box->itemData(i), i == box->currentIndex()});
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return CompareText(a.text.toStdString(), b.text.toStdString()) < 0;
    });
    const QSignalBlocker quiet(box);
    box->clear();
    int chosen = -1;
    for (const Item& item : items) {
        if (item.chosen) chosen = box->count();
        box->addItem(item.icon, item.text, item.data);
    }
    box->setCurrentIndex(chosen);
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

void ComboBox::AddItem(const std::string& text, const Icon& icon, const std::string& data) {
    QComboBox* box = Box(this);
    const QSignalBlocker quiet(box);
    const int chosen = box->currentIndex();
    int at = box->count();
    if (sorted_)
        while (at > 0 && CompareText(text, box->itemText(at - 1).toStdString()) < 0) --at;
    box->insertItem(at, IconAccess::ToQIcon(icon), Q(text), Q(data));
    // Qt chooses the first item put into an empty box; the program has not.
    box->setCurrentIndex(chosen < 0 ? -1 : chosen + (at <= chosen ? 1 : 0));
}

void ComboBox::Clear() {
    const QSignalBlocker quiet(Box(this));
    Box(this)->clear();
}

int ComboBox::Count() const { return Box(this)->count(); }

std::string ComboBox::ItemText(int index) const { return Box(this)->itemText(index).toStdString(); }
Icon ComboBox::ItemIcon(int index) const { return IconAccess::FromQIcon(Box(this)->itemIcon(index)); }
std::string ComboBox::ItemData(int index) const { return Box(this)->itemData(index).toString().toStdString(); }
int ComboBox::IndexOfData(const std::string& data) const { return Box(this)->findData(Q(data)); }

int ComboBox::ItemIndex() const { return Box(this)->currentIndex(); }
void ComboBox::SetItemIndex(int index) { Box(this)->setCurrentIndex(index >= 0 && index < Count() ? index : -1); }
std::string ComboBox::Text() const { return ItemIndex() < 0 ? std::string() : Box(this)->currentText().toStdString(); }
void ComboBox::SetDropDownCount(int rows) { Box(this)->setMaxVisibleItems(std::max(1, rows)); }
void ComboBox::SetIconSize(int width, int height) { Box(this)->setIconSize(QSize(width, height)); }

void ComboBox::SetColor(TColor color) {
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    pal.setColor(QPalette::Button, ToQColor(color));
    Widget()->setPalette(pal);
    Invalidate();
}

// As wide as a vertical scroll bar, as the classic boxes draw it.
int ComboBox::ButtonWidth() const { return Widget()->style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

} // namespace wb::gui
