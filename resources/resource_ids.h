// Ids of Vantel's dialog controls and menu commands, shared by vantel.rc and the
// code. Plain #defines so that the resource compiler reads them too.
#pragma once

// Controls of the dialog "dialegserie".
#define IDC_STATIC_TEXT -1 /* labels and frames that nothing addresses */
#define IDC_SCROLL 20      /* steps n */
#define IDC_FORMULA 101    /* formula of a(n), with the history in its list */
#define IDC_N 102          /* n */
#define IDC_AN_BOX 103     /* result a_n */
#define IDC_SN_BOX 104     /* result S_n */
#define IDC_PN_BOX 105     /* result P_n */
#define IDC_AN_CHECK 106   /* "an =" */
#define IDC_SN_CHECK 107   /* "Sn =" */
#define IDC_PN_CHECK 108   /* "Pn =" */
#define IDC_RESULTS_GROUP 11
#define IDC_ICON_STATIC 15
#define IDC_CALCULATE 3 /* "&Calcula" */
#define IDC_ENOUGH 2    /* "&Prou!", the same command as IDCANCEL */

// Menu commands of MNUVANTEL.
#define IDM_GENERAL_HELP 300
#define IDM_SEQUENCES_HELP 10
#define IDM_ABOUT 301
#define IDM_QUIT 2 /* "Sortir", the same command as IDCANCEL */

// The about window's button.
#define IDC_ABOUT_BUTTON 1
