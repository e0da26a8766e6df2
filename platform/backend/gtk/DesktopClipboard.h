// The system clipboard of the desktop: what the program publishes is offered as UTF-8 text,
// PNG and BMP pictures, and its registered formats under private types; what another program
// put there is read back as text and pictures (and our private types).
#pragma once

#include <vector>

#include "platform/win/Backend.h"

typedef struct _GtkClipboard GtkClipboard;

namespace platform::desktop {

class DesktopClipboard {
 public:
  DesktopClipboard();
  ~DesktopClipboard();
  DesktopClipboard(const DesktopClipboard&) = delete;
  DesktopClipboard& operator=(const DesktopClipboard&) = delete;

  void Publish(const std::vector<win::ClipboardItem>& items);
  // Content another program put there since our last publish (false: nothing new).
  bool Foreign(std::vector<win::ClipboardItem>& items);

 private:
  friend struct ClipboardCallbacks;
  GtkClipboard* clipboard_;
  std::vector<win::ClipboardItem> published_;
  void* owner_;          // the object that owns our publications
  bool changed_ = true;  // whatever was there when the program started counts as foreign
  unsigned long handler_ = 0;
};

}  // namespace platform::desktop
