#pragma once
// One QApplication for every test of this binary, made on first use, and a
// grid painted into an image for tests that look at its pixels.
#include <QApplication>
#include <QImage>

#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/StringGrid.h"

namespace wb::gui::painttest {

inline void EnsureApp() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "platform_gui_tests";
    static char* argv[] = {name, nullptr};
    // The program's own kind, so tests of its exception guard hold in any order.
    new Application(argc, argv, "Workbench");
}

// The grid's viewport painted over magenta, so unpainted pixels stand out.
inline QImage PaintGrid(StringGrid& grid) {
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    Canvas canvas(image);
    grid.PaintGrid(canvas);
    return image;
}

} // namespace wb::gui::painttest
