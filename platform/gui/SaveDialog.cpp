#include "platform/gui/SaveDialog.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/gui/FileDialogs.h"

namespace wb::gui {

std::optional<std::string> ShowSaveFileDialog(const OpenFileOptions& options, QWidget* parent) {
    if (!parent) parent = QApplication::activeModalWidget();
    QFileDialog dlg(parent);
    dlg.setObjectName("wbSaveFileDialog");
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setWindowTitle(QString::fromStdString(options.title.empty() ? std::string("Save As")
                                                                    : options.title));
    if (!options.initialDir.empty()) dlg.setDirectory(QString::fromStdString(options.initialDir));
    std::string ext = options.defaultExt;
    if (ext.rfind("*.", 0) == 0) ext = ext.substr(2);  // "*.wav" means "wav"
    if (!ext.empty() && ext != "*") dlg.setDefaultSuffix(QString::fromStdString(ext));
    if (!options.filter.empty())
        dlg.setNameFilters(QString::fromStdString(QtNameFilters(options.filter)).split(";;"));
    if (!options.initialName.empty()) dlg.selectFile(QString::fromStdString(options.initialName));

    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().first().toStdString();
}

} // namespace wb::gui
