#pragma once
// A label with 3D text styles, flat or curved rotation, frame and border
// styles, a fly-by colour under the mouse, and blinking in step with every
// other blinking label of the program.
#include <functional>
#include <string>

#include "tag_editor/controls/decoration/VlBordered.h"

namespace velmora {

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint {
    cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft,
    cpLowerCenter, cpLowerRight
};
enum TTextLayout { tlTop, tlCenter, tlBottom };

// An angle as the label keeps it: 0 or more taken mod 360, a negative one
// with 360 added.
int NormalizeLabelAngle(int angle);

class TVlLabel : public TVlBorderedControl, public TVlBlinkTarget {
public:
    explicit TVlLabel(wb::Component* owner = nullptr);
    TVlLabel(wb::gui::WinControl& parent, const std::string& name, const std::string& caption = "");
    ~TVlLabel() override;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    // The inherited label's properties.
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    const wb::gui::TFont& Font() const { return font_; }
    void SetFont(const wb::gui::TFont& f);

    int Angle() const { return angle_; }
    void SetAngle(int v);
    TRotation Rotation() const { return rotation_; }
    void SetRotation(TRotation v);
    TCenterPoint CenterPoint() const { return centerPoint_; }
    void SetCenterPoint(TCenterPoint v);
    bool Blinking() const { return blinking_; }
    void SetBlinking(bool v);
    TColor BlinkColor() const { return blinkColor_; }
    void SetBlinkColor(TColor v);
    // Shared by all labels of the program.
    int BlinkIntervalOn() const;
    void SetBlinkIntervalOn(int v);
    int BlinkIntervalOff() const;
    void SetBlinkIntervalOff(int v);
    TColor BorderHighlight() const { return borderHighlight_; }
    void SetBorderHighlight(TColor v);
    TColor BorderShadow() const { return borderShadow_; }
    void SetBorderShadow(TColor v);
    TSides FrameSides() const { return frameSides_; }
    void SetFrameSides(TSides v);
    TColor FlyByColor() const { return flyByColor_; }
    void SetFlyByColor(TColor v);
    bool FlyByEnabled() const { return flyByEnabled_; }
    void SetFlyByEnabled(bool v);
    bool LightTextStyle() const { return lightTextStyle_; }
    void SetLightTextStyle(bool v);
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor v);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor v);
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int v);
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle v);
    std::function<void(wb::Persistent* sender)> OnMouseEnter, OnMouseLeave;

    // The colour the text is painted in now.
    TColor CurrentColor() const { return currentColor_; }
    Rect TextRect() const;
    intptr_t BlinkMessage(unsigned msg, uintptr_t param) override;
    // The one list every label blinks by, while any label exists.
    static TVlBlinkingControlsList* Blinkers();

protected:
    void Loaded() override;
    void Paint(Canvas& canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void Changed();
    void BorderChanged() override;
    void FitSize();
    void DrawStraight(Canvas& c, const Rect& r);
    void DrawCurve(Canvas& c);
    void DrawCopies(Canvas& c, int x, int y, const std::string& text, unsigned flags, const Rect* in);
    wb::gui::Point Reference() const;

    std::string caption_;
    bool autoSize_ = true, wordWrap_ = false, transparent_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    TColor color_ = wb::gui::clBtnFace;
    wb::gui::TFont font_;
    int angle_ = 0;
    TRotation rotation_ = roNone;
    TCenterPoint centerPoint_ = cpCenter;
    bool blinking_ = false;
    TColor blinkColor_ = wb::gui::clHighlight;
    TColor borderHighlight_ = wb::gui::clBtnHighlight, borderShadow_ = wb::gui::clBtnShadow;
    TSides frameSides_;
    TColor flyByColor_ = wb::gui::clHighlight;
    bool flyByEnabled_ = false, lightTextStyle_ = false;
    TColor highlightColor_ = wb::gui::clBtnHighlight, shadowColor_ = wb::gui::clBtnShadow;
    int shadowDepth_ = 2;
    TTextStyle textStyle_ = tsRecessed;

    bool blinkOff_ = false;       // in the blink phase
    TColor savedColor_;           // the normal text colour
    TColor flyBySaved_ = 0;       // the colour under the fly-by colour
    bool flyByShown_ = false;     // only then is there a colour to restore
    TColor currentColor_;
};

} // namespace velmora
