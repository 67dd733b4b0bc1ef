#pragma once
// The small window that lets the user choose the folder a downloaded update goes to.
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/decoration/VlGrdCpt.h"

namespace velmora {

class TDirFrm : public wb::gui::Form {
public:
    TDirFrm();

    wb::gui::Child<TVlDirectoryTree> DirTree;
    wb::gui::Child<wb::gui::Button> OKBtn, CancelBtn;
    TVlGradientCaption* Caption1;
};

} // namespace velmora
