#include "tag_editor/controls/decoration/VlGrdCpt.h"

#include "platform/gui/Bitmap.h"
#include "platform/gui/Form.h"
#include "tag_editor/controls/decoration/VCLUtils.h"

namespace velmora {

using namespace wb::gui;

namespace {

const wb::EnumType& HideDirectionType() {
    static const wb::EnumType t{"THideDirection", {"hdLeftToRight", "hdRightToLeft"}};
    return t;
}

bool ToolBorder(TBorderStyle s) { return s == bsToolWindow || s == bsSizeToolWin; }

} // namespace

// ---- captions

TVlCaption::TVlCaption(wb::Collection* collection) : wb::CollectionItem(collection) {
    if (TVlGradientCaption* owner = Owner()) font_ = owner->Font();
    else font_.Color = clCaptionText;
}

const wb::ClassInfo& TVlCaption::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TVlCaption", &wb::CollectionItem::StaticClass());
        i.String<TVlCaption>("Caption", &TVlCaption::Caption, &TVlCaption::SetCaption);
        i.Boolean<TVlCaption>("ParentFont", &TVlCaption::ParentFont, &TVlCaption::SetParentFont);
        i.Integer<TVlCaption, TColor>("InactiveColor", &TVlCaption::InactiveColor, &TVlCaption::SetInactiveColor);
        i.Boolean<TVlCaption>("GlueNext", &TVlCaption::GlueNext, &TVlCaption::SetGlueNext);
        i.Boolean<TVlCaption>("Visible", &TVlCaption::Visible, &TVlCaption::SetVisible);
        return i;
    }();
    return info;
}

TVlGradientCaption* TVlCaption::Owner() const {
    auto* list = dynamic_cast<TVlCaptionList*>(GetCollection());
    return list ? list->Owner() : nullptr;
}

void TVlCaption::Changed() {
    TVlGradientCaption* owner = Owner();
    if (owner && owner->Active() && !owner->Loading()) owner->Draw();
}

void TVlCaption::Assign(const wb::Persistent& source) {
    const auto* other = dynamic_cast<const TVlCaption*>(&source);
    if (!other) return wb::CollectionItem::Assign(source);
    if (GetCollection()) GetCollection()->BeginUpdate();
    caption_ = other->caption_;
    parentFont_ = other->parentFont_;
    if (!parentFont_) font_ = other->font_;
    else if (TVlGradientCaption* owner = Owner()) font_ = owner->Font();
    inactiveColor_ = other->inactiveColor_;
    glueNext_ = other->glueNext_;
    visible_ = other->visible_;
    if (GetCollection()) GetCollection()->EndUpdate();
    Changed();
}

void TVlCaption::SetCaption(const std::string& v) {
    if (v == caption_) return;
    caption_ = v;
    Changed();
}
void TVlCaption::SetFont(const TFont& f) {
    font_ = f;
    parentFont_ = false;
    Changed();
}
void TVlCaption::SetParentFont(bool v) {
    parentFont_ = v;
    if (v)
        if (TVlGradientCaption* owner = Owner()) font_ = owner->Font();
    Changed();
}
void TVlCaption::SetInactiveColor(TColor c) {
    if (c == inactiveColor_) return;
    inactiveColor_ = c;
    Changed();
}
void TVlCaption::SetGlueNext(bool v) {
    if (v == glueNext_) return;
    glueNext_ = v;
    Changed();
}
void TVlCaption::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed();
}

TVlCaptionList::TVlCaptionList(TVlGradientCaption* owner)
    : wb::Collection([](wb::Collection* c) { return std::make_unique<TVlCaption>(c); }), owner_(owner) {
    OnChange = [this] {
        if (owner_ && owner_->Active() && !owner_->Loading()) owner_->Draw();
    };
}

