#include "platform/gui/Panel.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

// The caption sits in a label that lets clicks through to the children.
class PanelFrame : public QFrame {
public:
    PanelFrame() : text(new QLabel(this)) {
        setAutoFillBackground(true);
        text->setAlignment(Qt::AlignCenter);
        text->setTextFormat(Qt::PlainText);
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
        text->lower();
    }
    QLabel* text;

protected:
    void resizeEvent(QResizeEvent* e) override {
        QFrame::resizeEvent(e);
        text->setGeometry(contentsRect());
    }
};

PanelFrame* Frame(const WidgetControl* c) { return static_cast<PanelFrame*>(c->Widget()); }

} // namespace

const ClassInfo& Panel::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Panel", &WidgetControl::StaticClass());
        i.String<Panel>("Caption", &Panel::Caption, &Panel::SetCaption);
        return i;
    }();
    return info;
}

Panel::Panel(Component* owner) : WidgetControl(owner, NewWidget<PanelFrame>()) { SetEdge(Edge::Raised); }

Panel::Panel(WinControl& parent, const std::string& name, const std::string& caption) : Panel(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

std::string Panel::Caption() const { return Frame(this)->text->text().toStdString(); }
void Panel::SetCaption(const std::string& caption) { Frame(this)->text->setText(Q(caption)); }

void Panel::SetColor(TColor color) {
    color_ = color;
    QPalette p = Frame(this)->palette();
    p.setColor(QPalette::Window, ToQColor(color));
    Frame(this)->setPalette(p);
}

void Panel::SetFont(TColor color, bool bold) {
    fontColor_ = color;
    QLabel* l = Frame(this)->text;
    QFont f = l->font();
    f.setBold(bold);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, ToQColor(color));
    l->setPalette(p);
}

void Panel::SetEdge(Edge edge) {
    Frame(this)->setFrameStyle(edge == Edge::None     ? QFrame::NoFrame
                               : edge == Edge::Raised ? QFrame::Panel | QFrame::Raised
                                                      : QFrame::Panel | QFrame::Sunken);
}

} // namespace wb::gui
