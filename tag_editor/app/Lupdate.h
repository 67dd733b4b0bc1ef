#pragma once
// The live update: a newer version of the program from the web.
#include "platform/gui/Form.h"

namespace velmora {

class TLUpdateFrm : public wb::gui::Form {
public:
    TLUpdateFrm();
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
};

extern TLUpdateFrm* LUpdateFrm;

} // namespace velmora
