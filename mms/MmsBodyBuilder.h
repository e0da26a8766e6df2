// Builds the multipart body of a message from the composer: the SMIL part first, then for each
// slide its text (as UTF-8), its picture or video, and its sound, each named by its part name.
#pragma once

#include <cstddef>
#include <string_view>

#include "mms/MmsBody.h"

// One part of the body as planned from the composer, before any record is made: its part name,
// the content type it is written with, and its bytes (a picture's, sound's or video's are the
// composer's own, a text's its UTF-8 form in the builder's scratch).
struct tMMS_PlannedPart {
  std::string_view Name;
  std::string_view Type;
  const unsigned char* Data = nullptr;
  std::size_t Len = 0;
  bool IsText = false;  // UTF-8 (charset 106)
};

// The body as planned: the SMIL text and the other parts in body order. Everything it points at
// stays valid until the composer changes or the builder is called again on the same thread.
struct tMMS_BodyPlan {
  std::string_view Smil;
  const tMMS_PlannedPart* Parts;
  std::size_t Count;
};

// Plans the body from the composer without copying any part: false when the table does not
// validate, memory runs out, or a part is 2 GB or more. Writes the SMIL's durations and item times
// back into the composer, as the SMIL writer does.
bool MmsPlanBody(tMMS_BodyPlan* plan);

// A new body made from the plan, or nullptr when the composer's table does not validate or any
// memory cannot be obtained (a body with a part left out would name a part the file does not
// hold).
tMMS_Body* MmsBuildBody();
// Frees a body made by MmsBuildBody: its records and texts, which it holds in one block. Pictures
// and sounds stay the composer's.
void MmsFreeBody(tMMS_Body* body);
