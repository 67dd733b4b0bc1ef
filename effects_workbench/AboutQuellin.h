#pragma once
// The About box: the program's name, version and what it is for.
#include "platform/gui/Forms.h"

class TAboutBox : public wb::gui::widgets::Form {
public:
    TAboutBox();

    wb::gui::widgets::Bevel Panel1;
    wb::gui::widgets::Image ProgramIcon;
    wb::gui::widgets::Label ProductName, Version, Copyright, Comments;
    wb::gui::widgets::Button OKButton;
};

extern TAboutBox* AboutBox;
