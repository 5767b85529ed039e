// What the form does: loading it, and the list, the tool panel, its buttons and the saving of "Tools.rel".
#include "tools/operations.h"

#include <utility>

#include "tools/fields.h"
#include "tools/form_layout.h"
#include "tools/program.h"

namespace {

// The text shown when RefreshToolMenu finds no host form, in every language.
constexpr const char* kNoFormText = "No Form";
// The caption of message boxes that have none of their own: the program's title.
constexpr const char* kProgramTitle = "Tools";

int Ask(const char* text, const char* caption, UINT type) {
  return g_tools.messageBox(g_tools.form, text, caption, type);
}

// ---- The operations of the form

void ClearToolPanel() {
  for (int k = 0; k < 4; ++k) SetWindowTextW(Ed(k), L"");
  g_tools.CurrentTool = 0;
  SendMessageA(FormItem(IDC_LST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (g_tools.FormLoaded) SetFocus(Ed(0));
}

void LlistaTools() {
  HWND list = FormItem(IDC_LST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (int i = 1; i <= g_tools.list.ToolCount; ++i)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_tools.list.ToolTable[i].Title.c_str()));
  ClearToolPanel();
}

void ShowTool(int slot) {
  const ToolEntry& tool = g_tools.list.ToolTable[slot];
  SetFieldText(0, tool.Title);
  SetFieldText(1, tool.File);
  SetFieldText(2, tool.WorkDirectory);
  SetFieldText(3, tool.Parameters);
}

// For Catalan and Spanish the window's texts change; the English ones are the design texts.
void SetCaptions() {
  if (g_tools.language == kLanguageEnglish) return;
  const WindowTexts& texts = WindowTextsOf(g_tools.language);
  SetWindowTextA(g_tools.form, texts.caption);
  SetWindowTextA(FormItem(IDC_ETTOOLS), texts.tools);
  SetWindowTextA(FormItem(IDC_PED), texts.tool);
  for (int k = 0; k < 4; ++k) SetWindowTextA(FormItem(IDC_ET0 + k), texts.fields[k]);
}

// ---- What the user does

void OnToolChosen() {
  LRESULT chosen = SendMessageA(FormItem(IDC_LST), LB_GETCURSEL, 0, 0);
  if (chosen == LB_ERR || chosen >= g_tools.list.ToolCount) return;
  g_tools.CurrentTool = static_cast<std::uint16_t>(chosen + 1);
  ShowTool(g_tools.CurrentTool);
}

void OnNewTool() { ClearToolPanel(); }

// Stores the edit panel: in place of the tool shown, or as a new tool at the end.
// A character that the list file cannot hold would be written as "?" and a Ctrl-Z
// would end the reading of the file, a tool without a title would end the list
// when the file is read back, and the list holds twelve tools at most: each is
// refused and nothing changes.
void OnStoreTool() {
  ToolEntry tool;
  std::string* fields[4] = {&tool.Title, &tool.File, &tool.WorkDirectory, &tool.Parameters};
  for (int k = 0; k < 4; ++k) {
    if (!FieldText(k, *fields[k])) {
      Notify(Notice::kNotCodePage);
      SetFocus(Ed(k));
      return;
    }
  }
  if (tool.Title.empty()) return Notify(Notice::kEmptyTitle);
  if (g_tools.CurrentTool == 0) {
    if (g_tools.list.ToolCount >= kMaxTools) return Notify(Notice::kListFull);
    g_tools.CurrentTool = ++g_tools.list.ToolCount;
  }
  g_tools.list.ToolTable[g_tools.CurrentTool] = tool;
  LlistaTools();
  ClearToolPanel();
}

void OnDeleteTool() {
  if (g_tools.CurrentTool == 0) return;
  std::string prompt = DeletePrompt(g_tools.list.ToolTable[g_tools.CurrentTool].Title, g_tools.language);
  if (Ask(prompt.c_str(), DeleteCaption(g_tools.language), MB_YESNO) == IDNO) return;
  ToolList& list = g_tools.list;
  --list.ToolCount;
  for (int i = g_tools.CurrentTool; i <= list.ToolCount; ++i) list.ToolTable[i] = list.ToolTable[i + 1];
  LlistaTools();
}

// The chosen file goes to Ed(1) and its folder to Ed(2), as they are: a character
// that the list file cannot hold is refused when the tool is stored. The current
// folder is set back in case the dialog moved it; the list file does not depend
// on it, as its full path was taken at start.
void OnBrowse() {
  std::wstring path;
  if (g_tools.openFile(g_tools.form, path) && !path.empty()) {
    std::size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) {
      SetWindowTextW(Ed(1), path.substr(slash + 1).c_str());
      SetWindowTextW(Ed(2), path.substr(0, slash).c_str());
    } else {
      SetWindowTextW(Ed(1), path.c_str());
      SetWindowTextW(Ed(2), L"");
    }
  }
  if (!g_tools.StartFolder.empty()) SetCurrentDirectoryW(g_tools.StartFolder.c_str());
}

// Saves the list where it was read and closes. A list file that was not read to
// its end is never replaced: the tools it holds would be lost. One that changed
// since it was read (another copy of Tools saved it, also a moment ago) is
// replaced only when the user says so; No leaves the file and the form as they
// are. The question is asked outside the save lock, so the file may change again
// meanwhile: it is then asked again. When the file cannot be written, or another
// copy keeps saving it, the form stays open, so that nothing is lost.
void OnOk() {
  if (!MayReplace(g_tools.listRead)) return Notify(Notice::kNotWritten);
  ToolsFileReading expected = g_tools.listRead;
  for (;;) {
    ToolsFileReading now;
    const ToolsSave saved = SaveToolsIfUnchanged(g_tools.list, g_tools.listFile, expected, &now);
    if (saved == ToolsSave::kSaved) break;
    if (saved == ToolsSave::kBusy) return Notify(Notice::kBusy);
    if (saved == ToolsSave::kNotWritten) return Notify(Notice::kNotWritten);
    if (Ask(NoticeText(Notice::kChanged, g_tools.language), WindowTextsOf(g_tools.language).caption, MB_YESNO) != IDYES)
      return;
    expected = std::move(now);  // Yes: replaced if it is still what the user was asked about
  }
  if (g_tools.HostMode && RefreshToolMenu(g_tools.list, g_tools.HostForm, g_tools.listFile) == MenuRefresh::kNoForm)
    Ask(kNoFormText, kProgramTitle, MB_OK);
  DestroyWindow(g_tools.form);
}

void OnEsc() { DestroyWindow(g_tools.form); }

// The click of each button, by its control id.
struct Click {
  int id;
  void (*handler)();
};
constexpr Click kClicks[] = {
    {IDC_BTNOU, OnNewTool}, {IDC_OKED, OnStoreTool}, {IDC_BTBRR, OnDeleteTool},
    {IDC_BTCERC, OnBrowse}, {IDC_BTOK, OnOk},        {IDC_BTESC, OnEsc},
};

}  // namespace

