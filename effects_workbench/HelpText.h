#pragma once
// The user help: one read-only text with a section per group of controls.
#include "platform/gui/Forms.h"

class THelp : public wb::gui::widgets::Form {
public:
    THelp();

    wb::gui::widgets::Memo Memo1;
};

extern THelp* Help;
