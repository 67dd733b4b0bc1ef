#include "tag_editor/app/Choose.h"

namespace velmora {

TChooseFrm* ChooseFrm = nullptr;

const wb::ClassInfo& TChooseFrm::StaticClass() {
    static const wb::ClassInfo info("TChooseFrm", &Form::StaticClass());
    return info;
}

TChooseFrm::TChooseFrm() : Form(nullptr, wb::gui::FormKind::Dialog) {
    SetName("ChooseFrm");
    SetCaption("Choose a match");
}

} // namespace velmora
