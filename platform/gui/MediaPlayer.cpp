#include "platform/gui/MediaPlayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

class PlayerWidget : public QWidget {
public:
    PlayerWidget() {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause,
                                                QStyle::SP_MediaStop, QStyle::SP_MediaSkipForward,
                                                QStyle::SP_MediaSkipBackward};
        const char* names[] = {"play", "pause", "stop", "next", "prev"};
        for (int i = 0; i < 5; ++i) {
            buttons[i] = new QToolButton(this);
            buttons[i]->setObjectName(names[i]);
            buttons[i]->setIcon(style()->standardIcon(icons[i]));
            buttons[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            row->addWidget(buttons[i]);
        }
        column->addLayout(row);
        status = new QLabel(this);
        status->setObjectName("status");
        column->addWidget(status);
        column->addStretch();
    }
    // The player's box has room for one line under the buttons: a longer
    // line is cut with an ellipsis where it would leave the box, and the
    // whole line is the hint.
    void SetStatus(const QString& text) {
        full = text;
        ShowStatus();
    }
    QToolButton* buttons[5];
    QLabel* status;
    QString full;

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        ShowStatus();
    }

private:
    void ShowStatus() {
        const QString shown = status->fontMetrics().elidedText(full, Qt::ElideRight, width());
        status->setText(shown);
        status->setToolTip(shown == full ? QString() : full);
    }
};

PlayerWidget* Panel(const WidgetControl* c) { return static_cast<PlayerWidget*>(c->Widget()); }

} // namespace

MediaPlayer::MediaPlayer(WinControl& parent, const std::string& name, wb::media::WavePlayer& player)
    : WidgetControl(&parent, NewWidget<PlayerWidget>()), player_(player) {
    Place(parent, name);
    auto* w = Panel(this);
    for (int i = 0; i < 5; ++i)
        QObject::connect(w->buttons[i], &QToolButton::clicked, [this, i] { RunGuarded([&] { Press(static_cast<Btn>(i)); }); });
    // The player may speak from its playback thread; the label is set on ours.
    QPointer<PlayerWidget> panel = w;
    player_.SetStatusHandler([panel](const std::string& line) {
        QMetaObject::invokeMethod(
            panel, [panel, text = QString::fromStdString(line)] {
                if (panel) panel->SetStatus(text);
            },
            Qt::AutoConnection);
    });
    UpdateButtons();
}

// The player outlives its control: it must not speak to a label that has gone.
MediaPlayer::~MediaPlayer() { player_.SetStatusHandler(nullptr); }

bool MediaPlayer::Open() {
    open_ = player_.Open(fileName_);
    UpdateButtons();
    return open_;
}

void MediaPlayer::Close() {
    player_.Close();
    open_ = false;
    UpdateButtons();
}

std::string MediaPlayer::Status() const {
    return Panel(this)->full.toStdString();
}

void MediaPlayer::Press(Btn button) {
    if (!open_) return;
    switch (button) {
    case Btn::Play: player_.Play(); break;
    case Btn::Pause: player_.Pause(); break;
    case Btn::Stop: player_.Stop(); break;
    case Btn::Next: player_.Next(); break;
    case Btn::Prev: player_.Previous(); break;
    }
}

void MediaPlayer::UpdateButtons() {
    for (auto* b : Panel(this)->buttons) b->setEnabled(open_);
}

} // namespace wb::gui
