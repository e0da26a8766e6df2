// The desktop's file chooser: title, filters, initial folder and name and multiple selection
// from the dialog's description. The caller checks the answer (existence, the overwrite prompt,
// the default extension) as it does for any answer.
#include "platform/backend/gtk/FileChooser.h"

#include <gtk/gtk.h>

#include <algorithm>

#include "platform/rtl/CodePage.h"
#include "platform/win/Win.h"

namespace platform::desktop {

namespace {

std::string Utf8(const std::u16string& s) { return platform::Utf16ToMultiByte(s, CP_UTF8); }

constexpr DWORD kAllowMultiSelect = 0x200;

// The work area of the monitor the window stands on (before it is shown: the primary or first one).
bool WorkArea(GtkWindow* window, GdkRectangle* area) {
  GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window));
  GdkMonitor* monitor = nullptr;
  if (GdkWindow* own = gtk_widget_get_window(GTK_WIDGET(window)))
    monitor = gdk_display_get_monitor_at_window(display, own);
  if (!monitor) monitor = gdk_display_get_primary_monitor(display);
  if (!monitor && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return false;
  gdk_monitor_get_workarea(monitor, area);
  return area->width > 0 && area->height > 0;
}

// The chooser picks its own size from the font, and on a small screen (640 x 480) it came out
// larger than the screen and centred off it: its Open and Cancel buttons could not be reached.
// Before it is shown its largest size is the work area, so that the size it settles on later
// (it sizes itself again once mapped, later still on a loaded machine) keeps within it too.
void LimitToScreen(GtkWindow* window) {
  GdkRectangle area{};
  if (!WorkArea(window, &area)) return;
  GdkGeometry hints{};
  hints.max_width = area.width;
  hints.max_height = area.height;
  gtk_window_set_geometry_hints(window, nullptr, &hints, GDK_HINT_MAX_SIZE);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
}

// Once shown: shrunk to the monitor's work area and moved onto it.
void FitOnScreen(GtkWindow* window) {
  GdkRectangle area{};
  if (!WorkArea(window, &area)) return;
  int width = 0, height = 0, x = 0, y = 0;
  gtk_window_get_size(window, &width, &height);
  gtk_window_get_position(window, &x, &y);
  const int fitWidth = std::min(width, area.width), fitHeight = std::min(height, area.height);
  if (fitWidth != width || fitHeight != height) gtk_window_resize(window, fitWidth, fitHeight);
  const int fitX = std::clamp(x, area.x, area.x + area.width - fitWidth);
  const int fitY = std::clamp(y, area.y, area.y + area.height - fitHeight);
  if (fitX != x || fitY != y) gtk_window_move(window, fitX, fitY);
}

}  // namespace

std::vector<std::pair<std::u16string, std::u16string>> SplitFilter(const std::u16string& filter) {
  std::vector<std::u16string> parts;
  std::u16string part;
  for (char16_t c : filter) {
    if (c == u'|' || c == 0) {
      parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(part);
  std::vector<std::pair<std::u16string, std::u16string>> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i + 1].empty()) out.emplace_back(parts[i], parts[i + 1]);
  return out;
}

