#pragma once
// The main window's file list: the control library's list, which also
// re-reads its folder on demand (F5, and after every write or rename).
#include "tag_editor/controls/filesystem/VlFileListBox.h"

namespace velmora {

class TID3FileBox : public TVlFileListBox {
public:
    using TVlFileListBox::TVlFileListBox;
    void Reread() { ReadFileNames(); }
};

} // namespace velmora