std::vector<bool> CaptionsShown(const std::vector<TCaptionSlot>& row, int titleWidth, int space) {
    std::vector<bool> shown(row.size(), true);
    int total = titleWidth + 2;
    for (const auto& s : row) total += s.visible ? s.width : 0;
    size_t i = 0;
    while (total > space && i < row.size()) {
        // A caption goes together with every caption glued after it.
        size_t j = i;
        for (;;) {
            if (row[j].visible) total -= row[j].width;
            shown[j] = false;
            if (!row[j].glueNext || j + 1 >= row.size()) break;
            ++j;
        }
        i = j + 1;
    }
    return shown;
}

// ---- the component

const wb::ClassInfo& TVlGradientCaption::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TVlGradientCaption", &wb::Component::StaticClass());
        i.Boolean<TVlGradientCaption>("Active", &TVlGradientCaption::Active, &TVlGradientCaption::SetActive);
        i.Boolean<TVlGradientCaption>("DefaultFont", &TVlGradientCaption::DefaultFont,
                                      &TVlGradientCaption::SetDefaultFont);
        i.String<TVlGradientCaption>("FormCaption", &TVlGradientCaption::FormCaption,
                                     &TVlGradientCaption::SetFormCaption);
        i.Integer<TVlGradientCaption, TColor>("FontInactiveColor", &TVlGradientCaption::FontInactiveColor,
                                              &TVlGradientCaption::SetFontInactiveColor);
        i.Boolean<TVlGradientCaption>("GradientActive", &TVlGradientCaption::GradientActive,
                                      &TVlGradientCaption::SetGradientActive);
        i.Boolean<TVlGradientCaption>("GradientInactive", &TVlGradientCaption::GradientInactive,
                                      &TVlGradientCaption::SetGradientInactive);
        i.Integer<TVlGradientCaption, int>("GradientSteps", &TVlGradientCaption::GradientSteps,
                                           &TVlGradientCaption::SetGradientSteps);
        i.Enum<TVlGradientCaption, THideDirection>("HideDirection", HideDirectionType(),
                                                   &TVlGradientCaption::HideDirection,
                                                   &TVlGradientCaption::SetHideDirection);
        i.Integer<TVlGradientCaption, TColor>("StartColor", &TVlGradientCaption::StartColor,
                                              &TVlGradientCaption::SetStartColor);
        return i;
    }();
    return info;
}

TVlGradientCaption::TVlGradientCaption(wb::Component* owner)
    : wb::Component(owner), captions_(std::make_unique<TVlCaptionList>(this)) {
    font_ = SystemCaptionFont();
    hook_ = new TVlWindowHook(this);
    hook_->SetActive(false);
    hook_->BeforeMessage = [this](wb::Persistent*, Message& m, bool& handled) { BeforeMessage(m, handled); };
    hook_->AfterMessage = [this](wb::Persistent*, Message& m, bool&) { AfterMessage(m); };
    // Made in code rather than read with its form: it starts at once.
    if (!owner || !owner->Loading()) Update();
}

TVlGradientCaption::~TVlGradientCaption() {
    OnActivate = nullptr;
    OnDeactivate = nullptr;
    Destroying_();
    if (hook_) {
        hook_->SetActive(false);
        hook_->SetWinControl(nullptr);
    }
    if (wb::gui::Form* f = Form(); f && !f->Destroying()) f->SetOwnFrame(false);
}

wb::gui::Form* TVlGradientCaption::Form() const { return dynamic_cast<wb::gui::Form*>(Owner()); }

bool TVlGradientCaption::Active() const { return active_ && Form() != nullptr; }

