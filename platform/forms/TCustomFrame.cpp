#include "platform/forms/TCustomFrame.h"

#include "platform/forms/TForm.h"
#include "platform/forms/TReader.h"

TCustomFrame::TCustomFrame(TComponent* owner) : TScrollingWinControl(owner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 320, 240);
}

void TCustomFrame::AfterConstruction() {
  TScrollingWinControl::AfterConstruction();
  if (const std::string* layout = FindFormLayout(ClassName())) ReadComponentText(this, *layout);
}
