// Resource and control identifiers shared by both resource sets.
#pragma once

#define IDD_PRINTER_INF 103
// RCDATA: the option controls that each resource set numbers in its own way
// (language_controls.rc2).
#define IDR_LANGUAGE_CONTROL_IDS 104

#define IDS_ERROR_CAPTION 100
#define IDS_GUIDE_INPUT 101
#define IDS_GUIDE_STORED 102
#define IDS_MEMORY_0 200
#define IDS_MEMORY_32 201
#define IDS_MEMORY_64 202
#define IDS_MEMORY_96 203
#define IDS_PAPER_NONE 300
#define IDS_PAPER_CASSETTE2 301
// Messages and their parameter texts, which the code picks by index from these bases.
#define IDS_MESSAGE_BASE 50000
#define IDS_MESSAGE_INCOMPATIBLE_PRINTER (IDS_MESSAGE_BASE + 0)
#define IDS_MESSAGE_PRINTER_ID_RANGE (IDS_MESSAGE_BASE + 100)
#define IDS_PARAM_BASE 51000
#define IDS_PARAM_PRINTER_ID_LOWER (IDS_PARAM_BASE + 0)
#define IDS_PARAM_PRINTER_ID_UPPER (IDS_PARAM_BASE + 1)

#define IDC_MEMORY 1000
#define IDC_PRINTER_ID1 1001
#define IDC_PRINTER_ID2 1002
#define IDC_PRINTER_ID3 1003
#define IDC_PRINTER_ID4 1004
#define IDC_PRINTER_ID5 1005
#define IDC_PRINTER_ID6 1006
#define IDC_PAPER_SOURCE 1007
#define IDC_SETTINGS_SHEET 1008
#define IDC_GUIDE_TEXT 1009
#define IDC_PAPER_GROUP 1010
#define IDC_MEMORY_GROUP 1011
#define IDC_MEMORY_LABEL 1012
#define IDC_ID_LABEL 1015
#define IDC_ID_SEPARATOR1 1016
#define IDC_ID_SEPARATOR2 1017
#define IDC_ID_SEPARATOR3 1018
#define IDC_ID_SEPARATOR4 1019
#define IDC_ID_SEPARATOR5 1020
