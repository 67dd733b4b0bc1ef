#pragma once
// A text label. It sizes itself to its text unless AutoSize is off;
// descendants may build the shown text themselves.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Colors.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

enum class TextAlign { Left, Center, Right };
enum class TextLayout { Top, Center, Bottom };

class Label : public WidgetControl {
public:
    explicit Label(Component* owner = nullptr);
    Label(WinControl& parent, const std::string& name, const std::string& caption = "");
    ~Label() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    std::string ControlText() const override { return Caption(); }
    void SetControlText(const std::string& text) override { SetCaption(text); }
    // The text shown: the caption unless a descendant builds another.
    virtual std::string GetLabelText() { return caption_; }
    // Builds the text again and shows it (done at every paint as well).
    void Refresh();
    std::string ShownText() const;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    void SetAlignment(TextAlign align, TextLayout layout = TextLayout::Center);
    // Breaks the caption at blanks to fit the label's width; the alignment stays.
    void SetLineWrap(bool wrap);
    // Wraps the caption over the label's lines, a long path after any '/',
    // and keeps the whole caption as the tool tip for what the lines cut off.
    void SetWordWrap(bool wrap);
    void SetFont(int pixelHeight, bool bold, TColor color = clWindowText);
    // How wide a text shows in the label's font.
    int TextWidth(const std::string& text) const;
    // Where the caption's tabs go, in pixels from the label's left; none:
    // the style's stops.
    void SetTabStops(const std::vector<int>& stops);
    // Gives labels one set of stops, so that the n-th tab-separated entry of
    // each caption starts at one x (the labels standing at one left): past
    // the widest entry before it in any of them by `gap` pixels.
    static void ShareTabStops(const std::vector<Label*>& labels, int gap);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string caption_;
    bool autoSize_ = true;
    bool wordWrap_ = false;
};

} // namespace wb::gui
