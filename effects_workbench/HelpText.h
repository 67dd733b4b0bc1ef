#pragma once
// The user help: one read-only text with a section per group of controls.
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"

namespace sonafex {

class THelp : public wb::gui::Form {
public:
    THelp();

    wb::gui::Child<wb::gui::Memo> Memo1;
};

} // namespace sonafex
