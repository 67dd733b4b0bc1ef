#include "platform/gui/PageControl.h"

#include <QTabWidget>
#include <algorithm>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QTabWidget* Tabs(const PageControl* pc) { return static_cast<QTabWidget*>(pc->Widget()); }
} // namespace

const ClassInfo& TabSheet::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("TabSheet", &WidgetControl::StaticClass());
        i.String<TabSheet>("Caption", &TabSheet::Caption, &TabSheet::SetCaption);
        return i;
    }();
    return info;
}

TabSheet::TabSheet(Component* owner) : WidgetControl(owner, NewWidget<QWidget>()) {}

TabSheet::~TabSheet() {
    Destroying_();
    NotifyFreeing();
    SetPageControl(nullptr);
}

void TabSheet::SetParent(WinControl* parent) { SetPageControl(dynamic_cast<PageControl*>(parent)); }
// The tabs show and hide their pages themselves.
void TabSheet::SetVisible(bool visible) { WinControl::SetVisible(visible); }

void TabSheet::SetCaption(const std::string& c) {
    caption_ = c;
    if (!pageControl_) return;
    int i = Tabs(pageControl_)->indexOf(Widget());
    if (i >= 0) Tabs(pageControl_)->setTabText(i, Q(c));
}

void TabSheet::SetPageControl(PageControl* pc) {
    if (pc == pageControl_) return;
    if (pageControl_) {
        int i = Tabs(pageControl_)->indexOf(Widget());
        if (i >= 0) Tabs(pageControl_)->removeTab(i);
        auto& pages = pageControl_->pages_;
        pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
        Widget()->setParent(nullptr);
    }
    pageControl_ = pc;
    WinControl::SetParent(pc);
    if (pc) {
        pc->pages_.push_back(this);
        Tabs(pc)->addTab(Widget(), Q(caption_));
    }
}

const ClassInfo& PageControl::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("PageControl", &WidgetControl::StaticClass());
        i.Object<PageControl, TabSheet>("ActivePage", TabSheet::StaticClass(), &PageControl::ActivePage,
                                        &PageControl::SetActivePage);
        return i;
    }();
    return info;
}

PageControl::PageControl(Component* owner) : WidgetControl(owner, NewWidget<QTabWidget>()) {
    QObject::connect(Tabs(this), &QTabWidget::currentChanged, [this] {
        if (!Destroying()) Fire(OnChange, this);
    });
}

PageControl::~PageControl() {
    Destroying_();
    NotifyFreeing();
    // The pages go while the tabs they leave are still whole.
    DestroyControls();
}

TabSheet* PageControl::ActivePage() const {
    if (noPage_) return nullptr;
    QWidget* current = Tabs(this)->currentWidget();
    for (TabSheet* p : pages_)
        if (p->Widget() == current) return p;
    return nullptr;
}

void PageControl::SetActivePage(TabSheet* page) {
    // Qt always shows some tab; "no page" is kept here.
    noPage_ = !page || page->GetPageControl() != this;
    if (!noPage_) Tabs(this)->setCurrentWidget(page->Widget());
}

} // namespace wb::gui
