#include "platform/gui/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/base/File.h"
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

std::optional<std::string> RunFileDialog(FileDialogKind kind, const OpenFileOptions& options, QWidget* parent) {
    const bool save = kind == FileDialogKind::Save;
    if (!parent) parent = QApplication::activeModalWidget();
    QFileDialog dlg(parent);
    dlg.setObjectName(save ? "wbSaveFileDialog" : "wbOpenFileDialog");
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // The programs' save dialogs take an existing file without a question.
    if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const std::string title = options.title.empty() ? (save ? "Save As" : "Open") : options.title;
    dlg.setWindowTitle(QString::fromStdString(title));
    if (!options.initialDir.empty()) dlg.setDirectory(QString::fromStdString(options.initialDir));
    std::string ext = options.defaultExt;
    if (ext.rfind("*.", 0) == 0) ext = ext.substr(2);  // "*.wav" means "wav"
    if (!ext.empty() && ext != "*") dlg.setDefaultSuffix(QString::fromStdString(ext));

    const std::string& name = options.initialName;
    // Only an open dialog takes a wildcard name as its filter; a save dialog
    // would offer it as the name to save under.
    const bool wildcard = !save && name.find_first_of("*?") != std::string::npos;
    if (!options.filter.empty()) {
        dlg.setNameFilters(QString::fromStdString(QtNameFilters(options.filter)).split(";;"));
    } else if (wildcard && name != "*.*" && name != "*") {
        dlg.setNameFilters({QString::fromStdString(name), "All files (*)"});
    }
    if (!name.empty() && !wildcard) dlg.selectFile(QString::fromStdString(name));

    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    // The dialog speaks Qt strings: a folder whose name is not UTF-8 comes
    // back with replacement characters and is taken by its bytes again.
    return wb::PathOnDisk(dlg.selectedFiles().first().toStdString());
}

std::optional<std::string> ShowOpenFileDialog(const OpenFileOptions& options, QWidget* parent) {
    return RunFileDialog(FileDialogKind::Open, options, parent);
}

} // namespace wb::gui
