// Identifiers of the dialog layer's own test templates.
#pragma once

#define IDD_CONTROLS 201
#define IDD_DEFAULT_BUTTON 202
#define IDD_LIST 203
#define IDD_PLAIN 204
#define IDD_NO_TAB_STOPS 205
#define IDD_GROUPED 206

#define IDC_FIRST 1101
#define IDC_SECOND 1102
#define IDC_THIRD 1103
#define IDC_DISABLED 1104
#define IDC_CHECK 1105
#define IDC_GO 1106
#define IDC_NESTED 1107
#define IDC_LABELLED 1108
#define IDC_OTHER 1110
#define IDC_DEFAULT_CHECK 1111
#define IDC_LIST 1120
#define IDC_PLAIN_BUTTON 1130
#define IDC_APPLE 1140
#define IDC_PEAR 1141
#define IDC_FIELD 1142
