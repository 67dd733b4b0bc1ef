#include "platform/gui/Shell.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/CommandLine.h"

namespace wb::gui {

namespace {

bool StartDetached(const std::vector<std::string>& argv, const std::string& workingFolder) {
    if (argv.empty()) return false;
    QString program = QString::fromStdString(argv[0]);
    if (!program.contains('/')) {
        program = QStandardPaths::findExecutable(program);
        if (program.isEmpty()) return false;
    }
    QStringList args;
    for (size_t i = 1; i < argv.size(); ++i) args << QString::fromStdString(argv[i]);
    return QProcess::startDetached(program, args, QString::fromStdString(workingFolder));
}

// The watcher's side: runs the program and tells its verdict through `verdict`
// once the program ends or waitMs have passed, whichever comes first. Runs
// between fork and exit, so it calls only what is safe there.
[[noreturn]] void RunWatcher(char* const* args, int waitMs, int verdict) {
    // The program's end arrives as a SIGCHLD that stays pending until taken.
    ::signal(SIGCHLD, SIG_DFL);
    sigset_t child, before;
    ::sigemptyset(&child);
    ::sigaddset(&child, SIGCHLD);
    ::sigprocmask(SIG_BLOCK, &child, &before);
    const pid_t program = ::fork();
    if (program < 0) ::_exit(127);
    if (program == 0) {
        ::sigprocmask(SIG_SETMASK, &before, nullptr);
        ::execv(args[0], args);
        ::_exit(127);
    }
    timespec now{}, deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += waitMs / 1000;
    deadline.tv_nsec += (waitMs % 1000) * 1'000'000L;
    if (deadline.tv_nsec >= 1'000'000'000L) {
        ++deadline.tv_sec;
        deadline.tv_nsec -= 1'000'000'000L;
    }
    unsigned char answer = 0;  // still running at the deadline: it lives on
    for (;;) {
        int status = 0;
        if (::waitpid(program, &status, WNOHANG) == program) {
            answer = WIFEXITED(status) ? static_cast<unsigned char>(WEXITSTATUS(status)) : 1;
            break;
        }
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        long long left = (deadline.tv_sec - now.tv_sec) * 1'000'000'000LL + (deadline.tv_nsec - now.tv_nsec);
        if (left <= 0) break;
        const timespec wait{static_cast<time_t>(left / 1'000'000'000LL), static_cast<long>(left % 1'000'000'000LL)};
        // Ends with the child's signal (or another one), or at the deadline.
        if (::sigtimedwait(&child, nullptr, &wait) < 0 && errno == EAGAIN) break;
    }
    while (::write(verdict, &answer, 1) < 0 && errno == EINTR) {
    }
    ::_exit(0);
}

// Starts a program and waits up to waitMs for its verdict: true when it ends
// with status 0 or is still running then (it lives on, apart from us). A
// watcher process in between reaps it, so no zombie is left either way. The
// GUI goes on painting meanwhile; the user's input waits for the verdict, so
// no second click starts the same program again.
bool StartWatched(const std::vector<std::string>& argv, int waitMs) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    const pid_t watcher = ::fork();
    if (watcher == 0) {
        ::close(pipeEnds[0]);
        RunWatcher(args.data(), waitMs, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    if (watcher < 0) {
        ::close(pipeEnds[0]);
        return false;
    }
    // Without an event loop to go on with, a plain read waits as long.
    if (QCoreApplication::instance()) {
        QEventLoop loop;
        QSocketNotifier answered(pipeEnds[0], QSocketNotifier::Read);
        QObject::connect(&answered, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    unsigned char answer = 1;
    // Nothing read (a watcher that died) is no success.
    while (::read(pipeEnds[0], &answer, 1) < 0 && errno == EINTR) {
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(watcher, &status, 0) < 0 && errno == EINTR) {
    }
    return answer == 0;
}

} // namespace

bool OpenWithDefaultApplication(const std::string& target) {
    if (target.empty()) return false;
    // xdg-open tells within moments when no program opens the document (it
    // ends with status 3 or 4); one still running by then has found one.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) return false;
    return StartWatched({opener.toStdString(), target}, 1000);
}

bool StartProgram(const std::string& commandLine, const std::string& workingFolder) {
    return StartDetached(SplitCommandLine(commandLine), workingFolder);
}

bool DesktopShell::OpenDocument(const std::string& target) { return OpenWithDefaultApplication(target); }

bool DesktopShell::Start(const std::string& commandLine) { return StartProgram(commandLine); }

} // namespace wb::gui
