#pragma once
// The standard controls that forms are built from, seen without Qt.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/WinControl.h"

namespace wb::gui {

class CheckBox : public WinControl {
public:
    explicit CheckBox(Component* owner = nullptr);
    ~CheckBox() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    void* NativeWidget() const override;
    void SetParent(WinControl* parent) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetFocus() override;

    bool Checked() const;
    void SetChecked(bool checked);
    std::string Caption() const;
    void SetCaption(const std::string& caption);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class Edit : public WinControl {
public:
    explicit Edit(Component* owner = nullptr);
    ~Edit() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    void* NativeWidget() const override;
    void SetParent(WinControl* parent) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetFocus() override;

    std::string Text() const;
    void SetText(const std::string& text);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class PageControl;

class TabSheet : public WinControl {
public:
    explicit TabSheet(Component* owner = nullptr);
    ~TabSheet() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    void* NativeWidget() const override;
    PageControl* GetPageControl() const { return pageControl_; }
    void SetPageControl(PageControl* pc);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    PageControl* pageControl_ = nullptr;
    std::string caption_;
};

class PageControl : public WinControl {
public:
    explicit PageControl(Component* owner = nullptr);
    ~PageControl() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    void* NativeWidget() const override;
    void SetParent(WinControl* parent) override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet* Page(int i) const { return pages_.at(size_t(i)); }
    TabSheet* ActivePage() const;
    void SetActivePage(TabSheet* page);  // null or a page of another control: no page

private:
    friend class TabSheet;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<TabSheet*> pages_;
    bool noPage_ = false;
};

// A text label; descendants may build the shown text themselves.
class Label : public Control {
public:
    explicit Label(Component* owner = nullptr);
    ~Label() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    void* NativeWidget() const override;
    void SetParent(WinControl* parent) override;
    void SetVisible(bool visible) override;

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The text shown: the caption unless a descendant builds another.
    virtual std::string GetLabelText() { return caption_; }
    // Builds the text again and shows it (done at every paint as well).
    void Refresh();
    std::string ShownText() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string caption_;
};

} // namespace wb::gui
