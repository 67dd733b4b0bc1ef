#include "tag_editor/app/EditTag.h"

namespace velmora {

TEditTagListFrm* EditTagListFrm = nullptr;

const wb::ClassInfo& TEditTagListFrm::StaticClass() {
    static const wb::ClassInfo info("TEditTagListFrm", &Form::StaticClass());
    return info;
}

TEditTagListFrm::TEditTagListFrm() : Form(nullptr, wb::gui::FormKind::Dialog) {
    SetName("EditTagListFrm");
    SetCaption("Taglist Editor");
}

} // namespace velmora
