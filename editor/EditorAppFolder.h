// The application folder: where the editor finds its settings (App.Config.ini), language files
// and strip skin, and keeps its working folder tmp/. It is the program's own folder; a test
// harness points it elsewhere with MMSEDITOR_APP_DIR so that parallel runs stay apart.
#pragma once

#include "platform/rtl/AnsiString.h"

// The folder with a trailing "/".
AnsiString EditorAppFolder();
