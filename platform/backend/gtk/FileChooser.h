// The open and save dialogs answered by the desktop's file chooser, waited for by the window
// system's own modal loop (the program's windows are disabled meanwhile).
#pragma once

#include <optional>

#include "platform/win/Backend.h"

typedef struct _GtkWindow GtkWindow;

namespace platform::desktop {

// The chosen files, or cancel (also when a quit request ends the wait).
std::optional<win::ModalAnswer> RunFileChooser(const win::ModalInfo& info, GtkWindow* parent);

// A classic filter ("Text|*.txt|All|*.*", "|" or NUL separated) as name and pattern pairs.
std::vector<std::pair<std::u16string, std::u16string>> SplitFilter(const std::u16string& filter);

}  // namespace platform::desktop
