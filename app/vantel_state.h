// The process-wide state of the calculator, in one record.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "format/short_string.h"

struct VantelState {
  ShortString arg_formula;  // first command-line argument
  ShortString arg_n;        // second one, only with exactly two arguments

  HWND scroll_bar_handle = nullptr;  // control 20, steps n
  int scroll_min = 0;                // the range last given to SetScrollBarRange
  int scroll_max = 0;
  int page_step = 10;  // a click in the trough moves n by this much

  COLORREF dialog_colour = RGB(0, 220, 180);       // dialog, labels, disabled boxes
  COLORREF edit_colour = RGB(240, 240, 180);       // enabled edit fields
  COLORREF scroll_bar_colour = RGB(240, 200, 80);  // the scroll bar
  HBRUSH dialog_brush = nullptr;
  HBRUSH edit_brush = nullptr;
  HBRUSH scroll_bar_brush = nullptr;
  HICON class_icon = nullptr;

  ShortString current_formula;  // the formula field as last read by a term request
  std::int32_t current_n = 0;   // the last n read from field 102 or set by the scroll bar

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
