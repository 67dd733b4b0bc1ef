#include "tag_editor/app/Lupdate.h"

namespace velmora {

TLUpdateFrm* LUpdateFrm = nullptr;

const wb::ClassInfo& TLUpdateFrm::StaticClass() {
    static const wb::ClassInfo info("TLUpdateFrm", &Form::StaticClass());
    return info;
}

TLUpdateFrm::TLUpdateFrm() : Form(nullptr, wb::gui::FormKind::Dialog) {
    SetName("LUpdateFrm");
    SetCaption("Velmora");
}

} // namespace velmora
