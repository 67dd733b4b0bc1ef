#pragma once
// A grid painted into an image, for tests that look at its pixels.
#include <QApplication>
#include <QImage>

#include "platform/gui/Canvas.h"
#include "platform/gui/StringGrid.h"

namespace wb::gui::painttest {

// The grid's viewport painted over magenta, so unpainted pixels stand out.
inline QImage PaintGrid(StringGrid& grid) {
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    Canvas canvas(image);
    grid.PaintGrid(canvas);
    return image;
}

} // namespace wb::gui::painttest
