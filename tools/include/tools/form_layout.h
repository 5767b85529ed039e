// The form's layout: its controls at their places in twips, scaled with their
// fonts to the DPI of the monitor the form is on.
#pragma once

#include <windows.h>

// Gives the form, of the window style, the client area of its layout at the form's DPI.
void SizeForm(DWORD style);

// Creates the form's controls, in the order of their tab index.
void CreateControls(HINSTANCE instance);

// Every control at its place and size at the form's DPI, in the form's fonts; the
// field labels then widen to their captions.
void LayOutControls();

// Widens each field label that its caption does not fit.
void FitLabels();

// Moved to a monitor of another DPI: the form takes the place Windows suggests and
// is laid out again.
void OnDpiChanged(int dpi, const RECT& suggested);