void TVlGradientCaption::SetActive(bool v) {
    if (v == active_) return;
    active_ = v;
    rightClick_ = false;
    Update();
    if (Loading() || Destroying()) return;
    if (active_) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TVlGradientCaption::Loaded() {
    wb::Component::Loaded();
    Update();
}

TFont TVlGradientCaption::SystemCaptionFont() const {
    // The layer's caption font; the small one of tool windows is smaller.
    TFont f;
    f.Style = fsBold;
    wb::gui::Form* form = Form();
    f.SetSize(form && ToolBorder(form->BorderStyle()) ? 7 : 8);
    f.Color = clCaptionText;
    return f;
}

void TVlGradientCaption::SetCaptions(const TVlCaptionList& v) {
    captions_->Assign(v);
    Repaint();
}
void TVlGradientCaption::SetDefaultFont(bool v) {
    defaultFont_ = v;
    if (v) font_ = SystemCaptionFont();
    Repaint();
}
void TVlGradientCaption::SetFormCaption(const std::string& v) {
    if (v == formCaption_) return;
    formCaption_ = v;
    Repaint();
}
void TVlGradientCaption::SetFontInactiveColor(TColor c) {
    if (c == fontInactiveColor_) return;
    fontInactiveColor_ = c;
    Repaint(!windowActive_);
}
void TVlGradientCaption::SetFont(const TFont& f) {
    font_ = f;
    defaultFont_ = false;
    for (int i = 0; i < captions_->Count(); ++i)
        if (captions_->Items(i)->ParentFont()) captions_->Items(i)->SetParentFont(true);
    Repaint();
}
void TVlGradientCaption::SetGradientActive(bool v) {
    if (v == gradientActive_) return;
    gradientActive_ = v;
    Repaint(windowActive_);
}
void TVlGradientCaption::SetGradientInactive(bool v) {
    if (v == gradientInactive_) return;
    gradientInactive_ = v;
    Repaint(!windowActive_);
}
void TVlGradientCaption::SetGradientSteps(int v) {
    // Used as a byte.
    v &= 0xFF;
    if (v == gradientSteps_) return;
    gradientSteps_ = v;
    Repaint(windowActive_ ? gradientActive_ : gradientInactive_);
}
void TVlGradientCaption::SetHideDirection(THideDirection v) {
    if (v == hideDirection_) return;
    hideDirection_ = v;
    Repaint();
}
void TVlGradientCaption::SetStartColor(TColor c) {
    if (c == startColor_) return;
    startColor_ = c;
    Repaint();
}

void TVlGradientCaption::Repaint(bool when) {
    if (when && Active()) Draw();
}

void TVlGradientCaption::Update() {
    wb::gui::Form* form = Form();
    if (!form || Loading()) return;
    const bool on = Active();
    if (on) {
        hook_->SetWinControl(form);
        hook_->SetActive(true);
    } else {
        hook_->SetActive(false);
    }
    form->SetOwnFrame(on);
    windowActive_ = false;
    if (form->HandleAllocated() && form->IsWindowVisible()) {
        // The active-task test holds for every window of this process.
        if (on) windowActive_ = form->InActiveWindow();
        Draw();
    }
}

void TVlGradientCaption::Draw() {
    wb::gui::Form* form = Form();
    if (!form) return;
    Region whole(Rect{0, 0, form->Width(), form->Height()});
    form->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&whole));
}

Rect TVlGradientCaption::GetCaptionRect() const {
    wb::gui::Form* form = Form();
    if (!form) return {};
    return CaptionRect(form->Width(), form->Height(), form->BorderStyle(), form->BorderIcons());
}

void TVlGradientCaption::BeforeMessage(Message& msg, bool& handled) {
    if (!Active()) return;
    switch (msg.Msg) {
        case WM_NCPAINT: {
            savedRegionParam_ = msg.WParam;
            const auto* region = reinterpret_cast<const Region*>(msg.WParam);
            const Rect caption = GetCaptionRect();
            if (region && region->Intersects(caption)) {
                // The form's own painting leaves the title bar to us.
                savedRegion_ = region->Subtract(caption);
                msg.WParam = reinterpret_cast<intptr_t>(&savedRegion_);
                regionReplaced_ = true;
            }
            break;
        }
        case WM_NCACTIVATE: windowActive_ = msg.WParam != 0; break;
        default: break;
    }
    (void)handled;
}

