#include "platform/forms/TRadioGroup.h"

#include "platform/forms/StringsProperty.h"

void TRadioGroupStrings::DefineProperties(TFiler* filer) { DefineStringsProperty(this, filer); }
