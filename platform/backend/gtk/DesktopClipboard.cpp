// Bridging the clipboard to the desktop's: publications are served on request from a copy
// of the bytes; foreign content is read when the window system opens the clipboard after the
// desktop reported a new owner.
#include "platform/backend/gtk/DesktopClipboard.h"

#include <gtk/gtk.h>

#include <cstring>

#include "platform/backend/gtk/PackedDib.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/Win.h"

namespace platform::desktop {

namespace {

constexpr guint kText = 1, kPng = 2, kBmp = 3, kPrivate = 100;
constexpr const char* kPrivatePrefix = "application/x-mmsplatform-";

std::u16string UnitsOf(const std::vector<uint8_t>& bytes) {
  std::u16string s;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t u = char16_t(bytes[i] | bytes[i + 1] << 8);
    if (!u) break;
    s.push_back(u);
  }
  return s;
}

// The desktop's text uses bare line feeds; the program's uses CR LF.
std::string DesktopText(const std::vector<win::ClipboardItem>& items) {
  for (const auto& item : items)
    if (item.format == CF_UNICODETEXT) {
      std::string s = platform::Utf16ToMultiByte(UnitsOf(item.bytes), CP_UTF8), out;
      for (size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out.push_back(s[i]);
      return out;
    }
  return {};
}

const win::ClipboardItem* Find(const std::vector<win::ClipboardItem>& items, UINT format) {
  for (const auto& item : items)
    if (item.format == format) return &item;
  return nullptr;
}

std::vector<uint8_t> Encode(const DibPixels& p, const char* type) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, p.width, p.height);
  if (!pixbuf) return {};
  guchar* rows = gdk_pixbuf_get_pixels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint32_t v = p.pixels[size_t(y) * size_t(p.width) + size_t(x)];
      guchar* d = rows + size_t(y) * size_t(stride) + size_t(x) * 3;
      d[0] = guchar(v >> 16), d[1] = guchar(v >> 8), d[2] = guchar(v);
    }
  gchar* buffer = nullptr;
  gsize length = 0;
  std::vector<uint8_t> out;
  if (gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &length, type, nullptr, nullptr))
    out.assign(reinterpret_cast<uint8_t*>(buffer), reinterpret_cast<uint8_t*>(buffer) + length);
  g_free(buffer);
  g_object_unref(pixbuf);
  return out;
}

std::vector<uint8_t> DibOfPixbuf(GdkPixbuf* pixbuf) {
  DibPixels p;
  p.width = gdk_pixbuf_get_width(pixbuf);
  p.height = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
  if (p.width <= 0 || p.height <= 0 || channels < 3 || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8) return {};
  const guchar* rows = gdk_pixbuf_read_pixels(pixbuf);
  p.pixels.resize(size_t(p.width) * size_t(p.height));
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const guchar* s = rows + size_t(y) * size_t(stride) + size_t(x) * size_t(channels);
      uint32_t v = uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
      if (channels == 4 && s[3] < 255) {  // transparent areas over white, as a picture on a page
        const uint32_t a = s[3];
        auto blend = [&](uint32_t c) { return (c * a + 255 * (255 - a)) / 255; };
        v = blend(s[0]) << 16 | blend(s[1]) << 8 | blend(s[2]);
      }
      p.pixels[size_t(y) * size_t(p.width) + size_t(x)] = v;
    }
  return WritePackedDib(p);
}

}  // namespace

struct ClipboardCallbacks {
  static DesktopClipboard* Of(gpointer owner) {
    return static_cast<DesktopClipboard*>(g_object_get_data(G_OBJECT(owner), "desktop-clipboard"));
  }

  static void Get(GtkClipboard*, GtkSelectionData* selection, guint info, gpointer owner) {
    DesktopClipboard* c = Of(owner);
    if (!c) return;
    const auto& items = c->published_;
    if (info == kText) {
      const std::string text = DesktopText(items);
      gtk_selection_data_set_text(selection, text.c_str(), int(text.size()));
      return;
    }
    if (info == kPng || info == kBmp) {
      const win::ClipboardItem* dib = Find(items, CF_DIB);
      DibPixels p;
      if (!dib || !ReadPackedDib(dib->bytes.data(), dib->bytes.size(), p, nullptr)) return;
      std::vector<uint8_t> bytes;
      if (info == kPng) {
        bytes = Encode(p, "png");
      } else {  // a BMP file is the packed DIB behind a file header
        const std::vector<uint8_t> packed = WritePackedDib(p);
        bytes = {'B', 'M'};
        const uint32_t size = uint32_t(14 + packed.size()), offset = 14 + 40;
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(size >> (8 * i)));
        bytes.insert(bytes.end(), 4, 0);
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(offset >> (8 * i)));
        bytes.insert(bytes.end(), packed.begin(), packed.end());
      }
      gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8, bytes.data(),
                             int(bytes.size()));
      return;
    }
    if (info >= kPrivate && info - kPrivate < items.size()) {
      const auto& item = items[info - kPrivate];
      gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8, item.bytes.data(),
                             int(item.bytes.size()));
    }
  }

  static void Clear(GtkClipboard*, gpointer) {}

  static void OwnerChange(GtkClipboard* clipboard, GdkEvent*, gpointer self) {
    auto* c = static_cast<DesktopClipboard*>(self);
    if (gtk_clipboard_get_owner(clipboard) != G_OBJECT(c->owner_)) c->changed_ = true;
  }
};

