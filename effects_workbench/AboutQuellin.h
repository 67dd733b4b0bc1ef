#pragma once
// The About box: the program's name, version and what it is for.
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"

namespace sonafex {

class TAboutBox : public wb::gui::Form {
public:
    TAboutBox();

    wb::gui::Child<wb::gui::Bevel> Panel1;
    wb::gui::Child<wb::gui::Image> ProgramIcon;
    wb::gui::Child<wb::gui::Label> ProductName, Version, Copyright, Comments;
    wb::gui::Child<wb::gui::Button> OKButton;
};

} // namespace sonafex
