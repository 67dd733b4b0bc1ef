#pragma once
// Control ids of the main dialog. The numbers are fixed by the dialog layout
// and the command ids the window sends; the names say what each control is.

// SPLIT panel
constexpr int IDC_SPLIT_BROWSE = 1006;       // "Browse"
constexpr int IDC_SOURCE_PATH = 1036;        // path of the file to split
constexpr int IDC_SOURCE_SIZE = 1022;        // its size, "%6.2f KB"
constexpr int IDC_PRESET_125M = 1002;        // radio "1.25 MB"
constexpr int IDC_PRESET_1M = 1003;          // radio "1.0 MB"
constexpr int IDC_PRESET_500K = 1004;        // radio "500 KB"
constexpr int IDC_PRESET_100K = 1005;        // radio "100 KB"
constexpr int IDC_SPECIFY = 1008;            // check box "Specify (Kbytes)"
constexpr int IDC_KILOBYTES = 1010;          // edit: kilobytes per piece
constexpr int IDC_SPLIT_COUNT = 1023;        // number of pieces
constexpr int IDC_SPLIT_STATUS = 1027;       // status line
constexpr int IDC_SPLIT_OUTPUT = 1011;       // edit: name of the first piece
constexpr int IDC_BREAK_IT = 1012;           // "Break it !!!!"
constexpr int IDC_SPLIT_PROGRESS = 1020;

// JOIN panel
constexpr int IDC_JOIN_BROWSE = 1014;        // "Browse"
constexpr int IDC_PIECE_PATH = 1037;         // path of the first piece
constexpr int IDC_JOIN_COUNT = 1026;         // pieces in the set
constexpr int IDC_JOIN_FOUND = 1030;         // pieces found
constexpr int IDC_JOINED_SIZE = 1031;        // size of the rebuilt file
constexpr int IDC_FIRST_PIECE_SIZE = 1032;   // size of the first piece
constexpr int IDC_JOIN_STATUS = 1029;        // status line
constexpr int IDC_RECHECK = 1028;            // "Re Check File(s)"
constexpr int IDC_JOIN_OUTPUT = 1016;        // edit: name of the rebuilt file
constexpr int IDC_ASSEMBLE = 1017;           // "Assemble the file !!!!"
constexpr int IDC_JOIN_PROGRESS = 1021;

// Buttons below the panels
constexpr int IDC_HELP_BUTTON = 1035;
constexpr int IDC_LINK = 1045;
constexpr int IDC_CONTEXT_MENU_SETTINGS = 1051;
constexpr int IDC_ABOUT = 1033;
constexpr int IDC_EXIT = 1034;
