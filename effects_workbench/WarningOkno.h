#pragma once
// The warning shown when a stereo file is opened.
#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"

namespace sonafex {

class TWarningBox : public wb::gui::Form {
public:
    TWarningBox();
    void BitBtn1Click();

    wb::gui::Child<wb::gui::Bevel> Bevel1;
    wb::gui::Child<wb::gui::Label> Label1, Label2, Label3, Label4;
    wb::gui::Child<wb::gui::Button> BitBtn1;
};

} // namespace sonafex
