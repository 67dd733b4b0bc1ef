#pragma once
// A grid painted into an image, for tests that look at its pixels.
#include <QApplication>
#include <QImage>
#include <memory>

#include "platform/gui/Canvas.h"
#include "platform/gui/Form.h"
#include "platform/gui/StringGrid.h"
#include "platform/testing/TestApp.h"

namespace wb::gui::painttest {

// A control under test on a shown form, so it is on screen and can take
// the focus; the form lives for the whole test binary.
template <class C>
std::unique_ptr<C> OnForm(int width, int height) {
    test::App();
    static Form* form = [] {
        auto* f = new Form(nullptr, FormKind::Main);
        f->SetClientSize(800, 600);
        f->Show();
        QApplication::processEvents();  // the form becomes the active window
        return f;
    }();
    auto control = std::make_unique<C>(form);
    control->SetParent(form);
    control->SetBounds(0, 0, width, height);
    return control;
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
