// Identifiers shared by the resource script and the dialog procedures.
// Only #define lines, so that the resource compiler can read this file.
#pragma once

#define IDD_MAIN 101
#define IDI_CORVANT 102
#define IDD_PREFERENCES 103
#define IDD_AUTO_FIND 104

#define IDC_NETSCAPE 1000
#define IDC_INTERNET_EXPLORER 1001
#define IDC_OTHER_BROWSERS 1002
#define IDC_SPECIFY_LOCATION 1003
#define IDC_TEST_BROWSER 1004
#define IDC_AUTO_FIND 1005
#define IDC_PREFERENCES 1011

#define IDC_PREF_HTTP 1004
#define IDC_PREF_HTTPS 1005
#define IDC_PREF_GOPHER 1006
#define IDC_PREF_FTP 1007
#define IDC_PREF_HTMLFILE 1009

#define IDC_SEARCH_START 1012
#define IDC_SEARCH_ACCEPT 1013
#define IDC_SEARCH_RESULTS 1015
