// The "Strings" property of a control's string list in a layout (Lines.Strings = ('a' 'b'),
// Items.Strings = (...)): the lines as a list of strings, read with Add, written when there
// are any.
#pragma once

#include "platform/forms/TFiler.h"
#include "platform/rtl/TStrings.h"

void DefineStringsProperty(TStrings* strings, TFiler* filer);
