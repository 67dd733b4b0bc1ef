#pragma once
// Colours as the programs store them: 0x00BBGGRR for a plain colour, or a
// system colour (0xFF0000nn, nn the system colour index). System colours are
// resolved from one fixed table, never from the desktop theme, so a drawing
// looks the same on every machine. No Qt here: logic may hold colours too.
#include <cstdint>

namespace wb::gui {

using TColor = std::int32_t;

constexpr TColor RGBColor(int r, int g, int b) {
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(std::uint32_t rgb) { return int(rgb & 0xFF); }
constexpr int GreenOf(std::uint32_t rgb) { return int((rgb >> 8) & 0xFF); }
constexpr int BlueOf(std::uint32_t rgb) { return int((rgb >> 16) & 0xFF); }

constexpr TColor clBlack   = 0x000000;
constexpr TColor clMaroon  = 0x000080;
constexpr TColor clGreen   = 0x008000;
constexpr TColor clOlive   = 0x008080;
constexpr TColor clNavy    = 0x800000;
constexpr TColor clPurple  = 0x800080;
constexpr TColor clTeal    = 0x808000;
constexpr TColor clGray    = 0x808080;
constexpr TColor clSilver  = 0xC0C0C0;
constexpr TColor clRed     = 0x0000FF;
constexpr TColor clLime    = 0x00FF00;
constexpr TColor clYellow  = 0x00FFFF;
constexpr TColor clBlue    = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua    = 0xFFFF00;
constexpr TColor clWhite   = 0xFFFFFF;
constexpr TColor clLtGray  = 0xC0C0C0;
constexpr TColor clDkGray  = 0x808080;
constexpr TColor clNone    = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor SystemColor(int index) { return TColor(0xFF000000u | unsigned(index)); }
constexpr bool IsSystemColor(TColor c) { return (std::uint32_t(c) & 0xFF000000u) == 0xFF000000u; }

constexpr TColor clScrollBar             = SystemColor(0);
constexpr TColor clBackground            = SystemColor(1);
constexpr TColor clActiveCaption         = SystemColor(2);
constexpr TColor clInactiveCaption       = SystemColor(3);
constexpr TColor clMenu                  = SystemColor(4);
constexpr TColor clWindow                = SystemColor(5);
constexpr TColor clWindowFrame           = SystemColor(6);
constexpr TColor clMenuText              = SystemColor(7);
constexpr TColor clWindowText            = SystemColor(8);
constexpr TColor clCaptionText           = SystemColor(9);
constexpr TColor clActiveBorder          = SystemColor(10);
constexpr TColor clInactiveBorder        = SystemColor(11);
constexpr TColor clAppWorkSpace          = SystemColor(12);
constexpr TColor clHighlight             = SystemColor(13);
constexpr TColor clHighlightText         = SystemColor(14);
constexpr TColor clBtnFace               = SystemColor(15);
constexpr TColor clBtnShadow             = SystemColor(16);
constexpr TColor clGrayText              = SystemColor(17);
constexpr TColor clBtnText               = SystemColor(18);
constexpr TColor clInactiveCaptionText   = SystemColor(19);
constexpr TColor clBtnHighlight          = SystemColor(20);
constexpr TColor cl3DDkShadow            = SystemColor(21);
constexpr TColor cl3DLight               = SystemColor(22);
constexpr TColor clInfoText              = SystemColor(23);
constexpr TColor clInfoBk                = SystemColor(24);
constexpr TColor clHotLight              = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);

// The colour as 0x00BBGGRR: a system colour from the fixed table (an index
// outside it gives black), a plain colour with its top byte dropped.
std::uint32_t ColorToRGB(TColor color);

} // namespace wb::gui
