// Extra form storage of a Unicode component's UTF-16 properties: every published UTF-16 string
// property N is also read as legacy "NW" (UTF-8) and written as "N_UTF7" when its text is not
// plain ASCII; every UTF-16 character property N is also stored as "NW" and read as "N_UTF7".
// Form data written by 8-bit tools thus still carries the exact text.
#pragma once

class TFiler;
class TPersistent;
class TReader;

// Whether the legacy "W" and "_UTF7" values of string properties are applied when a form is
// loaded outside design state. False in the product; tests may set it.
extern bool RuntimeUTFStreaming;

// Called by each Unicode control's DefineProperties right after the inherited one.
void UcPersistent_AfterInherited_DefineProperties(TFiler* filer, TPersistent* instance);

// The legacy-data test: false without an owner, true for an owner in design state, otherwise
// RuntimeUTFStreaming.
bool UcIsLegacyDataApplied(TReader* reader);
