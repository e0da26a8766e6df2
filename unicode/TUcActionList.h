// The action list of the layer's windows; at run time the form library's action list.
#pragma once

#include "platform/forms/TCustomActionList.h"

class TUcActionList : public TActionList {
 public:
  explicit TUcActionList(TComponent* owner) : TActionList(owner) {}
};
