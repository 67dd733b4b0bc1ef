#pragma once
#include <string>

namespace wb::gui {

// Opens a document or a web address with the desktop's default application
// (xdg-open). True when the opener started.
bool OpenWithDefaultApplication(const std::string& target);

// Starts a program from a command line (CommandLine.h rules), found on PATH
// when it names no folder; it runs apart from this process, in workingFolder
// when one is named (else in this process's). True when it started.
bool StartProgram(const std::string& commandLine, const std::string& workingFolder = "");

// The two operations as an object, so dialog logic that opens documents is
// testable with a recording stand-in.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool OpenDocument(const std::string& target) = 0;
    virtual bool Start(const std::string& commandLine) = 0;
};

class DesktopShell : public Shell {
public:
    bool OpenDocument(const std::string& target) override;
    bool Start(const std::string& commandLine) override;
};

} // namespace wb::gui
