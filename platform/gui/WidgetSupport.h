#pragma once
// Qt-side helpers for the controls' own sources; window units never include this.
#include <QColor>
#include <QString>
#include <string>
#include <utility>

#include "platform/gui/Canvas.h"
#include "platform/gui/Colors.h"
#include "platform/gui/ScreenInfo.h"

namespace wb::gui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline QColor ToQColor(TColor c) { return QColor::fromRgba(ToQRgb(c)); }

// A widget made only once an application object exists.
template <class W, class... Args>
W* NewWidget(Args&&... args) {
    EnsureGuiApplication();
    return new W(std::forward<Args>(args)...);
}

} // namespace wb::gui
