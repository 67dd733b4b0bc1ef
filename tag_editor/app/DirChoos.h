#pragma once
// The choice of the folder a downloaded update goes to.
#include "platform/gui/Form.h"

namespace velmora {

class TDirFrm : public wb::gui::Form {
public:
    TDirFrm();
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
};

extern TDirFrm* DirFrm;

} // namespace velmora
