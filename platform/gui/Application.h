#pragma once
#include <QApplication>
#include <exception>
#include <string>
#include <vector>

namespace wb::gui {

// The program's application object: its title (the caption of every message
// box) and the guard that turns an exception escaping an event handler into
// a message box, after which the program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv, const std::string& title);

    static std::string Title();
    static void SetTitle(const std::string& title);

    // The command line after the program's own name.
    static std::vector<std::string> Arguments();

    // Shows the exception in an error box with the program's title.
    static void ReportException(std::exception_ptr error);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace wb::gui
