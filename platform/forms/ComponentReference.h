// A component's pointer to another component it does not own: set through
// SetComponentReference, it hears of the other's destruction (the holder's Notification clears
// it), and stops listening when it is pointed elsewhere.
#pragma once

#include "platform/forms/TComponent.h"

template <class T>
void SetComponentReference(TComponent* holder, T*& reference, T* value) {
  if (value == reference) return;
  if (reference) reference->RemoveFreeNotification(holder);
  reference = value;
  if (reference) reference->FreeNotification(holder);
}
