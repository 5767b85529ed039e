// The picture button OkEd: owner-drawn, a push button face with its picture.
#pragma once

#include <windows.h>

// Loads the button's picture from the program's resources, once.
void LoadOkEdPicture(HINSTANCE instance);

// Draws the button as WM_DRAWITEM asks, at the form's DPI.
void DrawPictureButton(const DRAWITEMSTRUCT& item);
