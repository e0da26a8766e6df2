#include "platform/forms/TMetafile.h"

#include "platform/rtl/Exceptions.h"

void TMetafile::LoadFromStream(TStream*) { throw EInvalidGraphic("Metafile pictures are not supported"); }
