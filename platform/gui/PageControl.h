#pragma once
// A page control and its pages (tab sheets).
#include <string>
#include <vector>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class PageControl;

class TabSheet : public WidgetControl {
public:
    explicit TabSheet(Component* owner = nullptr);
    ~TabSheet() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    // A page's parent is its page control; its widget belongs to the tabs.
    void SetParent(WinControl* parent) override;
    void SetVisible(bool visible) override;

    PageControl* GetPageControl() const { return pageControl_; }
    void SetPageControl(PageControl* pc);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    PageControl* pageControl_ = nullptr;
    std::string caption_;
};

class PageControl : public WidgetControl {
public:
    explicit PageControl(Component* owner = nullptr);
    ~PageControl() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet* Page(int i) const { return pages_.at(size_t(i)); }
    TabSheet* ActivePage() const;
    void SetActivePage(TabSheet* page);  // null or a page of another control: no page
    TNotifyEvent OnChange;

private:
    friend class TabSheet;
    std::vector<TabSheet*> pages_;
    bool noPage_ = false;
};

} // namespace wb::gui
