#pragma once
// A progress bar with a solid or segmented look and a percentage text.
#include <cstdint>
#include <functional>
#include <string>

#include "tag_editor/controls/decoration/VlBordered.h"

namespace velmora {

// What a count of parts done out of a total gives as a percentage: rounded,
// halves to the even neighbour; no total, no change.
int PercentOfParts(uint32_t complete, uint32_t total);

// Its flat borders take the window-frame colour; FlatColor is for borders and labels.
class TVlCustomProgressBar : public TVlBorderedControl {
public:
    explicit TVlCustomProgressBar(wb::Component* owner = nullptr);

    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor v);
    TColor BarColor() const { return barColor_; }
    void SetBarColor(TColor v);
    TBarStyle BarStyle() const { return barStyle_; }
    void SetBarStyle(TBarStyle v);
    int InteriorOffset() const { return interiorOffset_; }
    void SetInteriorOffset(int v);
    int NumSegments() const { return numSegments_; }
    void SetNumSegments(int v);
    TOrientation Orientation() const { return orientation_; }
    void SetOrientation(TOrientation v);
    uint32_t PartsComplete() const { return partsComplete_; }
    void SetPartsComplete(uint32_t v);
    uint32_t TotalParts() const { return totalParts_; }
    void SetTotalParts(uint32_t v);
    int Percent() const { return percent_; }
    void SetPercent(int v);
    bool ShowPercent() const { return showPercent_; }
    void SetShowPercent(bool v);
    const wb::gui::TFont& Font() const { return font_; }
    void SetFont(const wb::gui::TFont& f);
    // The bounds also choose the orientation: wider than high is horizontal.
    void SetBounds(int left, int top, int width, int height) override;
    std::function<void(wb::Persistent* sender, int percent)> OnChange;

protected:
    void Paint(Canvas& canvas) override;

private:
    TColor backColor_ = wb::gui::clWhite, barColor_ = wb::gui::clHighlight;
    TBarStyle barStyle_ = bsTraditional;
    int interiorOffset_ = 0, numSegments_ = 20;
    TOrientation orientation_ = orHorizontal;
    uint32_t partsComplete_ = 0, totalParts_ = 0;
    int percent_ = 0;
    bool showPercent_ = true;
    wb::gui::TFont font_;
};

class TVlProgressBar : public TVlCustomProgressBar {
public:
    using TVlCustomProgressBar::TVlCustomProgressBar;
    TVlProgressBar(wb::gui::WinControl& parent, const std::string& name);
};

} // namespace velmora
