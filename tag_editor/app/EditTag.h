#pragma once
// The tag-list editor.
#include "platform/gui/Form.h"

namespace velmora {

class TEditTagListFrm : public wb::gui::Form {
public:
    TEditTagListFrm();
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
};

extern TEditTagListFrm* EditTagListFrm;

} // namespace velmora
