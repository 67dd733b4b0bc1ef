#include "effects_workbench/WorkbenchFace.h"

#include <cmath>

#include "platform/gui/Canvas.h"

namespace sonafex {

using namespace wb::gui;

void PaintFace(Canvas& c, int w, int h) {
    for (int y = 0; y < h; ++y) {
        const int v = 200 - (y * 40) / (h > 0 ? h : 1);
        c.Pen().Color = RGBColor(v, v, v + 6);
        c.MoveTo(0, y);
        c.LineTo(w, y);
    }
    struct Group {
        Rect r;
        const char* title;
    };
    const Group groups[] = {
        {{6, 6, 236, 196}, "Warm Distortion1"}, {{241, 6, 471, 196}, "Warm Distortion2"},
        {{476, 6, 705, 196}, "Freak Distortion"}, {{6, 201, 236, 431}, "Channels and lo-fi"},
        {{241, 201, 471, 431}, "Level"},          {{476, 201, 705, 431}, "File"},
    };
    for (const auto& g : groups) {
        c.Brush().Color = RGBColor(212, 212, 216);
        c.FillRect(g.r);
        c.Pen().Color = clWhite;
        c.MoveTo(g.r.left, g.r.bottom - 1);
        c.LineTo(g.r.left, g.r.top);
        c.LineTo(g.r.right - 1, g.r.top);
        c.Pen().Color = clGray;
        c.LineTo(g.r.right - 1, g.r.bottom - 1);
        c.LineTo(g.r.left, g.r.bottom - 1);
        c.Brush().Style = BrushStyle::Clear;
        c.Font().Height = -11;
        c.Font().Style = fsBold;
        c.Font().Color = RGBColor(60, 60, 110);
        c.TextOut(g.r.left + 8, g.r.top + 3, g.title);
        c.Font().Style = 0;
        c.Brush().Style = BrushStyle::Solid;
    }
}

void PaintDervo(Canvas& c, int w, int h) {
    c.Brush().Color = RGBColor(16, 32, 24);
    c.FillRect({0, 0, w, h});
    c.Pen().Color = RGBColor(40, 80, 56);
    for (int x = 0; x < w; x += 20) {
        c.MoveTo(x, 0);
        c.LineTo(x, h);
    }
    for (int y = 0; y < h; y += 20) {
        c.MoveTo(0, y);
        c.LineTo(w, y);
    }
    c.Pen().Color = RGBColor(90, 255, 140);
    const double mid = h / 2.0, amp = h * 0.42;
    for (int x = 0; x < w; ++x) {
        const double s = std::sin(x * 0.09) * 1.6;
        const double y = mid - amp * std::tanh(s);
        if (x == 0) c.MoveTo(x, static_cast<int>(y));
        else c.LineTo(x, static_cast<int>(y));
    }
    c.Brush().Style = BrushStyle::Clear;
    c.Font().Height = -22;
    c.Font().Style = fsBold;
    c.Font().Color = RGBColor(220, 255, 230);
    c.DrawText({0, 0, w, h}, "Sonafex", tfCenter | tfVCenter | tfSingleLine);
}

} // namespace sonafex
