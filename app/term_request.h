// A term request: check the formula, record it, read n and show the ticked
// quantities a_n, S_n and P_n.
#pragma once

#include <windows.h>

void RunTermRequest(HWND dialog);

// Reads and checks the formula field; an accepted formula joins the history.
bool ReadFormula(HWND dialog);

// Reads n and computes the ticked quantities into their boxes.
void ShowTerms(HWND dialog);

// Empties the three result boxes, ticked or not.
void ClearResults(HWND dialog);
