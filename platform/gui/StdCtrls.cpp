#include "platform/gui/StdCtrls.h"

#include <algorithm>

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVariant>

#include "platform/gui/ScreenInfo.h"

namespace wb::gui {

namespace {

void MarkWidget(QWidget* w, Control* c) {
    w->setProperty("wbControl", QVariant::fromValue(reinterpret_cast<quintptr>(c)));
}

void Reparent(QWidget* w, WinControl* parent, bool visible) {
    w->setParent(parent ? static_cast<QWidget*>(parent->NativeWidget()) : nullptr);
    if (parent && visible) w->show();
}

} // namespace

// ---- check box

struct CheckBox::Impl {
    QCheckBox box;
};

const ClassInfo& CheckBox::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("CheckBox", &WinControl::StaticClass());
        i.String<CheckBox>("Caption", &CheckBox::Caption, &CheckBox::SetCaption);
        i.Boolean<CheckBox>("Checked", &CheckBox::Checked, &CheckBox::SetChecked);
        return i;
    }();
    return info;
}

CheckBox::CheckBox(Component* owner) : WinControl(owner) {
    EnsureGuiApplication();
    impl_ = std::make_unique<Impl>();
    MarkWidget(&impl_->box, this);
}
CheckBox::~CheckBox() {
    Destroying_();
    NotifyFreeing();
    DestroyHandle();
}
void* CheckBox::NativeWidget() const { return &impl_->box; }
void CheckBox::SetParent(WinControl* parent) {
    WinControl::SetParent(parent);
    Reparent(&impl_->box, parent, Visible());
}
void CheckBox::SetVisible(bool v) {
    WinControl::SetVisible(v);
    impl_->box.setVisible(v && Parent());
}
void CheckBox::SetEnabled(bool e) {
    WinControl::SetEnabled(e);
    impl_->box.setEnabled(e);
}
void CheckBox::SetFocus() { impl_->box.setFocus(); }
bool CheckBox::Checked() const { return impl_->box.isChecked(); }
void CheckBox::SetChecked(bool c) { impl_->box.setChecked(c); }
std::string CheckBox::Caption() const { return impl_->box.text().toStdString(); }
void CheckBox::SetCaption(const std::string& c) { impl_->box.setText(QString::fromStdString(c)); }

// ---- edit

struct Edit::Impl {
    QLineEdit edit;
};

const ClassInfo& Edit::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Edit", &WinControl::StaticClass());
        i.String<Edit>("Text", &Edit::Text, &Edit::SetText);
        return i;
    }();
    return info;
}

Edit::Edit(Component* owner) : WinControl(owner) {
    EnsureGuiApplication();
    impl_ = std::make_unique<Impl>();
    MarkWidget(&impl_->edit, this);
}
Edit::~Edit() {
    Destroying_();
    NotifyFreeing();
    DestroyHandle();
}
void* Edit::NativeWidget() const { return &impl_->edit; }
void Edit::SetParent(WinControl* parent) {
    WinControl::SetParent(parent);
    Reparent(&impl_->edit, parent, Visible());
}
void Edit::SetVisible(bool v) {
    WinControl::SetVisible(v);
    impl_->edit.setVisible(v && Parent());
}
void Edit::SetEnabled(bool e) {
    WinControl::SetEnabled(e);
    impl_->edit.setEnabled(e);
}
void Edit::SetFocus() { impl_->edit.setFocus(); }
std::string Edit::Text() const { return impl_->edit.text().toStdString(); }
void Edit::SetText(const std::string& t) { impl_->edit.setText(QString::fromStdString(t)); }

// ---- pages

struct TabSheet::Impl {
    QWidget page;
};

const ClassInfo& TabSheet::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("TabSheet", &WinControl::StaticClass());
        i.String<TabSheet>("Caption", &TabSheet::Caption, &TabSheet::SetCaption);
        return i;
    }();
    return info;
}

TabSheet::TabSheet(Component* owner) : WinControl(owner) {
    EnsureGuiApplication();
    impl_ = std::make_unique<Impl>();
    MarkWidget(&impl_->page, this);
}
TabSheet::~TabSheet() {
    Destroying_();
    NotifyFreeing();
    SetPageControl(nullptr);
    DestroyHandle();
}
void* TabSheet::NativeWidget() const { return &impl_->page; }

