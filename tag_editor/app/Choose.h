#pragma once
// The chooser among the matches a CDDB server offers.
#include "platform/gui/Form.h"

namespace velmora {

class TChooseFrm : public wb::gui::Form {
public:
    TChooseFrm();
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
};

extern TChooseFrm* ChooseFrm;

} // namespace velmora
