#include "tag_editor/app/DirChoos.h"

namespace velmora {

TDirFrm* DirFrm = nullptr;

const wb::ClassInfo& TDirFrm::StaticClass() {
    static const wb::ClassInfo info("TDirFrm", &Form::StaticClass());
    return info;
}

TDirFrm::TDirFrm() : Form(nullptr, wb::gui::FormKind::Dialog) {
    SetName("DirFrm");
    SetCaption("Choose directory to save the updatefile");
}

} // namespace velmora
