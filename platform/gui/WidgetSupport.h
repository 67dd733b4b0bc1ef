#pragma once
// Qt-side helpers for the controls' own sources; window units never include this.
#include <QColor>
#include <Qt>
#include <QIcon>
#include <QString>
#include <string>
#include <utility>

#include "platform/gui/Canvas.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Icon.h"
#include "platform/gui/Keys.h"
#include "platform/gui/ScreenInfo.h"

namespace wb::gui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline QColor ToQColor(TColor c) { return QColor::fromRgba(ToQRgb(c)); }

// The Qt icon under an icon, for the layer's own controls.
struct IconAccess {
    static QIcon ToQIcon(const Icon& icon);
    static Icon FromQIcon(const QIcon& icon);
};

// The virtual-key code of a Qt key; 0 for a key without one.
int VirtualKey(int qtKey);
// The layer's shift state and button of a Qt event.
TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons buttons = Qt::NoButton);
TMouseButton ButtonOf(Qt::MouseButton b);

// A widget made only once an application object exists.
template <class W, class... Args>
W* NewWidget(Args&&... args) {
    EnsureGuiApplication();
    return new W(std::forward<Args>(args)...);
}

} // namespace wb::gui
