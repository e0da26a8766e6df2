#include "platform/forms/TPaintBox.h"

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle |= csReplicatable;
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Brush()->SetColor(Color());
  if (OnPaint) OnPaint(this);
}