void Notify(Notice notice) {
  Ask(NoticeText(notice, g_tools.language), WindowTextsOf(g_tools.language).caption, MB_OK);
}

void LoadForm(const std::string& commandText) {
  std::error_code ignored;
  g_tools.StartFolder = std::filesystem::current_path(ignored);
  const ToolsFilePlace place = FindToolsFile();
  g_tools.listFile = place.path;
  g_tools.listWritable = place.writable;
  g_tools.FormLoaded = false;
  LanguageChoice choice = SelectLanguage(commandText, g_tools.language);
  g_tools.language = choice.language;
  g_tools.HostMode = choice.HostMode;
  SetCaptions();
  FitLabels();
  g_tools.CurrentTool = 0;
  g_tools.listRead = ReadToolsFile(g_tools.list, g_tools.listFile);
  if (g_tools.list.ToolCount > 0) LlistaTools();
  g_tools.FormLoaded = true;
}

// What the user is told about the list file once the form is on the screen: that
// no folder can take it, then that a file is kept as it was or, if not, that tools
// beyond the twelfth were left out.
void PostReadNotice() {
  if (!g_tools.listWritable) PostMessageA(g_tools.form, kShowNotice, static_cast<WPARAM>(Notice::kNowhere), 0);
  Notice notice;
  switch (g_tools.listRead.state) {
    case ListFileState::kNotRead:
      notice = Notice::kNotRead;
      break;
    case ListFileState::kReadInPart:
      notice = Notice::kReadInPart;
      break;
    default:
      if (g_tools.listRead.dropped == 0) return;
      notice = Notice::kToolsDropped;
  }
  PostMessageA(g_tools.form, kShowNotice, static_cast<WPARAM>(notice), 0);
}

void OnCommand(int id, int code) {
  if (id == IDC_LST) {
    if (code == LBN_SELCHANGE) OnToolChosen();
    return;
  }
  for (const Click& click : kClicks)
    if (click.id == id) return click.handler();
}
