// The open and save dialogs on the desktop backend under Xvfb: the desktop's file chooser
// appears with the dialog's title, folder and starting name, and what is typed into it from
// outside the program comes back as the dialog's answer; Escape and a close request cancel it
// without a warning from the toolkit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "DesktopSession.h"
#include "platform/controls/FileDialogs.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/Win.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FILE_CHOOSER_TESTS_UNDER_ASAN 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define FILE_CHOOSER_TESTS_UNDER_ASAN 1
#endif

#ifdef FILE_CHOOSER_TESTS_UNDER_ASAN
// GLib and GTK keep no frame pointers, so the fast unwinder stops a stack at g_malloc. This
// program (these tests alone, see CMakeLists.txt) records whole allocation stacks instead, so
// that the leak suppression for the strings GTK's own completion of the chooser's entry loses
// (tools/sanitizers/leaks.supp) can name the toolkit's frames, and a leak of ours through g_malloc
// is still reported.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
#endif

namespace {

bool watchdogFired = false;

// The chooser did not answer in time: a quit request ends every modal loop, the chooser's too.
void Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  watchdogFired = true;
  PostQuitMessage(0);
}

std::u16string Wide(const std::string& s) { return platform::MultiByteToUtf16(s, CP_UTF8); }

// Closes the chooser as the window manager's close button does: a delete event for its window.
void CloseRequest(HWND, UINT, UINT_PTR, DWORD) {
  GList* all = gtk_window_list_toplevels();
  for (GList* w = all; w; w = w->next) {
    GtkWidget* window = GTK_WIDGET(w->data);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(window));
    if (!title || std::string(title) != "Pick one" || !gtk_widget_get_visible(window)) continue;
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
    event->any.send_event = TRUE;
    gtk_main_do_event(event);
    gdk_event_free(event);
    break;
  }
  g_list_free(all);
}

// Where the chooser stands on the screen, taken just before it is closed.
struct Placement {
  bool seen = false;
  int x = 0, y = 0, width = 0, height = 0;
} placement;

// Records where the chooser stands (as the X server has it), then closes it as above.
void MeasureAndClose(HWND window, UINT message, UINT_PTR id, DWORD time) {
  GList* all = gtk_window_list_toplevels();
  for (GList* w = all; w; w = w->next) {
    GtkWidget* chooser = GTK_WIDGET(w->data);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(chooser));
    if (!title || std::string(title) != "Pick one" || !gtk_widget_get_visible(chooser)) continue;
    gdk_display_sync(gtk_widget_get_display(chooser));
    GdkWindow* own = gtk_widget_get_window(chooser);
    gdk_window_get_origin(own, &placement.x, &placement.y);
    placement.width = gdk_window_get_width(own);
    placement.height = gdk_window_get_height(own);
    placement.seen = true;
  }
  g_list_free(all);
  CloseRequest(window, message, id, time);
}

// What the program writes to stderr meanwhile, kept aside (and shown again at the end).
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    saved_ = dup(2);
    std::snprintf(path_, sizeof path_, "/tmp/mmschooser-stderr-XXXXXX");
    const int fd = mkstemp(path_);
    dup2(fd, 2);
    close(fd);
  }
  std::string Finish() {
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    unlink(path_);
    std::fputs(text.str().c_str(), stderr);
    return text.str();
  }

 private:
  int saved_ = -1;
  char path_[40] = {};
};

class FileChooserOnTheDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
    ASSERT_NE(mkdtemp(folder_), nullptr);
    desktoptest::StartDesktop();
    started_ = true;
  }
  void TearDown() override {
    if (started_) desktoptest::StopDesktop();
    for (const std::string& f : files_) unlink(f.c_str());
    rmdir(folder_);
  }
  std::string Folder() const { return folder_; }
  std::string MakeFile(const std::string& name) {
    files_.push_back(Folder() + "/" + name);
    std::ofstream(files_.back()) << "x";
    return files_.back();
  }

  // Shows the dialog while a script waits for the chooser's window (searching again after a
  // search that failed: xdotool gives up when a window vanishes while it looks at each, as the
  // chooser's passing windows do), gives it the keyboard
  // (there is no window manager to do it) and types `keys` ("" for none) and Enter. Separate
  // xdotool runs: chained after a search, xdotool sends its keys to the found window as
  // synthetic events, which the chooser's fields ignore. Returns the dialog's answer ("" for
  // cancel).
  // `last` is the key that ends the typing; "close" instead sends a close request, "measure"
  // records where the chooser stands first.
  // `hook`: the dialog's hook procedure (OFN_ENABLEHOOK), or none.
  std::u16string Answer(bool save, const char16_t* startName, const std::string& keys,
                        const std::string& last = "Return", LPOFNHOOKPROC hook = nullptr) {
    const std::string script =
        "until w=$(xdotool search --onlyvisible --name '^Pick one$' 2>/dev/null | head -1) && [ -n \"$w\" ]; "
        "do sleep 0.1; done && "
        "xdotool windowfocus --sync \"$w\" && sleep 0.3 && "
        "{ [ -z \"$1\" ] || xdotool type --delay 10 \"$1\"; } && sleep 0.3 && xdotool key \"$2\"";
    const int typist =
        last == "close" || last == "measure"
            ? 0
            : desktoptest::Spawn({"timeout", "60", "bash", "-c", script, "typist", keys, last});
    EXPECT_GE(typist, 0);
    const UINT_PTR closer = last == "close"     ? SetTimer(nullptr, 0, 500, CloseRequest)
                            : last == "measure" ? SetTimer(nullptr, 0, 1000, MeasureAndClose)
                                                : 0;
    watchdogFired = false;
    // Bounds for a chooser that never answers, wide enough for a loaded two-core machine under the
    // sanitizers: a chooser that answers ends the wait at once.
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 60000, Watchdog);
    char16_t buffer[512] = {};
    std::char_traits<char16_t>::copy(buffer, startName, std::char_traits<char16_t>::length(startName));
    const std::u16string folder = Wide(Folder());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = 512;
    ofn.lpstrFilter = u"Pictures\0*.png;*.jpg\0Messages\0*.mms\0";
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = u"Pick one";
    ofn.Flags = (save ? 0 : OFN_FILEMUSTEXIST) | (hook ? OFN_ENABLEHOOK | OFN_EXPLORER : 0);
    ofn.lpfnHook = hook;
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    KillTimer(nullptr, watchdog);
    if (closer) KillTimer(nullptr, closer);
    if (typist > 0) {
      EXPECT_EQ(desktoptest::Reap(typist, 65000), 0);
    }
    if (watchdogFired) {  // the quit request it posted
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      }
    }
    EXPECT_FALSE(watchdogFired) << "the chooser never answered";
    return chosen ? std::u16string(buffer) : std::u16string();
  }

  char folder_[32] = "/tmp/mmschooser-test-XXXXXX";
  std::vector<std::string> files_;
  bool started_ = false;
};

TEST_F(FileChooserOnTheDesktop, OpenReturnsThePathTypedIntoIt) {
  const std::string file = MakeFile("chosen picture.png");
  EXPECT_EQ(Answer(false, u"", file), Wide(file));
}

// What the hook read from the dialog when it was asked to let the choice through.
std::u16string pathAtFileOk;
UINT_PTR ReadingHook(HWND hwnd, UINT msg, WPARAM, LPARAM l) {
  if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(l)->code == CDN_FILEOK) {
    char16_t path[512] = {};
    if (SendMessageW(GetParent(hwnd), CDM_GETFILEPATH, 512, LPARAM(path)) > 0) pathAtFileOk = path;
  }
  return 0;
}

TEST_F(FileChooserOnTheDesktop, TheHookReadsTheChosenPathBeforeTheDialogCloses) {
  const std::string file = MakeFile("hooked picture.png");
  pathAtFileOk.clear();
  EXPECT_EQ(Answer(false, u"", file, "Return", &ReadingHook), Wide(file));
  EXPECT_EQ(pathAtFileOk, Wide(file));
}

TEST_F(FileChooserOnTheDesktop, SaveStartsWithTheDialogsNameInItsFolder) {
  EXPECT_EQ(Answer(true, u"Tiếng Việt.mms", ""), Wide(Folder() + "/Tiếng Việt.mms"));
}

// Escape and a close request each cancel the chooser: no file, no dialog error, and no warning
// from the toolkit about a dialog used after it was freed.
TEST_F(FileChooserOnTheDesktop, EscapeAndACloseRequestCancel) {
  for (const char* how : {"Escape", "close"}) {
    StderrCapture capture;
    EXPECT_EQ(Answer(false, u"", "", how), u"") << how;
    EXPECT_EQ(CommDlgExtendedError(), 0u) << how;
    desktoptest::Pump(200);
    const std::string said = capture.Finish();
    EXPECT_EQ(said.find("CRITICAL"), std::string::npos) << how << ": " << said;
    EXPECT_EQ(said.find("WARNING"), std::string::npos) << how << ": " << said;
  }
}

// The private display is 640 x 480, smaller than the chooser's own choice of size: it is fitted
// onto the screen, so its Open and Cancel buttons can be reached.
TEST_F(FileChooserOnTheDesktop, FitsOnASmallScreen) {
  for (bool save : {false, true}) {
    placement = {};
    EXPECT_EQ(Answer(save, u"", "", "measure"), u"") << save;
    ASSERT_TRUE(placement.seen) << save;
    GdkMonitor* monitor = gdk_display_get_monitor(gdk_display_get_default(), 0);
    ASSERT_NE(monitor, nullptr);
    GdkRectangle screen{};
    gdk_monitor_get_geometry(monitor, &screen);
    EXPECT_GE(placement.x, screen.x) << save;
    EXPECT_GE(placement.y, screen.y) << save;
    EXPECT_LE(placement.x + placement.width, screen.x + screen.width) << save;
    EXPECT_LE(placement.y + placement.height, screen.y + screen.height) << save;
  }
}

}  // namespace