std::optional<win::ModalAnswer> RunFileChooser(const win::ModalInfo& info, GtkWindow* parent) {
  const bool save = info.kind == win::ModalInfo::Kind::SaveDialog;
  const std::string title = info.title.empty() ? (save ? "Save As" : "Open") : Utf8(info.title);
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      title.c_str(), parent, save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
      GTK_RESPONSE_CANCEL, save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  // Our own reference: a close request (Escape, the window manager's close button) would
  // otherwise destroy and free the dialog inside the modal loop, before its answer is read.
  g_object_ref(dialog);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  gtk_file_chooser_set_select_multiple(chooser, !save && (info.flags & kAllowMultiSelect));
  for (const auto& [name, patterns] : SplitFilter(info.filter)) {
    GtkFileFilter* f = gtk_file_filter_new();
    gtk_file_filter_set_name(f, Utf8(name).c_str());
    std::u16string one;
    auto add = [&] {
      if (one.empty()) return;
      // Classic patterns match whatever the case; the desktop's are exact.
      std::string lower = Utf8(one), upper = lower;
      for (auto& c : lower) c = char(g_ascii_tolower(c));
      for (auto& c : upper) c = char(g_ascii_toupper(c));
      gtk_file_filter_add_pattern(f, lower.c_str());
      if (upper != lower) gtk_file_filter_add_pattern(f, upper.c_str());
      if (lower == "*.*") gtk_file_filter_add_pattern(f, "*");
      one.clear();
    };
    for (char16_t c : patterns) {
      if (c == u';')
        add();
      else if (c != u' ')
        one.push_back(c);
    }
    add();
    gtk_file_chooser_add_filter(chooser, f);  // takes the filter
  }
  if (!info.initialDir.empty()) gtk_file_chooser_set_current_folder(chooser, Utf8(info.initialDir).c_str());
  if (!info.fileName.empty()) {
    const std::string name = Utf8(info.fileName);
    if (save) {
      const size_t slash = name.find_last_of('/');
      if (slash != std::string::npos && info.initialDir.empty())
        gtk_file_chooser_set_current_folder(chooser, name.substr(0, slash).c_str());
      gtk_file_chooser_set_current_name(chooser,
                                        slash == std::string::npos ? name.c_str() : name.c_str() + slash + 1);
    } else if (name.find('/') != std::string::npos) {
      gtk_file_chooser_set_filename(chooser, name.c_str());
    }
  }

  gint response = GTK_RESPONSE_NONE;
  bool answered = false;
  struct Wait {
    gint* response;
    bool* answered;
  } wait{&response, &answered};
  const gulong handler =
      g_signal_connect(dialog, "response", G_CALLBACK(+[](GtkDialog*, gint r, gpointer data) {
                         auto* w = static_cast<Wait*>(data);
                         *w->response = r;
                         *w->answered = true;
                         // The modal loop sleeps until a message of ours arrives: without one it would never
                         // look at the answer (the chooser seemed to hang).
                         PostMessageW(nullptr, WM_NULL, 0, 0);
                       }),
                       &wait);
  // A close request is a Cancel: the dialog has answered GTK_RESPONSE_DELETE_EVENT already, and
  // stays until it is destroyed below.
  const gulong keep = g_signal_connect(dialog, "delete-event", G_CALLBACK(gtk_true), nullptr);
  LimitToScreen(GTK_WINDOW(dialog));
  gtk_widget_show(dialog);
  FitOnScreen(GTK_WINDOW(dialog));
  const bool completed = platform::win::RunModalLoop(nullptr, [&] { return answered; });
  for (gulong h : {handler, keep})
    if (g_signal_handler_is_connected(dialog, h)) g_signal_handler_disconnect(dialog, h);

  win::ModalAnswer answer = win::ModalAnswer::Cancel();
  if (completed && response == GTK_RESPONSE_ACCEPT) {
    std::vector<std::u16string> files;
    GSList* names = gtk_file_chooser_get_filenames(chooser);
    for (GSList* n = names; n; n = n->next) {
      gchar* utf8 = g_filename_to_utf8(static_cast<const gchar*>(n->data), -1, nullptr, nullptr, nullptr);
      if (utf8) {
        files.push_back(platform::MultiByteToUtf16(utf8, CP_UTF8));
      }
      g_free(utf8);
      g_free(n->data);
    }
    g_slist_free(names);
    if (!files.empty()) answer = win::ModalAnswer::Files(std::move(files));
  }
  GdkDisplay* display = gtk_widget_get_display(dialog);
  gtk_widget_destroy(dialog);
  // The chooser leaves the screen now, not when the loop next runs: what the caller does with
  // the answer (opening a large message) may take a while, and the next chooser must not meet
  // this one still standing under the same title.
  gdk_display_sync(display);
  g_object_unref(dialog);
  return answer;
}

}  // namespace platform::desktop
