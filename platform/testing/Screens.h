#pragma once
// Screenshots that prove what a window shows: the picture is saved under
// build/screens (scripts/screens collects them for people to look at) and
// the test looks at the pixels inside a control's box.
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <string>

#include "platform/gui/Canvas.h"
#include "platform/gui/Form.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui::test {

// The form as build/screens/<name>.png shows it.
inline QImage Screenshot(Form& form, const std::string& name) {
    const std::string dir = std::string(WB_BINARY_DIR) + "/screens";
    std::filesystem::create_directories(dir);
    const std::string png = dir + "/" + name + ".png";
    if (!form.SaveScreenshot(png)) return QImage();
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

// The part of a form's screenshot that shows `control`, less `inset` pixels
// of its frame on each side.
inline QImage BoxOf(const QImage& shot, const Form& form, const WidgetControl& control, int inset = 0) {
    const QPoint at = control.Widget()->mapTo(form.Window(), QPoint(0, 0));
    return shot.copy(QRect(at, control.Widget()->size()).adjusted(inset, inset, -inset, -inset));
}

// How many columns hold a dark pixel: text drawn in the box leaves many, an
// empty box (or a caret) hardly any.
inline int InkColumns(const QImage& box) {
    int columns = 0;
    for (int x = 0; x < box.width(); ++x) {
        int y = 0;
        while (y < box.height() && qGray(box.pixel(x, y)) >= 110) ++y;
        columns += y < box.height();
    }
    return columns;
}

// Where along row `y` the colour ends: one past its rightmost pixel, 0 when
// the row holds none of it.
inline int ColourEndsAt(const QImage& box, TColor colour, int y) {
    const QRgb want = ToQRgb(colour) | 0xFF000000u;
    for (int x = box.width(); x > 0; --x)
        if ((box.pixel(x - 1, y) | 0xFF000000u) == want) return x;
    return 0;
}

} // namespace wb::gui::test
