#include "tag_editor/windows/DirChoos.h"

#include "tag_editor/windows/WindowCaption.h"

namespace velmora {

using namespace wb::gui;

TDirFrm::TDirFrm()
    : Form(nullptr, FormKind::Dialog),
      DirTree(*this, "DirTree"),
      OKBtn(*this, "OKBtn", "&OK"),
      CancelBtn(*this, "CancelBtn", "&Cancel") {
    SetName("DirFrm");
    SetCaption("Choose directory to save the updatefile");
    SetPosition(poScreenCenter);
    SetClientSize(320, 330);
    DirTree->SetBounds(8, 8, 304, 274);
    OKBtn->SetBounds(150, 292, 75, 28);
    CancelBtn->SetBounds(236, 292, 75, 28);
    OKBtn->SetDefault(true);
    OKBtn->OnClick = [this](wb::Persistent*) { SetModalResult(1); };
    CancelBtn->OnClick = [this](wb::Persistent*) { SetModalResult(2); };
    Caption1 = GiveGradientCaption(*this);
}

} // namespace velmora
