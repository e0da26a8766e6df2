// Helpers that hold a component's wide shadows when the component has no room for them: one
// helper per component, kept in a list ordered by the component's address and found by binary
// search. A helper goes away with its component.
#pragma once

#include <functional>

#include "platform/forms/TComponent.h"
#include "platform/forms/TComponentList.h"
#include "platform/rtl/TList.h"

// Binary search of a list sorted by `compare` (item, target: negative, zero or positive).
// Returns whether `target` is there; `index` is its first position or where it would go.
using TUcListItemCompare = std::function<int(const void* item, const void* target)>;
bool FindSortedListByTarget(int count, const std::function<const void*(int)>& item,
                            const TUcListItemCompare& compare, const void* target, int& index);
bool FindSortedListByTarget(const TList* list, const TUcListItemCompare& compare, const void* target,
                            int& index);

class TWideComponentHelper : public TComponent {
 public:
  // Helpers are made only for a component and a list: this raises EUcInternalError.
  explicit TWideComponentHelper(TComponent* owner);
  // Joins `list` at the component's place; the list is not told to own the helper.
  TWideComponentHelper(TComponent* component, TComponentList* list);
  TComponent* Component() const { return component_; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TComponent* component_ = nullptr;
};

// The helper of `component` in `list`, or null.
TWideComponentHelper* FindWideComponentHelper(TComponentList* list, TComponent* component);
// The helpers' order: by the served component's full address.
int CompareComponentHelperToTarget(const void* helper, const void* component);