DesktopClipboard::DesktopClipboard() {
  clipboard_ = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  owner_ = g_object_new(G_TYPE_OBJECT, nullptr);
  g_object_set_data(G_OBJECT(owner_), "desktop-clipboard", this);
  handler_ = g_signal_connect(clipboard_, "owner-change", G_CALLBACK(ClipboardCallbacks::OwnerChange), this);
}

DesktopClipboard::~DesktopClipboard() {
  g_signal_handler_disconnect(clipboard_, handler_);
  g_object_set_data(G_OBJECT(owner_), "desktop-clipboard", nullptr);
  if (gtk_clipboard_get_owner(clipboard_) == G_OBJECT(owner_)) {
    gtk_clipboard_store(clipboard_);  // a clipboard manager may keep the text after we exit
    gtk_clipboard_clear(clipboard_);
  }
  g_object_unref(owner_);
}

void DesktopClipboard::Publish(const std::vector<win::ClipboardItem>& items) {
  published_ = items;
  GtkTargetList* list = gtk_target_list_new(nullptr, 0);
  if (Find(items, CF_UNICODETEXT)) gtk_target_list_add_text_targets(list, kText);
  if (Find(items, CF_DIB)) {
    gtk_target_list_add(list, gdk_atom_intern_static_string("image/png"), 0, kPng);
    gtk_target_list_add(list, gdk_atom_intern_static_string("image/bmp"), 0, kBmp);
  }
  for (size_t i = 0; i < items.size(); ++i)
    if (!items[i].name.empty())
      gtk_target_list_add(list, gdk_atom_intern((kPrivatePrefix + items[i].name).c_str(), FALSE), 0,
                          guint(kPrivate + i));
  gint count = 0;
  GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
  if (count > 0)
    gtk_clipboard_set_with_owner(clipboard_, targets, guint(count), ClipboardCallbacks::Get,
                                 ClipboardCallbacks::Clear, G_OBJECT(owner_));
  else
    gtk_clipboard_clear(clipboard_);
  gtk_target_table_free(targets, count);
  gtk_target_list_unref(list);
  changed_ = false;
}

bool DesktopClipboard::Foreign(std::vector<win::ClipboardItem>& items) {
  if (!changed_) return false;
  changed_ = false;
  if (gtk_clipboard_get_owner(clipboard_) == G_OBJECT(owner_)) return false;
  items.clear();
  if (gchar* text = gtk_clipboard_wait_for_text(clipboard_)) {
    std::string crlf;
    for (const char* p = text; *p; ++p) {
      if (*p == '\n' && (p == text || p[-1] != '\r')) crlf.push_back('\r');
      crlf.push_back(*p);
    }
    g_free(text);
    const std::u16string units = platform::MultiByteToUtf16(crlf, CP_UTF8);
    win::ClipboardItem item;
    item.format = CF_UNICODETEXT;
    for (char16_t u : units) item.bytes.insert(item.bytes.end(), {uint8_t(u), uint8_t(u >> 8)});
    item.bytes.insert(item.bytes.end(), {0, 0});
    items.push_back(std::move(item));
  }
  if (GdkPixbuf* pixbuf = gtk_clipboard_wait_for_image(clipboard_)) {
    win::ClipboardItem item;
    item.format = CF_DIB;
    item.bytes = DibOfPixbuf(pixbuf);
    g_object_unref(pixbuf);
    if (!item.bytes.empty()) items.push_back(std::move(item));
  }
  GdkAtom* targets = nullptr;
  gint count = 0;
  if (gtk_clipboard_wait_for_targets(clipboard_, &targets, &count)) {
    for (gint i = 0; i < count; ++i) {
      gchar* name = gdk_atom_name(targets[i]);
      const std::string type = name ? name : "";
      g_free(name);
      if (type.rfind(kPrivatePrefix, 0) != 0 || type.size() == std::strlen(kPrivatePrefix)) continue;
      GtkSelectionData* data = gtk_clipboard_wait_for_contents(clipboard_, targets[i]);
      if (!data) continue;
      const gint length = gtk_selection_data_get_length(data);
      win::ClipboardItem item;
      item.name = type.substr(std::strlen(kPrivatePrefix));
      if (length > 0) {
        const guchar* bytes = gtk_selection_data_get_data(data);
        item.bytes.assign(bytes, bytes + length);
      }
      gtk_selection_data_free(data);
      items.push_back(std::move(item));
    }
    g_free(targets);
  }
  return true;
}

}  // namespace platform::desktop
