#pragma once
// The standard controls that forms are built from, one to a header; this
// header brings them all, for units that use many.
#include "platform/gui/Bevel.h"
#include "platform/gui/Button.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/ComboBox.h"
#include "platform/gui/Edit.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"
#include "platform/gui/Memo.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/Panel.h"
#include "platform/gui/PageControl.h"
#include "platform/gui/ProgressBar.h"
#include "platform/gui/RadioButton.h"
#include "platform/gui/TrackBar.h"
#include "platform/gui/UpDown.h"
