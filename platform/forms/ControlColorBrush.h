// The answer of a control to the CN_CTLCOLOR* reflection of its window's colour question: the
// control's font colour for text, its Color for the background, and a solid brush of that
// colour that the control keeps until the colour changes or the control goes.
#pragma once

#include "platform/forms/TControl.h"
#include "platform/gdi/OwnedGdiObject.h"

class TControlColorBrush {
 public:
  // Sets the DC of `message` (wParam) up and puts the brush in its Result.
  void Answer(TControl& control, TMessage& message);
  // Answers `message` when it is a reflected colour question; false for any other message. The
  // end of the message switch of every control over a system class that draws text.
  bool AnswerColorQuestion(TControl& control, TMessage& message);

 private:
  OwnedGdiObject<HBRUSH> brush_;
  COLORREF color_ = 0;
};

// Whether `msg` is one of the reflected colour questions.
inline bool IsControlColorMessage(UINT msg) { return msg >= CN_CTLCOLORMSGBOX && msg <= CN_CTLCOLORSTATIC; }