void TVlGradientCaption::AfterMessage(Message& msg) {
    if (!Active()) return;
    wb::gui::Form* form = Form();
    if (msg.Msg == WM_NCPAINT) {
        if (regionReplaced_) {
            msg.WParam = savedRegionParam_;
            regionReplaced_ = false;
        }
        if (form && form->NonClientCanvas()) Paint(*form->NonClientCanvas());
    } else if (msg.Msg == WM_NCACTIVATE) {
        Draw();
    }
}

void TVlGradientCaption::Paint(Canvas& window) {
    wb::gui::Form* form = Form();
    if (!form || form->BorderStyle() == bsNone) return;
    const Rect cr = GetCaptionRect();
    if (cr.IsEmpty()) return;
    Bitmap bitmap(cr.Width(), cr.Height());
    Canvas c(bitmap);
    const TColor end = windowActive_ ? clActiveCaption : clInactiveCaption;
    const Rect all{0, 0, cr.Width(), cr.Height()};
    if ((windowActive_ && gradientActive_) || (!windowActive_ && gradientInactive_)) {
        GradientFill(c, all, startColor_, end, gdLeftToRight, static_cast<uint8_t>(gradientSteps_));
    } else {
        c.Brush() = {end, BrushStyle::Solid};
        c.FillRect(all);
    }
    const int captionHeight = CaptionHeight(form->BorderStyle());
    int x = 0;
    const uint32_t shown = CaptionButtonIcons(form->BorderStyle(), form->BorderIcons());
    if ((shown & biSystemMenu) && (form->BorderStyle() == bsSingle || form->BorderStyle() == bsSizeable)) {
        const int icon = GetSystemMetrics(SM_CXSMICON);
        form->DrawIcon(c, 1 + (captionHeight - icon) / 2, (cr.Height() - icon) / 2, icon);
        x = captionHeight;
    }
    if (formCaption_.empty() && captions_->Count() == 0) return window.Draw(cr.left, cr.top, bitmap);
    x += 2;
    c.Brush().Style = BrushStyle::Clear;
    Canvas measure;
    auto widthIn = [&](const TFont& f, const std::string& t) {
        measure.Font() = f;
        return measure.TextWidth(t);
    };
    auto fontOf = [&](const TVlCaption& item) { return item.ParentFont() ? font_ : item.Font(); };
    auto drawText = [&](const TFont& font, TColor inactive, const std::string& text) {
        c.Font() = font;
        if (!windowActive_) c.Font().Color = inactive;
        const std::string shownText = ShortenText(c, text, cr.Width() - x);
        c.DrawText({x, 0, cr.Width(), cr.Height()}, shownText, tfLeft | tfVCenter | tfSingleLine);
        const int used = c.TextWidth(shownText);
        x += used;
        return shownText != text;
    };
    bool stopped = false;
    if (hideDirection_ == hdLeftToRight) {
        // Which captions fit is decided from all their widths before any is drawn.
        const int space = cr.Width() - x;
        std::vector<TCaptionSlot> row;
        for (int i = 0; i < captions_->Count(); ++i) {
            const TVlCaption& item = *captions_->Items(i);
            const int width = item.Visible() ? widthIn(fontOf(item), item.Caption()) : 0;
            row.push_back({width, item.Visible(), item.GlueNext()});
        }
        const std::vector<bool> show = CaptionsShown(row, widthIn(font_, formCaption_), space);
        for (int i = 0; i < captions_->Count(); ++i) {
            const TVlCaption& item = *captions_->Items(i);
            if (show[size_t(i)] && item.Visible()) drawText(fontOf(item), item.InactiveColor(), item.Caption());
        }
    } else {
        for (int i = 0; i < captions_->Count() && !stopped; ++i) {
            const TVlCaption& item = *captions_->Items(i);
            if (!item.Visible()) continue;
            if (drawText(fontOf(item), item.InactiveColor(), item.Caption())) stopped = true;
            else if (x >= cr.Width() && !item.GlueNext()) stopped = true;
        }
    }
    if (!stopped && x < cr.Width()) drawText(font_, fontInactiveColor_, formCaption_);
    window.Draw(cr.left, cr.top, bitmap);
}

} // namespace velmora
