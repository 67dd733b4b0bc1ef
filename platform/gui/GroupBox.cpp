#include "platform/gui/GroupBox.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QPainter>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {

class GroupFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QFontMetrics fm(font());
        // An etched line: a shadow line with a light one just inside it.
        QRect r = rect().adjusted(0, fm.height() / 2, -2, -2);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r);
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(r.translated(1, 1));
        if (title().isEmpty()) return;
        const int x = fm.averageCharWidth() * 3 / 2;
        QRect text(x, 0, fm.horizontalAdvance(title()) + fm.averageCharWidth(), fm.height());
        p.fillRect(text, palette().window());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, title());
    }
};

QGroupBox* Frame(const WidgetControl* c) { return static_cast<QGroupBox*>(c->Widget()); }

} // namespace

GroupBox::GroupBox(Component* owner) : WidgetControl(owner, NewWidget<GroupFrame>()) {}

GroupBox::GroupBox(WinControl& parent, const std::string& name, const std::string& caption) : GroupBox(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

std::string GroupBox::Caption() const { return Frame(this)->title().toStdString(); }
void GroupBox::SetCaption(const std::string& caption) { Frame(this)->setTitle(Q(caption)); }

} // namespace wb::gui
