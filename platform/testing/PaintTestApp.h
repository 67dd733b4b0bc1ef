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

// A control under test on a shown main form of its own, made the active
// window, so the control can take the focus whatever earlier tests left
// open; control and form go when the holder does, so no later test finds
// this form as its program's main form.
template <class C>
class Shown {
public:
    Shown(int width, int height) : form_(std::make_unique<Form>(nullptr, FormKind::Main)) {
        form_->SetClientSize(800, 600);
        form_->Show();
        auto* window = static_cast<QWidget*>(form_->NativeWidget());
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
        control_ = std::make_unique<C>(form_.get());
        control_->SetParent(form_.get());
        control_->SetBounds(0, 0, width, height);
    }
    Shown() = default;
    Shown(Shown&&) = default;
    Shown& operator=(Shown&& other) noexcept {
        control_.reset();
        form_ = std::move(other.form_);
        control_ = std::move(other.control_);
        return *this;
    }

    C* operator->() const { return control_.get(); }
    C& operator*() const { return *control_; }
    C* get() const { return control_.get(); }
    Form& form() const { return *form_; }

private:
    // The form owns the control, so the control goes first.
    std::unique_ptr<Form> form_;
    std::unique_ptr<C> control_;
};

template <class C>
Shown<C> OnForm(int width, int height) {
    test::App();
    return Shown<C>(width, height);
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
