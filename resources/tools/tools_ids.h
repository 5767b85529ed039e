// Resource and control ids of Tools, shared by tools.rc and the form.
#pragma once

#define IDI_TOOLS 1   // the form's icon
#define IDB_OKEDIT 2  // the picture of the store button

#define IDC_ETTOOLS 100  // label over the list
#define IDC_LST 101      // the list of titles
#define IDC_BTNOU 102    // "+"
#define IDC_BTBRR 103    // "-"
#define IDC_BTESC 104    // "Esc"
#define IDC_BTOK 105     // "Ok"
#define IDC_PED 106      // the frame of the edit panel
#define IDC_BTCERC 107   // browse for the program file
#define IDC_OKED 108     // store the edit panel
#define IDC_ET0 110      // labels Et(0) to Et(3)
#define IDC_ED0 120      // text boxes Ed(0) to Ed(3)
