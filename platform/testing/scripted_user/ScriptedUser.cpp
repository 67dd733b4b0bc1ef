// A Qt input plugin for tests of a whole program. Qt loads it into the
// program when QT_QPA_GENERIC_PLUGINS names it, as it loads any input device;
// it ends the first modal dialog that shows, as a user would, so a test can
// start the real program and see the status it exits with.
//
// WB_TEST_END_WITH says how: "close" closes the dialog as its close box
// does; any other text clicks the button of that caption.
#include <QApplication>
#include <QDialog>
#include <QGenericPlugin>
#include <QPushButton>
#include <QTimer>

namespace {

class ScriptedUser : public QObject {
public:
    explicit ScriptedUser(QString action) : action_(std::move(action)) {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, &ScriptedUser::Tick);
        timer_.start();
    }

private:
    void Tick() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer_.stop();
        if (action_ == "close") {
            dialog->close();
            return;
        }
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text().remove('&') == action_) {
                b->click();
                return;
            }
        qFatal("scripted user: the dialog has no button \"%s\"", qPrintable(action_));
    }

    QString action_;
    QTimer timer_;
};

} // namespace

class ScriptedUserPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ScriptedUser.json")
public:
    QObject* create(const QString&, const QString&) override {
        return new ScriptedUser(qEnvironmentVariable("WB_TEST_END_WITH"));
    }
};

#include "ScriptedUser.moc"
