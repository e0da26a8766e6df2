#include "platform/controls/FileDialogWindow.h"

#include <algorithm>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/SystemClassRegistry.h"

namespace platform::controls {

namespace {

struct DialogState {
  bool frame = false;
  std::u16string path;  // the frame's: the path chosen so far
};

WindowStates<DialogState>& States() {
  static WindowStates<DialogState> states;
  return states;
}

// CDM_GETFILEPATH: the capacity counts characters of the caller's set; the answer is the size
// the path needs with its terminator, and the buffer is only written when that fits.
LRESULT AnswerFilePath(HWND hwnd, const DialogState& state, WPARAM capacity, LPARAM buffer) {
  if (state.path.empty()) return -1;
  if (IsAnsi(hwnd)) {
    const std::string path = Utf16ToMultiByte(state.path, CP_ACP);
    const size_t needed = path.size() + 1;
    if (buffer && capacity >= needed)
      std::copy(path.c_str(), path.c_str() + needed, reinterpret_cast<char*>(buffer));
    return LRESULT(needed);
  }
  const size_t needed = state.path.size() + 1;
  if (buffer && capacity >= needed)
    std::copy(state.path.c_str(), state.path.c_str() + needed, reinterpret_cast<char16_t*>(buffer));
  return LRESULT(needed);
}

LRESULT DialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) States().Create(hwnd);
  DialogState* state = States().Get(hwnd);
  if (state && state->frame && msg == CDM_GETFILEPATH) return AnswerFilePath(hwnd, *state, w, l);
  if (msg == WM_NCDESTROY) States().Drop(hwnd);
  // The hook is the dialog procedure: a nonzero answer means it handled the message, and for a
  // notification its result is the one it stored in the window.
  if (auto hook = reinterpret_cast<LPOFNHOOKPROC>(GetWindowLongPtrW(hwnd, DWLP_DLGPROC))) {
    if (const UINT_PTR handled = hook(hwnd, msg, w, l))
      return msg == WM_NOTIFY ? GetWindowLongPtrW(hwnd, DWLP_MSGRESULT) : LRESULT(handled);
  }
  return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace

WndProcFunction FileDialogWindowProc() { return &DialogProc; }

void RegisterFileDialogClass() {
  // A dialog's window extra: its message result, its procedure (the hook) and a user value.
  win::RegisterSystemClass({kFileDialogClass, &DialogProc, 0, DWLP_USER + int(sizeof(LONG_PTR)),
                            LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)), nullptr});
}

FileDialogWindow::FileDialogWindow(HWND owner, const std::u16string& caption, LPOFNHOOKPROC hook,
                                   bool explorer, void* record, bool ansi)
    : record_(record), ansi_(ansi) {
  RegisterFileDialogClass();
  // The person answers the backend's own chooser; this window only carries the dialog's state
  // and its hook, so it stays hidden.
  // The windows take the caller's set, in which they answer CDM_GETFILEPATH.
  owner = owner && IsWindow(owner) ? owner : nullptr;
  frame_ = ansi_ ? CreateWindowExA(WS_EX_DLGMODALFRAME, "FileDialogWindow",
                                   Utf16ToMultiByte(caption, CP_ACP).c_str(), WS_POPUP | WS_CAPTION, 0, 0, 0,
                                   0, owner, nullptr, nullptr, nullptr)
                 : CreateWindowExW(WS_EX_DLGMODALFRAME, kFileDialogClass, caption.c_str(),
                                   WS_POPUP | WS_CAPTION, 0, 0, 0, 0, owner, nullptr, nullptr, nullptr);
  if (!frame_) return;
  States().Get(frame_)->frame = true;
  if (!explorer)
    hookWindow_ = frame_;
  else if (ansi_)
    hookWindow_ =
        CreateWindowExA(0, "FileDialogWindow", "", WS_CHILD, 0, 0, 0, 0, frame_, nullptr, nullptr, nullptr);
  else
    hookWindow_ =
        CreateWindowExW(0, kFileDialogClass, u"", WS_CHILD, 0, 0, 0, 0, frame_, nullptr, nullptr, nullptr);
  if (!hookWindow_) return;
  SetWindowLongPtrW(hookWindow_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(hook));
  if (ansi_)
    SendMessageA(hookWindow_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(record_));
  else
    SendMessageW(hookWindow_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(record_));
}

FileDialogWindow::~FileDialogWindow() {
  if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);
}

bool FileDialogWindow::FileOk(const std::u16string& path) {
  if (!hookWindow_ || !IsWindow(hookWindow_)) return true;
  if (DialogState* state = States().Get(frame_)) state->path = path;
  SetWindowLongPtrW(hookWindow_, DWLP_MSGRESULT, 0);
  if (ansi_) {
    std::string file = Utf16ToMultiByte(path, CP_ACP);
    OFNOTIFYA note{{frame_, 0, CDN_FILEOK}, static_cast<OPENFILENAMEA*>(record_), file.data()};
    SendMessageA(hookWindow_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  } else {
    std::u16string file = path;
    OFNOTIFYW note{{frame_, 0, CDN_FILEOK}, static_cast<OPENFILENAMEW*>(record_), file.data()};
    SendMessageW(hookWindow_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  }
  return !IsWindow(hookWindow_) || GetWindowLongPtrW(hookWindow_, DWLP_MSGRESULT) == 0;
}

}  // namespace platform::controls
