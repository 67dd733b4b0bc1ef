#include "platform/gui/InputBox.h"

#include <QApplication>
#include <QInputDialog>

#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& value,
                     QWidget* parent) {
    EnsureGuiApplication();
    QInputDialog box(parent ? parent->window() : QApplication::activeWindow());
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(Q(caption));
    box.setLabelText(Q(prompt));
    box.setTextValue(Q(value));
    return box.exec() == QDialog::Accepted ? box.textValue().toStdString() : value;
}

} // namespace wb::gui
