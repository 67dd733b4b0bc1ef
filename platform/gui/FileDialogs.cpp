#include "platform/gui/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/gui/Application.h"

namespace wb::gui {

std::string QtNameFilters(const std::string& filter) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';') c = ' ';
        if (!out.empty()) out += ";;";
        // "Sound Files (*.wav)|*.wav" already shows its patterns.
        const std::string shown = "(" + patterns + ")";
        const std::string& name = parts[i];
        const bool hasThem = name.size() >= shown.size() &&
                             name.compare(name.size() - shown.size(), shown.size(), shown) == 0;
        out += hasThem ? name : name + " " + shown;
    }
    return out;
}

std::optional<std::string> ShowOpenFileDialog(const OpenFileOptions& options, QWidget* parent) {
    if (!parent) parent = QApplication::activeModalWidget();
    QFileDialog dlg(parent);
    dlg.setObjectName("wbOpenFileDialog");
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setWindowTitle(QString::fromStdString(options.title.empty() ? std::string("Open")
                                                                    : options.title));
    if (!options.initialDir.empty()) dlg.setDirectory(QString::fromStdString(options.initialDir));
    if (!options.defaultExt.empty() && options.defaultExt != "*")
        dlg.setDefaultSuffix(QString::fromStdString(options.defaultExt));

    const std::string& name = options.initialName;
    bool wildcard = name.find_first_of("*?") != std::string::npos;
    if (!options.filter.empty()) {
        dlg.setNameFilters(QString::fromStdString(QtNameFilters(options.filter)).split(";;"));
    } else if (wildcard && name != "*.*" && name != "*") {
        dlg.setNameFilters({QString::fromStdString(name), "All files (*)"});
    }
    if (!name.empty() && !wildcard) dlg.selectFile(QString::fromStdString(name));

    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().first().toStdString();
}

} // namespace wb::gui
