#pragma once
#include <string>

namespace wb::gui {

// Opens a document or a web address with the desktop's default application
// (xdg-open). True when the opener started.
bool OpenWithDefaultApplication(const std::string& target);

// Starts a program from a command line (CommandLine.h rules), found on PATH
// when it names no folder; it runs apart from this process. True when it
// started.
bool StartProgram(const std::string& commandLine);

} // namespace wb::gui
