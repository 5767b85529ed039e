// The dialog template "dialegserie" and the menu MNUVANTEL as stored in the
// program's resources, compared with their description.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

// Reads a classic DLGTEMPLATE and its items.
class TemplateReader {
 public:
  explicit TemplateReader(const std::uint8_t* data) : data_(data) {}
  std::uint32_t Dword() {
    std::uint32_t v = Word();
    return v | (static_cast<std::uint32_t>(Word()) << 16);
  }
  std::uint16_t Word() {
    std::uint16_t v = static_cast<std::uint16_t>(data_[at_] | (data_[at_ + 1] << 8));
    at_ += 2;
    return v;
  }
  // A text in Windows-1252, or "#N" for an ordinal.
  std::string NameOrOrdinal() {
    if (Peek() == 0xFFFF) {
      Word();
      std::string ordinal = "#";
      ordinal += std::to_string(Word());
      return ordinal;
    }
    return Text();
  }
  std::string Text() {
    std::wstring wide;
    for (std::uint16_t c = Word(); c != 0; c = Word()) wide += static_cast<wchar_t>(c);
    std::string narrow(wide.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(),
                                static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(n);
    return narrow;
  }
  void AlignDword() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }

 private:
  std::uint16_t Peek() const { return static_cast<std::uint16_t>(data_[at_] | (data_[at_ + 1] << 8)); }
  const std::uint8_t* data_;
  std::size_t at_ = 0;
};

struct Item {
  std::uint16_t id;
  std::string window_class;  // "#128" button, "#129" edit, "#130" static, "#132" scroll bar, "#133" combo box
  std::string text;
  std::uint32_t style;
  short x, y, cx, cy;
};

const Item kItems[] = {
    {IDC_SCROLL, "#132", "", 0x50800000, 44, 31, 100, 9},
    {IDC_FORMULA, "#133", "", 0x50200042, 16, 4, 140, 80},
    {65535, "#130", "An:", 0x50020000, 4, 6, 10, 10},
    {IDC_N, "#129", "", 0x50810000, 16, 30, 24, 10},
    {65535, "#130", "n:", 0x50020000, 7, 30, 6, 8},
    {IDC_RESULTS_GROUP, "#128", "resultats", 0x50000007, 10, 50, 164, 55},
    {IDC_SN_BOX, "#129", "", 0x50810080, 58, 73, 110, 10},
    {IDC_AN_BOX, "#129", "", 0x50810080, 58, 58, 110, 10},
    {IDC_PN_BOX, "#129", "", 0x50810080, 58, 88, 110, 10},
    {15, "#130", "IcAn", 0x50000003, 15, 59, 6, 8},
    {15, "#130", "IcSn", 0x50000003, 15, 74, 6, 8},
    {15, "#130", "IcPn", 0x50000003, 15, 89, 6, 8},
    {IDC_AN_CHECK, "#128", "an =", 0x50010003, 32, 60, 26, 10},
    {IDC_SN_CHECK, "#128", "Sn =", 0x50010003, 32, 75, 26, 10},
    {IDC_PN_CHECK, "#128", "Pn =", 0x50010003, 32, 89, 26, 10},
    {IDC_CALCULATE, "#128", "&Calcula", 0x50010000, 120, 110, 29, 14},
    {IDC_ENOUGH, "#128", "&Prou!", 0x50010000, 28, 110, 28, 14},
};

TEST(DialogTemplate, MatchesItsDescription) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, "dialegserie", MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(found, nullptr);
  TemplateReader read(static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found))));
  EXPECT_EQ(read.Dword(), 0x80CA08C0u);
  EXPECT_EQ(read.Dword(), 0u);
  std::uint16_t count = read.Word();
  ASSERT_EQ(count, 17);
  EXPECT_EQ(static_cast<short>(read.Word()), 199);
  EXPECT_EQ(static_cast<short>(read.Word()), 51);
  EXPECT_EQ(static_cast<short>(read.Word()), 180);
  EXPECT_EQ(static_cast<short>(read.Word()), 130);
  EXPECT_EQ(read.NameOrOrdinal(), "MNUVANTEL");
  EXPECT_EQ(read.NameOrOrdinal(), "");  // the standard dialog class
  EXPECT_EQ(read.Text(), "S\350ries: c\340lcul dels termes an, Sn, Pn");
  EXPECT_EQ(read.Word(), 14);
  EXPECT_EQ(read.Text(), "Tahoma");
  for (const Item& expected : kItems) {
    read.AlignDword();
    EXPECT_EQ(read.Dword(), expected.style) << expected.id << " " << expected.text;
    EXPECT_EQ(read.Dword(), 0u);
    EXPECT_EQ(static_cast<short>(read.Word()), expected.x);
    EXPECT_EQ(static_cast<short>(read.Word()), expected.y);
    EXPECT_EQ(static_cast<short>(read.Word()), expected.cx);
    EXPECT_EQ(static_cast<short>(read.Word()), expected.cy);
    EXPECT_EQ(read.Word(), expected.id);
    EXPECT_EQ(read.NameOrOrdinal(), expected.window_class) << expected.id;
    EXPECT_EQ(read.NameOrOrdinal(), expected.text);
    EXPECT_EQ(read.Word(), 0);  // no creation data
  }
}

struct MenuEntry {
  int position;
  UINT id;  // 0 for a separator
  const char* text;
};

TEST(DialogMenu, AjudaAndSortir) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), "MNUVANTEL");
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  char text[64] = {};
  GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Ajuda");
  GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Sortir");
  EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_QUIT));
  HMENU help = GetSubMenu(menu, 0);
  ASSERT_NE(help, nullptr);
  const MenuEntry entries[] = {
      {0, IDM_GENERAL_HELP, "General"},
      {1, IDM_SEQUENCES_HELP, "Introducci\363 de successions"},
      {2, 0, ""},
      {3, IDM_ABOUT, "Quat a Vantel"},
  };
  ASSERT_EQ(GetMenuItemCount(help), 4);
  for (const MenuEntry& e : entries) {
    text[0] = '\0';
    GetMenuStringA(help, e.position, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, e.text);
    EXPECT_EQ(GetMenuItemID(help, e.position), e.id);
  }
  DestroyMenu(menu);
}

TEST(ProgramIcons, AllFourAre32By32) {
  for (const char* name : {"Ic0", "ICAN", "ICSN", "ICPN"}) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), name);
    ASSERT_NE(icon, nullptr) << name;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32) << name;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

}  // namespace
