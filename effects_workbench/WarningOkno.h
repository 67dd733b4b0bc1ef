#pragma once
// The warning shown when a stereo file is opened.
#include "platform/gui/Forms.h"

class TWarningBox : public wb::gui::widgets::Form {
public:
    TWarningBox();
    void BitBtn1Click();

    wb::gui::widgets::Bevel Bevel1;
    wb::gui::widgets::Label Label1, Label2, Label3, Label4;
    wb::gui::widgets::Button BitBtn1;
};

extern TWarningBox* WarningBox;
