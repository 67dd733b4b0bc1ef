#include "file_splitter/DialogResources.h"

#include "file_splitter/Resource.h"

using wb::gui::ControlKind;
using wb::gui::DialogTemplate;
using wb::gui::kCenter;
using wb::gui::kIdNone;
using wb::gui::kIdOk;

namespace parvex {

namespace {

constexpr auto Static = ControlKind::Static;
constexpr auto Group = ControlKind::GroupBox;
constexpr auto Button = ControlKind::PushButton;
constexpr auto Radio = ControlKind::AutoRadio;
constexpr auto Edit = ControlKind::Edit;
constexpr auto Bar = ControlKind::ProgressBar;

DialogTemplate MakeMain() {
    DialogTemplate t;
    t.caption = "Parvex v1.60";
    t.fontName = "MS Sans Serif";
    t.pointSize = 8;
    t.cx = 356;
    t.cy = 282;
    t.minimizeBox = true;
    t.controls = {
        {kIdNone, Group, "SPLIT", 6, 7, 166, 217},
        {kIdNone, Group, "JOIN", 183, 7, 166, 217},
        {kIdNone, Static, "Filename ( Include path)", 13, 16, 93, 9},
        {IDC_SOURCE_PATH, Static, "", 11, 26, 157, 12},
        {IDC_SPLIT_BROWSE, Button, "Browse", 12, 44, 58, 15},
        {kIdNone, Group, "Size", 77, 40, 89, 86},
        {IDC_PRESET_125M, Radio, "1.25 MB", 85, 51, 40, 8},
        {IDC_PRESET_1M, Radio, "1.0 MB", 85, 61, 39, 8},
        {IDC_PRESET_500K, Radio, "500 KB", 85, 70, 38, 8},
        {IDC_PRESET_100K, Radio, "100 KB", 85, 80, 39, 8},
        {IDC_SPECIFY, ControlKind::CheckBox, "Specify (Kbytes)", 85, 93, 67, 8},
        {IDC_KILOBYTES, Edit, "", 85, 107, 68, 13},
        {kIdNone, Static, "Original file Size ", 14, 62, 55, 8},
        {IDC_SOURCE_SIZE, Static, "", 14, 73, 55, 13},
        {kIdNone, Static, "No of output files", 14, 92, 55, 8},
        {IDC_SPLIT_COUNT, Static, "", 13, 107, 55, 13},
        {IDC_SPLIT_STATUS, Static, "", 14, 132, 151, 13, kCenter},
        {kIdNone, Group, "Output filename ( Include path)", 13, 151, 154, 32},
        {IDC_SPLIT_OUTPUT, Edit, "", 18, 164, 140, 13},
        {IDC_BREAK_IT, Button, "Break it !!!!", 13, 190, 152, 14},
        {IDC_SPLIT_PROGRESS, Bar, "", 13, 210, 151, 9},
        {kIdNone, Static, "Filename ( Include path)", 211, 13, 93, 9},
        {IDC_PIECE_PATH, Static, "", 187, 26, 160, 12},
        {IDC_JOIN_BROWSE, Button, "Browse", 195, 46, 58, 15},
        {IDC_RECHECK, Button, "Re Check File(s)", 279, 46, 61, 15},
        {kIdNone, Static, "No of files", 203, 65, 38, 8},
        {IDC_JOIN_COUNT, Static, "", 193, 78, 55, 13},
        {kIdNone, Static, "Files found", 286, 66, 38, 8},
        {IDC_JOIN_FOUND, Static, "", 283, 78, 55, 13},
        {kIdNone, Static, "Original Filesize", 197, 96, 50, 8},
        {IDC_JOINED_SIZE, Static, "", 193, 107, 55, 13, kCenter},
        {kIdNone, Static, "Splitted Filesize", 286, 96, 49, 8},
        {IDC_FIRST_PIECE_SIZE, Static, "", 283, 108, 55, 13, kCenter},
        {IDC_JOIN_STATUS, Static, "", 192, 131, 146, 13, kCenter},
        {kIdNone, Group, "Output filename ( Include path)", 192, 151, 149, 32},
        {IDC_JOIN_OUTPUT, Edit, "", 197, 164, 139, 13},
        {IDC_ASSEMBLE, Button, "Assemble the file !!!!", 193, 190, 149, 14},
        {IDC_JOIN_PROGRESS, Bar, "", 194, 210, 148, 9},
        // The designed heights (17, 18, 17) overlapped the row below; these
        // leave a line between the buttons.
        {IDC_HELP_BUTTON, Button, "Help", 183, 228, 166, 14},
        {IDC_LINK, Button, kHomePage, 6, 243, 166, 14},
        {IDC_CONTEXT_MENU_SETTINGS, Button, "Context menus Settings", 183, 243, 166, 14},
        {IDC_ABOUT, Button, "About", 6, 258, 166, 16},
        {IDC_EXIT, Button, "Exit", 183, 258, 166, 16},
    };
    return t;
}

DialogTemplate MakeAbout() {
    DialogTemplate t;
    t.caption = "About Parvex 1.60";
    t.fontName = "MS Sans Serif";
    t.pointSize = 8;
    t.cx = 249;
    t.cy = 162;
    t.controls = {
        {kIdNone, ControlKind::Icon, "", 11, 17, 21, 20},
        {kIdNone, Static, "Parvex Version 1.60", 53, 7, 119, 16, kCenter},
        {kIdOk, ControlKind::DefPushButton, "OK", 81, 134, 70, 14},
    };
    return t;
}

DialogTemplate MakeSettings() {
    DialogTemplate t;
    t.caption = "Context menus Settings";
    t.fontName = "Times New Roman";
    t.pointSize = 9;
    t.cx = 262;
    t.cy = 229;
    // Three lines are wider than designed: drawn in a sans font they need
    // the room up to their group's edge.
    t.controls = {
        {kIdNone, Group, "OPTION - 1", 14, 7, 234, 65},
        {IDC_OPTION1, Button, "Right click on any file to view Splitting option.", 23, 17, 215, 15},
        {kIdNone, Static, "In Win 2000 this options works fine.", 27, 35, 130, 9},
        {kIdNone, Static, "WARNING : In Win 95/98  by default Parvex opens the unknown file.", 25, 48, 134, 17},
        {kIdNone, Group, "OPTION - 2", 15, 79, 232, 55},
        {IDC_OPTION2, Button, "Shift Right Click on any file to view Splitting option.", 24, 92, 212, 15},
        {kIdNone, Static, "Highlight the File and right click to view splitting option.", 23, 109, 205, 11},
        {kIdNone, Static, "WARNING : This might not work with Win 2000.", 23, 121, 175, 9},
        {kIdNone, Group, "OPTION - 3", 15, 141, 231, 40},
        {IDC_DISABLE_CONTEXT_MENUS, Button, "Disable Context Menus Splitting options", 22, 151, 213, 15},
        {kIdNone, Static, "WARNING : Wont show any splitting option in Context menus", 19, 169, 222, 8},
        {IDC_CURRENT_SELECTION, Static, "Current Selection : ", 16, 191, 231, 13},
        {IDC_SETTINGS_CLOSE, ControlKind::DefPushButton, "CLOSE", 97, 209, 69, 13},
    };
    return t;
}

} // namespace

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate t = MakeMain();
    return t;
}

const DialogTemplate& AboutDialogTemplate() {
    static const DialogTemplate t = MakeAbout();
    return t;
}

const DialogTemplate& SettingsDialogTemplate() {
    static const DialogTemplate t = MakeSettings();
    return t;
}

} // namespace parvex
