#pragma once
// A form's title bar painted by a component: a gradient from StartColor to
// the caption colour, the form's small icon, a row of caption texts each in
// its own font, and the title text last. It watches the form's window
// messages through a window hook and paints on non-client paint and
// activation; the form draws its own frame while it is active.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Component.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Region.h"
#include "platform/gui/WinMsg.h"
#include "tag_editor/controls/VlHook.h"

namespace wb::gui {
class Form;
}

namespace velmora {

class TVlGradientCaption;
class TVlCaptionList;

enum THideDirection { hdLeftToRight, hdRightToLeft };

class TVlCaption : public wb::CollectionItem {
public:
    explicit TVlCaption(wb::Collection* collection);
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
    void Assign(const wb::Persistent& source) override;

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v);
    const wb::gui::TFont& Font() const { return font_; }
    void SetFont(const wb::gui::TFont& f);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    wb::gui::TColor InactiveColor() const { return inactiveColor_; }
    void SetInactiveColor(wb::gui::TColor c);
    bool GlueNext() const { return glueNext_; }
    void SetGlueNext(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);

private:
    TVlGradientCaption* Owner() const;
    void Changed();
    std::string caption_;
    wb::gui::TFont font_;
    bool parentFont_ = true;
    wb::gui::TColor inactiveColor_ = wb::gui::clInactiveCaptionText;
    bool glueNext_ = false;
    bool visible_ = true;
};

class TVlCaptionList : public wb::Collection {
public:
    explicit TVlCaptionList(TVlGradientCaption* owner);
    TVlGradientCaption* Owner() const { return owner_; }
    TVlCaption* Items(int i) const { return static_cast<TVlCaption*>(Item(i)); }
    TVlCaption* Add() { return static_cast<TVlCaption*>(wb::Collection::Add()); }

private:
    TVlGradientCaption* owner_;
};

// One caption of the row to lay out: its width and how it hangs together.
struct TCaptionSlot {
    int width = 0;
    bool visible = true;
    bool glueNext = false;
};
// Which captions of the row are drawn before the title (hdLeftToRight):
// captions drop from the left, each with those glued to it, until the rest
// and the title fit into the space.
std::vector<bool> CaptionsShown(const std::vector<TCaptionSlot>& row, int titleWidth, int space);

class TVlGradientCaption : public wb::Component {
public:
    explicit TVlGradientCaption(wb::Component* owner = nullptr);
    ~TVlGradientCaption() override;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    bool Active() const;
    void SetActive(bool v);
    TVlCaptionList& Captions() { return *captions_; }
    void SetCaptions(const TVlCaptionList& v);
    bool DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(bool v);
    std::string FormCaption() const { return formCaption_; }
    void SetFormCaption(const std::string& v);
    wb::gui::TColor FontInactiveColor() const { return fontInactiveColor_; }
    void SetFontInactiveColor(wb::gui::TColor c);
    const wb::gui::TFont& Font() const { return font_; }
    void SetFont(const wb::gui::TFont& f);
    bool GradientActive() const { return gradientActive_; }
    void SetGradientActive(bool v);
    bool GradientInactive() const { return gradientInactive_; }
    void SetGradientInactive(bool v);
    int GradientSteps() const { return gradientSteps_; }
    void SetGradientSteps(int v);
    THideDirection HideDirection() const { return hideDirection_; }
    void SetHideDirection(THideDirection v);
    wb::gui::TColor StartColor() const { return startColor_; }
    void SetStartColor(wb::gui::TColor c);
    std::function<void(wb::Persistent* sender)> OnActivate;
    std::function<void(wb::Persistent* sender)> OnDeactivate;

    // The title bar without its buttons, in window coordinates.
    wb::gui::Rect GetCaptionRect() const;
    // Paints the caption now when the form is painting its frame, else soon.
    void Draw();
    // The look the caption is painted in.
    bool WindowActive() const { return windowActive_; }

protected:
    void Loaded() override;

private:
    friend class TVlCaption;
    wb::gui::Form* Form() const;
    void Update();
    void Repaint(bool when = true);
    void BeforeMessage(wb::gui::Message& msg, bool& handled);
    void AfterMessage(wb::gui::Message& msg);
    void Paint(wb::gui::Canvas& window);
    wb::gui::TFont SystemCaptionFont() const;

    bool active_ = true;
    std::unique_ptr<TVlCaptionList> captions_;
    bool defaultFont_ = true;
    std::string formCaption_;
    wb::gui::TColor fontInactiveColor_ = wb::gui::clInactiveCaptionText;
    wb::gui::TFont font_;
    bool gradientActive_ = true;
    bool gradientInactive_ = false;
    int gradientSteps_ = 64;
    THideDirection hideDirection_ = hdLeftToRight;
    wb::gui::TColor startColor_ = wb::gui::clWindowText;

    TVlWindowHook* hook_ = nullptr;
    bool rightClick_ = false;
    wb::gui::Region savedRegion_;
    intptr_t savedRegionParam_ = 0;
    bool regionReplaced_ = false;
    bool windowActive_ = false;
};

} // namespace velmora
