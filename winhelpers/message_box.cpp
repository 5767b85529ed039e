// ShowMessage: a plain message box owned by the active window.
#include "winhelpers/message_box.h"

#include <windows.h>

void ShowMessage(const ShortString& caption, const ShortString& text) {
  MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK);
}
