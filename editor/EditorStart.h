// The editor's entry point: the interface language from the settings file, one editor per user,
// the windows in their fixed order, a message file named on the command line, and the message
// loop. The program's main calls EditorMain; tests call EditorStart and drive the windows.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/AnsiString.h"

// The settings file in the application folder; the editor only reads it.
AnsiString EditorSettingsPath();

// The language index (0 Vietnamese, 1 English, 2 Khmer) of an APP_STRING_FILE value, compared
// byte for byte; any other value chooses English.
int LanguageIndexOf(const AnsiString& value);
// The same comparison, but -1 for a value that names none of the three files.
int KnownLanguageIndexOf(const AnsiString& value);
// APP_STRING_FILE as the settings hold it (English's value when absent), at most 29 bytes.
AnsiString LanguageSetting();
// Reads APP_STRING_FILE from the settings and selects that language's file.
void SelectStartLanguage();

// Takes the single-instance lock of this user's editors: false when another editor holds it
// (nothing else is done then). The lock is kept until the process ends; a start-up run again in
// the same process takes it anew.
bool ClaimSingleInstance();

// Locks the application folder's working folder tmp/ for this editor: false when another editor
// (of any runtime folder) works in it. Held until the main window goes.
bool ClaimWorkingFolder();

// Runs start-up up to the message loop: language, locks, windows, command-line open. False when
// the loop must not run: another editor runs or works in the same application folder, or
// start-up failed (the failure was shown).
bool EditorStart(const std::vector<std::string>& args);
// EditorStart, then the message loop when it said so. Always 0.
int EditorMain(const std::vector<std::string>& args);

// `args` without the program's name: "open" (in any letter case) and a file name open that
// message file; anything else is ignored.
void OpenFromCommandLine(const std::vector<std::string>& args);
