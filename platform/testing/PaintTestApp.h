#pragma once
// The application object for paint tests, made on first use, and a grid
// painted into an image for tests that look at its pixels.
#include <QApplication>
#include <QImage>

#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/StringGrid.h"
#include "platform/testing/GuiTest.h"

namespace wb::gui::painttest {

// The program's own kind of application, so tests of its exception guard
// hold in any order.
inline void EnsureApp() {
    if (!QCoreApplication::instance()) test::App();
}

// The grid painted over magenta, so unpainted pixels stand out.
inline QImage PaintGrid(StringGrid& grid) {
    QImage image(grid.Width(), grid.Height(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    Canvas canvas(image);
    grid.PaintGrid(canvas);
    return image;
}

} // namespace wb::gui::painttest
