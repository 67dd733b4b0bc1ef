#include "platform/gui/Shell.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "platform/base/CommandLine.h"

namespace wb::gui {

namespace {

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    QString program = QString::fromStdString(argv[0]);
    if (!program.contains('/')) {
        program = QStandardPaths::findExecutable(program);
        if (program.isEmpty()) return false;
    }
    QStringList args;
    for (size_t i = 1; i < argv.size(); ++i) args << QString::fromStdString(argv[i]);
    return QProcess::startDetached(program, args);
}

} // namespace

bool OpenWithDefaultApplication(const std::string& target) {
    if (target.empty()) return false;
    return StartDetached({"xdg-open", target});
}

bool StartProgram(const std::string& commandLine) {
    return StartDetached(SplitCommandLine(commandLine));
}

bool DesktopShell::OpenDocument(const std::string& target) { return OpenWithDefaultApplication(target); }

bool DesktopShell::Start(const std::string& commandLine) { return StartProgram(commandLine); }

} // namespace wb::gui
