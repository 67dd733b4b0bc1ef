#pragma once
// Dialog units scale a layout with its font: horizontally a quarter of the
// font's average character width, vertically an eighth of its height.
namespace wb::gui {

struct BaseUnits {
    int cx = 1;  // average width of the letters A-Z and a-z, rounded
    int cy = 1;  // character cell height
};

// The average width from the advance of the 52 letters, rounded as the
// classic dialog manager did.
constexpr int AverageCharWidth(int advanceOf52Letters) { return (advanceOf52Letters / 26 + 1) / 2; }

// Rounded like MulDiv: the nearest pixel, halves away from zero.
constexpr int MulDivRound(int value, int mul, int div) {
    long long p = static_cast<long long>(value) * mul;
    return static_cast<int>(p >= 0 ? (p + div / 2) / div : -((-p + div / 2) / div));
}

constexpr int DluToPixelsX(int dlu, BaseUnits b) { return MulDivRound(dlu, b.cx, 4); }
constexpr int DluToPixelsY(int dlu, BaseUnits b) { return MulDivRound(dlu, b.cy, 8); }

} // namespace wb::gui
