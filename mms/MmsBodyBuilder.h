// Builds the multipart body of a message from the composer: the SMIL part first, then for each
// slide its text (as UTF-8), its picture or video, and its sound, each named by its part name.
#pragma once

#include "mms/MmsBody.h"

// A new body, or nullptr when the composer's table does not validate or any memory cannot be
// obtained (a body with a part left out would name a part the file does not hold).
tMMS_Body* MmsBuildBody();
// Frees a body made by MmsBuildBody: its records and texts, which it holds in one block. Pictures
// and sounds stay the composer's.
void MmsFreeBody(tMMS_Body* body);
