#pragma once
// A modal box that asks for one line of text.
#include <string>

class QWidget;

namespace wb::gui {

// The text typed, or value unchanged when the box is cancelled. Without a
// parent it sits over the active window.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& value,
                     QWidget* parent = nullptr);

} // namespace wb::gui
