// The picture button OkEd: its picture loaded once and drawn on a push-button face at the form's DPI.
#include "tools/picture_button.h"

#include "tools/program.h"
#include "windpi/dpi.h"

namespace {

constexpr int kPictureWidth = 24, kPictureHeight = 15;
constexpr COLORREF kTransparent = RGB(255, 255, 255);  // white in the button's picture is not drawn

}  // namespace

void LoadOkEdPicture(HINSTANCE instance) {
  if (!g_tools.okEditPicture)
    g_tools.okEditPicture =
        static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_OKEDIT), IMAGE_BITMAP, 0, 0, 0));
}

// The picture button: a push button face with the picture centred on it.
void DrawPictureButton(const DRAWITEMSTRUCT& item) {
  RECT face = item.rcItem;
  bool pushed = item.itemState & ODS_SELECTED;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  // The picture is drawn at the size it has at 96 DPI, scaled to the form's DPI.
  int width = ScaleToDpi(kPictureWidth, g_tools.dpi), height = ScaleToDpi(kPictureHeight, g_tools.dpi);
  int shift = pushed ? ScaleToDpi(1, g_tools.dpi) : 0;
  int x = (face.right - face.left - width) / 2 + shift;
  int y = (face.bottom - face.top - height) / 2 + shift;
  HDC picture = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(picture, g_tools.okEditPicture);
  // gdi32's own name for TransparentBlt: msimg32, which exports it under that name,
  // is not a known DLL, and importing it would have Windows look for it beside the
  // program first (dllsearch/dll_search.h).
  GdiTransparentBlt(item.hDC, x, y, width, height, picture, 0, 0, kPictureWidth, kPictureHeight, kTransparent);
  SelectObject(picture, old);
  DeleteDC(picture);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = face;
    InflateRect(&focus, -ScaleToDpi(3, g_tools.dpi), -ScaleToDpi(3, g_tools.dpi));
    DrawFocusRect(item.hDC, &focus);
  }
}
