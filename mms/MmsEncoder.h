// The message file writer: the bytes of an MMS message file, the Content-Type header field
// (a multipart.related value whose start is the SMIL part) followed by a WSP multipart body
// whose first entry is the SMIL presentation.
#pragma once

#include "mms/MmsBody.h"

// Builds the body from the composer and encodes it: a new malloc block with the file's bytes
// (the caller frees it) and their count in `outLen`; nullptr and a count of 0 when the composer's
// table does not validate, memory runs out or the message would be too large.
unsigned char* MmsEncodeMessage(int* outLen);
// The file's bytes for a body with a SMIL part, and their count; nullptr and 0 otherwise.
unsigned char* MmsEncodeMultipart(const tMMS_Body* body, int* outLen);
