// The desktop backend over GTK 3 on X11. GTK callbacks only queue input, post messages or note
// what changed; whatever must call window procedures (a window moved or resized by the window
// manager, activation) is applied at the end of Wait, on the interface thread, outside GTK's
// frames, so no exception ever crosses a C library.
#include "platform/backend/gtk/GtkBackend.h"

#include <gdk/gdkkeysyms.h>
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <map>
#include <set>

#include "platform/backend/gtk/DesktopClipboard.h"
#include "platform/backend/gtk/FileChooser.h"
#include "platform/backend/gtk/KeyMap.h"
#include "platform/backend/gtk/WindowManager.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/LayeredWindows.h"
#include "platform/win/WindowSystem.h"

namespace platform::desktop {

namespace {

using win::InputEvent;

std::string Utf8(const std::u16string& s) { return platform::Utf16ToMultiByte(s, CP_UTF8); }

std::u16string Utf16(const char* s) { return s ? platform::MultiByteToUtf16(s, CP_UTF8) : std::u16string(); }

// One hosted top-level window.
struct Host {
  HWND hwnd = nullptr;
  GtkWidget* widget = nullptr;  // made when first shown
  std::shared_ptr<gdi::Bitmap> surface;
  RECT rect{};                 // what the desktop was last told
  std::deque<RECT> requested;  // recent requests, to recognise their late echoes
  bool shown = false;
  bool shaped = false;
  std::vector<RECT> shape;
  int draws = 0;
};

const char* CursorName(uintptr_t cursor) {
  switch (cursor >= 0x6000000 ? cursor - 0x6000000 : 0) {
    case IDC_IBEAM:
      return "text";
    case IDC_WAIT:
      return "wait";
    case IDC_CROSS:
      return "crosshair";
    case IDC_UPARROW:
      return "default";
    case IDC_SIZENWSE:
      return "nwse-resize";
    case IDC_SIZENESW:
      return "nesw-resize";
    case IDC_SIZEWE:
      return "ew-resize";
    case IDC_SIZENS:
      return "ns-resize";
    case IDC_SIZEALL:
      return "move";
    case IDC_NO:
      return "not-allowed";
    case IDC_HAND:
      return "pointer";
    case IDC_APPSTARTING:
      return "progress";
    case IDC_HELP:
      return "help";
    default:
      return "default";
  }
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

class GtkBackend;
static GtkBackend* theBackend = nullptr;

class GtkBackend : public win::Backend {
 public:
  GtkBackend() {
    theBackend = this;
    im_ = gtk_im_multicontext_new();
    gtk_im_context_set_use_preedit(im_, FALSE);  // the input method shows its own pre-edit window
    g_signal_connect(im_, "commit", G_CALLBACK(OnCommit), this);
    clipboard_ = std::make_unique<DesktopClipboard>();
  }
  ~GtkBackend() override {
    Ungrab();
    for (auto& [h, host] : hosts_)
      if (host->widget) gtk_widget_destroy(host->widget);
    hosts_.clear();
    if (endpointWatch_) g_source_remove(endpointWatch_);
    if (cursor_) g_object_unref(cursor_);
    clipboard_.reset();
    g_object_unref(im_);
    theBackend = nullptr;
  }

  SIZE ScreenSize() override {
    GdkWindow* root = gdk_get_default_root_window();
    return SIZE{gdk_window_get_width(root), gdk_window_get_height(root)};
  }

  void WindowCreated(HWND hwnd) override {
    auto host = std::make_unique<Host>();
    host->hwnd = hwnd;
    if (win::Window* w = win::Find(hwnd)) {
      host->rect = w->rect;
      host->surface = w->surface;
    }
    hosts_[hwnd] = std::move(host);
  }

  void WindowDestroyed(HWND hwnd) override {
    auto it = hosts_.find(hwnd);
    if (it == hosts_.end()) return;
    if (focused_ == it->second.get()) {
      gtk_im_context_focus_out(im_);
      gtk_im_context_set_client_window(im_, nullptr);
      focused_ = nullptr;
    }
    if (grabbed_ == it->second.get()) Ungrab();
    if (grabFor_ == it->second.get()) grabFor_ = nullptr;
    if (it->second->widget) gtk_widget_destroy(it->second->widget);
    hosts_.erase(it);
    std::erase_if(configured_, [&](const auto& c) { return c.first == hwnd; });
    if (activated_ == hwnd) activated_ = nullptr;
  }

  void WindowShown(HWND hwnd, bool show) override {
    Host* h = Get(hwnd);
    if (!h) return;
    h->shown = show;
    if (!show) {
      if (grabbed_ == h) Ungrab();
      if (grabFor_ == h) grabFor_ = nullptr;
      if (h->widget) gtk_widget_hide(h->widget);
      return;
    }
    if (!h->widget) Make(*h);
    Place(*h, h->rect);
    gtk_widget_show(h->widget);
    if (IsMenu(hwnd)) {
      grabFor_ = h;  // grabbed once the X server shows it (a grab needs a viewable window)
      Grab();
    }
    win::Window* w = win::Find(hwnd);
    if (w && !(w->exStyle & WS_EX_NOACTIVATE) &&
        gtk_window_get_window_type(GTK_WINDOW(h->widget)) == GTK_WINDOW_TOPLEVEL)
      gtk_window_present(GTK_WINDOW(h->widget));
  }

  void WindowMoved(HWND hwnd, const RECT& r) override {
    Host* h = Get(hwnd);
    if (!h) return;
    if (applying_) {  // the desktop moved it: it is already there
      h->rect = r;
      return;
    }
    if (h->widget) Place(*h, r);
    h->rect = r;
  }

  void WindowTitled(HWND hwnd, const std::u16string& title) override {
    Host* h = Get(hwnd);
    if (h && h->widget) gtk_window_set_title(GTK_WINDOW(h->widget), Utf8(title).c_str());
  }

  void WindowShaped(HWND hwnd, const std::vector<RECT>& rects) override {
    Host* h = Get(hwnd);
    if (!h) return;
    h->shaped = !rects.empty();
    h->shape = rects;
    ApplyShape(*h);
  }

  // The desktop's compositor blends the window; without one it shows opaque.
  void WindowOpacityChanged(HWND hwnd, BYTE alpha) override {
    Host* h = Get(hwnd);
    if (h && h->widget) gtk_widget_set_opacity(h->widget, alpha / 255.0);
  }

  void Present(HWND hwnd, const std::shared_ptr<gdi::Bitmap>& surface,
               const std::vector<RECT>& rects) override {
    Host* h = Get(hwnd);
    if (!h) return;
    h->surface = surface;
    if (!h->widget || !gtk_widget_get_realized(h->widget)) return;
    for (const RECT& r : rects)
      gtk_widget_queue_draw_area(h->widget, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }

  void SetCursorShape(uintptr_t cursor) override {
    if (cursor_) g_object_unref(cursor_);
    cursor_ = gdk_cursor_new_from_name(gdk_display_get_default(), CursorName(cursor));
    for (auto& [hwnd, h] : hosts_)
      if (h->widget && gtk_widget_get_realized(h->widget))
        gdk_window_set_cursor(gtk_widget_get_window(h->widget), cursor_);
  }

  bool MoveByDesktop(HWND hwnd, POINT start) override {
    Host* h = Get(hwnd);
    if (!h || !h->widget || !gtk_widget_get_realized(h->widget)) return false;
    // Only a window manager that moves windows on request takes the move; without one the
    // window system's own loop moves the window.
    if (!WindowManagerMoves(h->widget)) return false;
    GdkDisplay* display = gtk_widget_get_display(h->widget);
    GdkSeat* seat = gdk_display_get_default_seat(display);
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (!pointer) return false;
    GdkModifierType mask{};
    gdouble x = 0, y = 0;
    gdk_window_get_device_position_double(gdk_screen_get_root_window(gtk_widget_get_screen(h->widget)),
                                          pointer, &x, &y, &mask);
    // Released already: a window manager asked to move now would take the next click for the
    // end of the move. The window system's loop hears the queued release instead.
    if (!(mask & GDK_BUTTON1_MASK)) return false;
    // From where the drag started, so the window keeps its place under the pointer.
    gtk_window_begin_move_drag(GTK_WINDOW(h->widget), 1, int(start.x), int(start.y), lastPress_);
    gdk_display_flush(display);
    // The window manager holds the pointer until the release, which it keeps: the queue hears
    // of the release now, so nothing here waits for it.
    Pointer(InputEvent::Kind::ButtonUp, x, y, 0);
    return true;
  }

  void ClipboardPublish(const std::vector<win::ClipboardItem>& items) override { clipboard_->Publish(items); }
  bool ClipboardForeign(std::vector<win::ClipboardItem>& items) override {
    return clipboard_->Foreign(items);
  }

  void Beep() override { gdk_display_beep(gdk_display_get_default()); }

  std::optional<win::ModalAnswer> Modal(const win::ModalInfo& info) override {
    if (info.kind != win::ModalInfo::Kind::OpenDialog && info.kind != win::ModalInfo::Kind::SaveDialog)
      return std::nullopt;  // our own windows: the person answers them
    GtkWindow* parent = nullptr;
    if (Host* h = Get(win::TopLevelOf(info.hwnd)); h && h->widget) parent = GTK_WINDOW(h->widget);
    if (!parent && win::S().active)
      if (Host* h = Get(win::S().active); h && h->widget) parent = GTK_WINDOW(h->widget);
    return RunFileChooser(info, parent);
  }

  void Wait(int64_t deadlineMs) override {
    GMainContext* context = g_main_context_default();
    WatchEndpoint();
    bool block = !woken_.exchange(false);
    guint timeout = 0;
    bool timedOut = false;
    if (block && deadlineMs >= 0) {
      const int64_t ms = deadlineMs - platform::GetClock().NowMs();
      if (ms <= 0) {
        block = false;
      } else {
        timeout = g_timeout_add_full(G_PRIORITY_DEFAULT, guint(std::min<int64_t>(ms, 1 << 30)), OnTimeout,
                                     &timedOut, nullptr);
      }
    }
    if (block) g_main_context_iteration(context, TRUE);
    // Whatever else is ready now, without blocking (bounded: a source that stays ready must
    // not keep the interface thread here).
    for (int i = 0; i < 64 && g_main_context_iteration(context, FALSE); ++i) {
    }
    if (timeout && !timedOut) g_source_remove(timeout);
    if (grabFor_ && grabbed_ != grabFor_) Grab();
    ApplyDesktopChanges();
  }

  void Wake() override {
    woken_ = true;
    g_main_context_wakeup(g_main_context_default());
  }

  int Draws(HWND hwnd) {
    Host* h = Get(hwnd);
    return h ? h->draws : 0;
  }

 private:
  Host* Get(HWND hwnd) {
    auto it = hosts_.find(hwnd);
    return it == hosts_.end() ? nullptr : it->second.get();
  }

  // Menus are the classic menu class's windows.
  static bool IsMenu(HWND hwnd) {
    win::Window* w = win::Find(hwnd);
    return w && w->cls && w->cls->name == u"#32768";
  }

  // While a menu is open the pointer is ours: a press on another program's window, or on the
  // bare desktop, comes to us (owner events: our own windows still get theirs as usual).
  void Grab() {
    Host* h = grabFor_;
    if (!h || !h->widget || !gtk_widget_get_mapped(h->widget)) return;
    GdkWindow* window = gtk_widget_get_window(h->widget);
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    if (grabbed_) Ungrab();
    if (gdk_seat_grab(seat, window, GDK_SEAT_CAPABILITY_ALL_POINTING, TRUE, nullptr, nullptr, nullptr,
                      nullptr) == GDK_GRAB_SUCCESS)
      grabbed_ = h;
  }

  void Ungrab() {
    if (!grabbed_) return;
    gdk_seat_ungrab(gdk_display_get_default_seat(gdk_display_get_default()));
    grabbed_ = nullptr;
  }

  // Whether a point of the screen lies on one of our shown windows.
  bool OnOurWindow(double x, double y) {
    for (auto& [hwnd, h] : hosts_) {
      if (!h->shown || !h->widget) continue;
      if (x >= h->rect.left && x < h->rect.right && y >= h->rect.top && y < h->rect.bottom) return true;
    }
    return false;
  }

  Host* HostOf(GtkWidget* widget) {
    for (auto& [hwnd, h] : hosts_)
      if (h->widget == widget) return h.get();
    return nullptr;
  }

  void Make(Host& h) {
    win::Window* w = win::Find(h.hwnd);
    const DWORD style = w ? w->style : 0, ex = w ? w->exStyle : 0;
    // Menus, hints and lists float above everything without the window manager's attention.
    const bool decorated = (style & WS_CAPTION) == WS_CAPTION;
    const bool popup = !decorated && (ex & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    GtkWidget* g = gtk_window_new(popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    h.widget = g;
    GtkWindow* gw = GTK_WINDOW(g);
    gtk_widget_set_app_paintable(g, TRUE);
    gtk_window_set_decorated(gw, decorated);
    if (ex & WS_EX_NOACTIVATE) {
      gtk_window_set_accept_focus(gw, FALSE);
      gtk_window_set_focus_on_map(gw, FALSE);
    }
    if (ex & WS_EX_TOPMOST) gtk_window_set_keep_above(gw, TRUE);
    if (ex & WS_EX_TOOLWINDOW) gtk_window_set_skip_taskbar_hint(gw, TRUE);
    if (const BYTE alpha = WindowOpacity(h.hwnd); alpha != 255) gtk_widget_set_opacity(g, alpha / 255.0);
    if (w) {
      gtk_window_set_title(gw, Utf8(w->text).c_str());
      if (w->owner)
        if (Host* owner = Get(w->owner); owner && owner->widget)
          gtk_window_set_transient_for(gw, GTK_WINDOW(owner->widget));
    }
    gtk_widget_add_events(g, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                 GDK_SCROLL_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                                 GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK | GDK_FOCUS_CHANGE_MASK |
                                 GDK_STRUCTURE_MASK);
    g_signal_connect(g, "draw", G_CALLBACK(OnDraw), &h);
    g_signal_connect(g, "realize", G_CALLBACK(OnRealize), &h);
    g_signal_connect(g, "motion-notify-event", G_CALLBACK(OnMotion), &h);
    g_signal_connect(g, "button-press-event", G_CALLBACK(OnButton), &h);
    g_signal_connect(g, "button-release-event", G_CALLBACK(OnButton), &h);
    g_signal_connect(g, "scroll-event", G_CALLBACK(OnScroll), &h);
    g_signal_connect(g, "key-press-event", G_CALLBACK(OnKey), &h);
    g_signal_connect(g, "key-release-event", G_CALLBACK(OnKey), &h);
    g_signal_connect(g, "leave-notify-event", G_CALLBACK(OnLeave), &h);
    g_signal_connect(g, "focus-in-event", G_CALLBACK(OnFocus), &h);
    g_signal_connect(g, "focus-out-event", G_CALLBACK(OnFocus), &h);
    g_signal_connect(g, "configure-event", G_CALLBACK(OnConfigure), &h);
    g_signal_connect(g, "delete-event", G_CALLBACK(OnDelete), &h);
  }

  void Place(Host& h, const RECT& r) {
    const int width = std::max<LONG>(1, r.right - r.left), height = std::max<LONG>(1, r.bottom - r.top);
    GtkWindow* gw = GTK_WINDOW(h.widget);
    win::Window* w = win::Find(h.hwnd);
    if (w && !(w->style & WS_THICKFRAME)) {
      GdkGeometry hints{};
      hints.min_width = hints.max_width = width;
      hints.min_height = hints.max_height = height;
      gtk_window_set_geometry_hints(gw, nullptr, &hints,
                                    GdkWindowHints(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
    }
    gtk_window_move(gw, r.left, r.top);
    gtk_window_resize(gw, width, height);
    h.requested.push_back(r);
    if (h.requested.size() > 8) h.requested.pop_front();
  }

  void ApplyShape(Host& h) {
    if (!h.widget || !gtk_widget_get_realized(h.widget)) return;
    cairo_region_t* region = nullptr;
    if (h.shaped) {
      region = cairo_region_create();
      for (const RECT& r : h.shape) {
        const cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
        cairo_region_union_rectangle(region, &c);
      }
    }
    gtk_widget_shape_combine_region(h.widget, region);
    gtk_widget_input_shape_combine_region(h.widget, region);
    if (region) cairo_region_destroy(region);
  }

  void WatchEndpoint() {
    const int fd = win::EndpointFd();
    if (fd < 0 || endpointWatch_) return;
    // Removed when it fires: the connection is served by the window system's retrieval, and a
    // level-triggered watch would otherwise keep the main context busy until then.
    endpointWatch_ = g_unix_fd_add(fd, G_IO_IN, OnEndpoint, this);
  }

  // Moves, sizes and activations the desktop made, applied through the window system.
  void ApplyDesktopChanges() {
    auto changes = std::move(configured_);
    configured_.clear();
    for (const auto& [hwnd, r] : changes) {
      Host* h = Get(hwnd);
      win::Window* w = win::Find(hwnd);
      if (!h || !w || SameRect(w->rect, r)) continue;
      applying_ = true;
      SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      applying_ = false;
    }
    if (HWND a = activated_) {
      activated_ = nullptr;
      win::Window* w = win::Find(a);
      if (w && win::S().active != a && IsWindowVisible(a) && IsWindowEnabled(a) &&
          !(w->exStyle & WS_EX_NOACTIVATE))
        SetActiveWindow(a);
    }
  }

  // Keeps the queue's modifier keys in step with the desktop's (a key held down while another
  // program had the focus, Caps Lock switched elsewhere).
  void SyncModifiers(guint state) {
    auto sync = [&](bool desktop, bool& ours, int vk) {
      if (desktop == ours) return;
      ours = desktop;
      Key(desktop ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp, vk);
    };
    sync((state & GDK_SHIFT_MASK) != 0, shift_, VK_SHIFT);
    sync((state & GDK_CONTROL_MASK) != 0, ctrl_, VK_CONTROL);
    sync((state & GDK_MOD1_MASK) != 0, alt_, VK_MENU);
    const bool lock = (state & GDK_LOCK_MASK) != 0;
    if (lock != caps_) {
      caps_ = lock;
      Key(InputEvent::Kind::KeyDown, VK_CAPITAL);
      Key(InputEvent::Kind::KeyUp, VK_CAPITAL);
    }
  }

  static void Key(InputEvent::Kind kind, int vk) {
    InputEvent e;
    e.kind = kind;
    e.vk = vk;
    win::PostInput(e);
  }

  static void Text(const std::u16string& text) {
    for (char16_t u : text) {
      InputEvent e;
      e.kind = InputEvent::Kind::Text;
      e.unit = u;
      win::PostInput(e);
    }
  }

  static void Pointer(InputEvent::Kind kind, double x, double y, int button = 0, int wheel = 0) {
    InputEvent e;
    e.kind = kind;
    e.screen = POINT{LONG(std::floor(x)), LONG(std::floor(y))};
    e.button = button;
    e.wheelDelta = wheel;
    win::PostInput(e);
  }

  // Tells the input method where the caret is, for its candidate and pre-edit windows.
  void PlaceInputMethod(Host& h) {
    const HWND owner = win::CaretOwner();
    if (!owner || win::TopLevelOf(owner) != h.hwnd) return;
    POINT p;
    GetCaretPos(&p);
    ClientToScreen(owner, &p);
    const GdkRectangle area{int(p.x - h.rect.left), int(p.y - h.rect.top), 1,
                            std::max<int>(1, win::S().caretSize.cy)};
    gtk_im_context_set_cursor_location(im_, &area);
  }

  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    Host& h = *static_cast<Host*>(data);
    if (!h.surface) return TRUE;
    gdi::Bitmap& b = *h.surface;
    cairo_surface_t* image =
        cairo_image_surface_create_for_data(b.bits(), CAIRO_FORMAT_RGB24, b.width(), b.height(), b.stride());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(image);
    ++h.draws;
    return TRUE;
  }

  static void OnRealize(GtkWidget* widget, gpointer data) {
    Host& h = *static_cast<Host*>(data);
    theBackend->ApplyShape(h);
    if (theBackend->cursor_) gdk_window_set_cursor(gtk_widget_get_window(widget), theBackend->cursor_);
  }

  static gboolean OnMotion(GtkWidget*, GdkEventMotion* e, gpointer) {
    theBackend->SyncModifiers(e->state);
    Pointer(InputEvent::Kind::MouseMove, e->x_root, e->y_root);
    gdk_event_request_motions(e);
    return TRUE;
  }

  static gboolean OnButton(GtkWidget*, GdkEventButton* e, gpointer) {
    if (e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE)
      return TRUE;  // the queue finds double clicks
    const int button = e->button == 1 ? 0 : e->button == 3 ? 1 : e->button == 2 ? 2 : -1;
    if (button < 0) return TRUE;
    GtkBackend& b = *theBackend;
    b.SyncModifiers(e->state);
    if (b.grabbed_ && e->type == GDK_BUTTON_PRESS && !b.OnOurWindow(e->x_root, e->y_root)) {
      // A press outside the program while a menu is open: the menu's loop closes it.
      PostMessageW(b.grabbed_->hwnd, WM_CANCELMODE, 0, 0);
      return TRUE;
    }
    if (e->type == GDK_BUTTON_PRESS) b.lastPress_ = e->time;
    Pointer(e->type == GDK_BUTTON_PRESS ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp,
            e->x_root, e->y_root, button);
    return TRUE;
  }

  static gboolean OnScroll(GtkWidget*, GdkEventScroll* e, gpointer) {
    int delta = 0;
    if (e->direction == GDK_SCROLL_UP) delta = 120;
    if (e->direction == GDK_SCROLL_DOWN) delta = -120;
    if (delta) Pointer(InputEvent::Kind::Wheel, e->x_root, e->y_root, 0, delta);
    return TRUE;
  }

  static gboolean OnLeave(GtkWidget*, GdkEventCrossing* e, gpointer) {
    // The pointer went to another program's window: the queue's pointer moves there too, so the
    // window it left gets its leave notice.
    if (e->mode == GDK_CROSSING_NORMAL && e->detail != GDK_NOTIFY_INFERIOR &&
        !(e->state & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK)))
      Pointer(InputEvent::Kind::MouseMove, e->x_root, e->y_root);
    return FALSE;
  }

  static gboolean OnKey(GtkWidget*, GdkEventKey* e, gpointer data) {
    GtkBackend& b = *theBackend;
    Host& h = *static_cast<Host*>(data);
    const int vk = VirtualKeyOf(e->keyval);
    const bool modifier = vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_CAPITAL;
    if (e->type == GDK_KEY_RELEASE) {
      gtk_im_context_filter_keypress(b.im_, e);
      if (modifier) {
        if (vk == VK_SHIFT) b.shift_ = false;
        if (vk == VK_CONTROL) b.ctrl_ = false;
        if (vk == VK_MENU) b.alt_ = false;
        if (vk != VK_CAPITAL) Key(InputEvent::Kind::KeyUp, vk);
        return TRUE;
      }
      if (b.keysDown_.erase(e->hardware_keycode) && vk) Key(InputEvent::Kind::KeyUp, vk);
      return TRUE;
    }
    if (modifier) {
      if (vk == VK_SHIFT) b.shift_ = true;
      if (vk == VK_CONTROL) b.ctrl_ = true;
      if (vk == VK_MENU) b.alt_ = true;
      if (vk == VK_CAPITAL) b.caps_ = !b.caps_;
      Key(InputEvent::Kind::KeyDown, vk);
      if (vk == VK_CAPITAL) Key(InputEvent::Kind::KeyUp, vk);
      return TRUE;
    }
    b.SyncModifiers(e->state);
    if (b.focused_ != &h) {  // keys without a focus notice first (no window manager)
      b.focused_ = &h;
      gtk_im_context_set_client_window(b.im_, gtk_widget_get_window(h.widget));
      gtk_im_context_focus_in(b.im_);
    }
    b.PlaceInputMethod(h);
    b.inKey_ = true;
    b.committed_.clear();
    const bool filtered = gtk_im_context_filter_keypress(b.im_, e);
    b.inKey_ = false;
    const bool chord = (e->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0;
    const gunichar plain = gdk_keyval_to_unicode(e->keyval);
    // A key whose committed text is its own character goes in as the key: translating it gives
    // the same character, and key handlers see it. Anything else the input method made (a
    // composed letter, a syllable) comes as text alone.
    const bool asKey = vk && (!filtered || (!chord && b.committed_.size() == 1 && b.committed_[0] == plain));
    if (asKey) {
      b.keysDown_.insert(e->hardware_keycode);
      Key(InputEvent::Kind::KeyDown, vk);
      if (!filtered) Text(b.committed_);
    } else {
      Text(b.committed_);
    }
    return TRUE;
  }

  static void OnCommit(GtkIMContext*, const char* text, gpointer) {
    GtkBackend& b = *theBackend;
    if (b.inKey_) {
      b.committed_ += Utf16(text);
      return;
    }
    Text(Utf16(text));  // committed later by the input method (a composition that ended)
  }

  static gboolean OnFocus(GtkWidget* widget, GdkEventFocus* e, gpointer data) {
    GtkBackend& b = *theBackend;
    Host* h = static_cast<Host*>(data);
    if (e->in) {
      b.focused_ = h;
      gtk_im_context_set_client_window(b.im_, gtk_widget_get_window(widget));
      gtk_im_context_focus_in(b.im_);
      b.activated_ = h->hwnd;
    } else {
      if (b.focused_ == h) {
        gtk_im_context_focus_out(b.im_);
        b.focused_ = nullptr;
      }
      // The desktop gave the focus elsewhere: whatever holds the mouse (a move, a drag) lets go.
      if (HWND capture = GetCapture(); capture && win::TopLevelOf(capture) == h->hwnd)
        PostMessageW(capture, WM_CANCELMODE, 0, 0);
    }
    return FALSE;
  }

  static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* e, gpointer data) {
    Host& h = *static_cast<Host*>(data);
    int x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(widget), &x, &y);
    const RECT r{x, y, x + e->width, y + e->height};
    // A late echo of one of our own earlier requests is not a move by the desktop.
    const bool echo =
        std::any_of(h.requested.begin(), h.requested.end(), [&](const RECT& q) { return SameRect(q, r); });
    if (echo) {
      while (!h.requested.empty() && !SameRect(h.requested.front(), r)) h.requested.pop_front();
      if (!h.requested.empty()) h.requested.pop_front();
      // The echo of the latest request while the window system thinks the window is elsewhere:
      // the desktop moved it in between (a window manager placing it as it maps) and has now
      // granted the request, so the window is where it was asked to be.
      if (h.requested.empty() && !SameRect(r, h.rect)) theBackend->configured_.emplace_back(h.hwnd, r);
    } else if (!SameRect(r, h.rect)) {
      theBackend->configured_.emplace_back(h.hwnd, r);
    }
    return FALSE;
  }

  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    PostMessageW(static_cast<Host*>(data)->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;  // the window goes when the program destroys it
  }

  static gboolean OnTimeout(gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
  }

  static gboolean OnEndpoint(gint, GIOCondition, gpointer self) {
    static_cast<GtkBackend*>(self)->endpointWatch_ = 0;
    return G_SOURCE_REMOVE;
  }

  std::map<HWND, std::unique_ptr<Host>> hosts_;
  GtkIMContext* im_ = nullptr;
  Host* focused_ = nullptr;
  std::u16string committed_;
  bool inKey_ = false;
  std::set<guint16> keysDown_;
  bool shift_ = false, ctrl_ = false, alt_ = false, caps_ = false;
  std::vector<std::pair<HWND, RECT>> configured_;
  HWND activated_ = nullptr;
  bool applying_ = false;
  std::atomic<bool> woken_{false};
  guint endpointWatch_ = 0;
  GdkCursor* cursor_ = nullptr;
  Host* grabFor_ = nullptr;  // the open menu the pointer is (to be) grabbed for
  Host* grabbed_ = nullptr;
  guint32 lastPress_ = GDK_CURRENT_TIME;  // the desktop's time of the last press
  std::unique_ptr<DesktopClipboard> clipboard_;
};

bool OpenDesktop(std::string* error) {
  static int opened = -1;
  if (opened < 0) {
    gdk_set_allowed_backends("x11");
    gtk_disable_setlocale();  // number formats and the system code page stay the program's own
    opened = gtk_init_check(nullptr, nullptr) ? 1 : 0;
  }
  if (!opened && error)
    *error = "no X display could be opened (DISPLAY is \"" +
             std::string(g_getenv("DISPLAY") ? g_getenv("DISPLAY") : "") + "\")";
  return opened == 1;
}

std::unique_ptr<win::Backend> MakeGtkBackend() { return std::make_unique<GtkBackend>(); }

int DesktopDraws(HWND topLevel) { return theBackend ? theBackend->Draws(topLevel) : 0; }

void SyncDesktop() {
  if (GdkDisplay* d = gdk_display_get_default()) gdk_display_sync(d);
}

}  // namespace platform::desktop