void TabSheet::SetCaption(const std::string& c) {
    caption_ = c;
    if (pageControl_) {
        auto* tabs = static_cast<QTabWidget*>(pageControl_->NativeWidget());
        int i = tabs->indexOf(&impl_->page);
        if (i >= 0) tabs->setTabText(i, QString::fromStdString(c));
    }
}

void TabSheet::SetPageControl(PageControl* pc) {
    if (pc == pageControl_) return;
    if (pageControl_) {
        auto* tabs = static_cast<QTabWidget*>(pageControl_->NativeWidget());
        int i = tabs->indexOf(&impl_->page);
        if (i >= 0) tabs->removeTab(i);
        auto& pages = pageControl_->pages_;
        pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
        impl_->page.setParent(nullptr);
    }
    pageControl_ = pc;
    WinControl::SetParent(pc);
    if (pc) {
        pc->pages_.push_back(this);
        static_cast<QTabWidget*>(pc->NativeWidget())->addTab(&impl_->page, QString::fromStdString(caption_));
    }
}

struct PageControl::Impl {
    QTabWidget tabs;
};

const ClassInfo& PageControl::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("PageControl", &WinControl::StaticClass());
        i.Object<PageControl, TabSheet>("ActivePage", TabSheet::StaticClass(), &PageControl::ActivePage,
                                        &PageControl::SetActivePage);
        return i;
    }();
    return info;
}

PageControl::PageControl(Component* owner) : WinControl(owner) {
    EnsureGuiApplication();
    impl_ = std::make_unique<Impl>();
    MarkWidget(&impl_->tabs, this);
}
PageControl::~PageControl() {
    Destroying_();
    NotifyFreeing();
    for (TabSheet* p : std::vector<TabSheet*>(pages_)) p->SetPageControl(nullptr);
    DestroyHandle();
}
void* PageControl::NativeWidget() const { return &impl_->tabs; }
void PageControl::SetParent(WinControl* parent) {
    WinControl::SetParent(parent);
    Reparent(&impl_->tabs, parent, Visible());
}

TabSheet* PageControl::ActivePage() const {
    if (noPage_) return nullptr;
    QWidget* current = impl_->tabs.currentWidget();
    for (TabSheet* p : pages_)
        if (p->NativeWidget() == current) return p;
    return nullptr;
}

void PageControl::SetActivePage(TabSheet* page) {
    // Qt always shows some tab; "no page" is kept here.
    noPage_ = !page || page->GetPageControl() != this;
    if (!noPage_) impl_->tabs.setCurrentWidget(static_cast<QWidget*>(page->NativeWidget()));
}

// ---- label

struct Label::Impl : QObject {
    explicit Impl(Label* l) : label(l) { text.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        // The text is built at every paint, as a label asks for it then.
        if (e->type() == QEvent::Paint && !label->Destroying()) {
            QString t = QString::fromStdString(label->GetLabelText());
            if (t != text.text()) text.setText(t);
        }
        return false;
    }
    Label* label;
    QLabel text;
};

const ClassInfo& Label::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Label", &Control::StaticClass());
        i.String<Label>("Caption", &Label::Caption, &Label::SetCaption);
        return i;
    }();
    return info;
}

Label::Label(Component* owner) : Control(owner) {
    EnsureGuiApplication();
    impl_ = std::make_unique<Impl>(this);
    MarkWidget(&impl_->text, this);
}
Label::~Label() { Destroying_(); }
void* Label::NativeWidget() const { return &impl_->text; }
void Label::SetParent(WinControl* parent) {
    Control::SetParent(parent);
    Reparent(&impl_->text, parent, Visible());
}
void Label::SetVisible(bool v) {
    Control::SetVisible(v);
    impl_->text.setVisible(v && Parent());
}
void Label::SetCaption(const std::string& c) {
    caption_ = c;
    Refresh();
}
void Label::Refresh() { impl_->text.setText(QString::fromStdString(GetLabelText())); }
std::string Label::ShownText() const { return impl_->text.text().toStdString(); }

} // namespace wb::gui
