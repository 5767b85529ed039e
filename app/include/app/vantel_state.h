// The process-wide state of the calculator, in one record.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "format/short_string.h"

// The items the dialog's design names keep those names (ArgFormula,
// ScrollBarHandle, CurrentN...); the program's own are in lower case.
struct VantelState {
  ShortString ArgFormula;  // first command-line argument
  ShortString ArgN;        // second one, only with exactly two arguments

  HWND ScrollBarHandle = nullptr;  // control 20, steps n
  int ScrollMin = 0;               // the range last given to SetScrollBarRange
  int ScrollMax = 0;
  int PageStep = 10;  // a click in the trough moves n by this much

  COLORREF DialogColour = RGB(0, 220, 180);      // dialog, labels, disabled boxes
  COLORREF EditColour = RGB(240, 240, 180);      // enabled edit fields
  COLORREF ScrollBarColour = RGB(240, 200, 80);  // the scroll bar
  HBRUSH DialogBrush = nullptr;
  HBRUSH EditBrush = nullptr;
  HBRUSH ScrollBarBrush = nullptr;
  HICON class_icon = nullptr;

  ShortString CurrentFormula;  // the formula field as last read by a term request
  std::int32_t CurrentN = 0;   // the last n read from field 102 or set by the scroll bar

  // The full path of "ults.rel", found when the history is loaded: in the current
  // folder or the per-user folder.
  std::string history_path;
  // The entries the list took from the file; those after them were added in this run.
  std::size_t history_loaded = 0;
  // False when "ults.rel" exists but could not be read whole (it is then never
  // overwritten, so nothing it held is lost), or when no folder can take it.
  bool history_writable = true;
  // True once a formula was left out of the history because the list was full.
  bool history_full = false;
};

extern VantelState App;
