#pragma once
// The Qt window behind every form and the form's link to it, shared by the
// form's own units (Form.cpp and its frame, hit-test, placement and
// screenshot units) and by no one else.
#include <QDialog>
#include <QEventLoop>
#include <QMargins>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "platform/gui/Form.h"

class QShortcut;

namespace wb::gui {

// The window of every form: a top-level window with an optional menu bar
// over its client area, run modally by a loop of its own when asked. It is
// a dialog window for the keyboard: Enter presses the focused or default
// button, and the first control has the focus when it appears.
class FormWindow : public QDialog {
public:
    explicit FormWindow(FormKind k) : kind(k), client(new QWidget(this)) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        client->setAutoFillBackground(true);
    }
    // Taken when the client size is set: the bar's own hint changes once
    // the style polishes it, and the client area must not move then.
    int MenuHeight() {
        if (menuHeight < 0) menuHeight = menuBar ? menuBar->sizeHint().height() : 0;
        return menuHeight;
    }
    // What the own frame and title bar take of the window; nothing when
    // the window manager draws them.
    QMargins Insets() const {
        if (!form || !form->ownFrame_ || form->borderStyle_ == bsNone) return {};
        const int f = FrameWidth(form->borderStyle_);
        return {f, f + CaptionHeight(form->borderStyle_), f, f};
    }
    void Relayout() {
        const QRect inner = rect().marginsRemoved(Insets());
        const int top = MenuHeight();
        if (menuBar) menuBar->setGeometry(inner.left(), inner.top(), inner.width(), top);
        client->setGeometry(inner.left(), inner.top() + top, inner.width(), std::max(0, inner.height() - top));
    }

    FormKind kind;
    Form* form = nullptr;
    QWidget* client;
    intptr_t pressed = HTNOWHERE;  // the caption button the left button went down on
    QMenuBar* menuBar = nullptr;
    QShortcut* cancelKey = nullptr;
    int menuHeight = -1;
    QEventLoop* mainLoop = nullptr;
    QEventLoop* modalLoop = nullptr;
    std::function<void()> closed;
    int result = 0;
    bool placed = false;  // the program gave the window a position

protected:
    // The own frame (FormFrame.cpp).
    void paintEvent(QPaintEvent* e) override;
    // The own frame's parts under the mouse (FormHitTest.cpp).
    intptr_t Hit(QMouseEvent* e) const;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void reject() override { close(); }
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
};

// Translates the Qt window's events into messages through the form's
// window procedure, so hooks see them and can refuse them.
struct Form::Impl : QObject {
    Impl(Form* f, FormWindow* w);
    ~Impl() override;
    bool eventFilter(QObject* obj, QEvent* e) override;
    Form* form;
    QPointer<FormWindow> widget;
    QMetaObject::Connection focusConn;
    TWindowState pendingState = wsNormal;
};

} // namespace wb::gui
