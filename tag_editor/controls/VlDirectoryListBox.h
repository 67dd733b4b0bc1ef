#pragma once
// A framed list of a folder's path, one element a line, and its visible
// subfolders; it points a file list and a path label at the folder shown.
#include <QLabel>
#include <QListWidget>
#include <QPointer>

#include <string>
#include <vector>

#include "tag_editor/controls/VlFramedWidget.h"

namespace velmora {

class TVlFileListBox;

class TVlDirectoryListBox : public TVlFramedWidget<QListWidget> {
    Q_OBJECT
public:
    explicit TVlDirectoryListBox(QWidget* parent = nullptr);
    ~TVlDirectoryListBox() override;

    const std::string& Directory() const { return directory_; }
    // Walks up to the nearest existing folder, lists it and fires OnChange.
    void SetDirectory(const std::string& dir);
    TVlFileListBox* FileList() const { return fileList_; }
    void SetFileList(TVlFileListBox* list);
    QLabel* DirLabel() const { return dirLabel_; }
    void SetDirLabel(QLabel* label);
    bool ShowLongNames() const { return showLongNames_; }
    void SetShowLongNames(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    std::vector<std::string> ItemTexts() const;
    // The indent of an item, in pixels.
    int ItemIndent(int index) const;

    TNotifyEvent OnChange;

protected:
    TColor FrameBackColor() const override { return color_; }
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class TVlDirItemDelegate;
    friend class TVlFileListBox;
    void BuildList();
    void UpdateDirLabel();

    std::string directory_;
    int pathCount_ = 0;  // items that are elements of the path
    bool showLongNames_ = true;
    TColor color_ = wb::gui::clWindow;
    TVlFileListBox* fileList_ = nullptr;
    QPointer<QLabel> dirLabel_;
};

} // namespace velmora
