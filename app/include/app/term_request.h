// A term request in the dialog: moves the texts of the formula and n fields to
// the portable request (termrequest/term_texts.h) and its results back into the
// dialog, recording an accepted formula in the history.
#pragma once

#include <windows.h>

void RunTermRequest(HWND dialog);

// Empties the three result boxes, ticked or not.
void ClearResults(HWND dialog);
