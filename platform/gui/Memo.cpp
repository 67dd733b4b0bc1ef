#include "platform/gui/Memo.h"

#include <QPlainTextEdit>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
QPlainTextEdit* Text(const WidgetControl* c) { return static_cast<QPlainTextEdit*>(c->Widget()); }
} // namespace

Memo::Memo(Component* owner) : WidgetControl(owner, NewWidget<QPlainTextEdit>()) {
    Text(this)->setLineWrapMode(QPlainTextEdit::NoWrap);
}

Memo::Memo(WinControl& parent, const std::string& name) : Memo(&parent) { Place(parent, name); }

void Memo::SetLines(const std::vector<std::string>& lines) {
    QStringList all;
    for (const auto& l : lines) all << Q(l);
    Text(this)->setPlainText(all.join('\n'));
}

std::vector<std::string> Memo::Lines() const {
    std::vector<std::string> out;
    for (const auto& l : Text(this)->toPlainText().split('\n')) out.push_back(l.toStdString());
    return out;
}

void Memo::SetReadOnly(bool readOnly) { Text(this)->setReadOnly(readOnly); }

void Memo::SetColor(TColor color) {
    QPalette p = Text(this)->palette();
    p.setColor(QPalette::Base, ToQColor(color));
    Text(this)->setPalette(p);
}

} // namespace wb::gui
