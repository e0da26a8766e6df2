#include "unicode/TWideComponentHelper.h"

#include "platform/rtl/Exceptions.h"
#include "unicode/WideException.h"

namespace {

bool FindHelper(TComponentList* list, const TComponent* component, int& index) {
  return FindSortedListByTarget(
      list->Count(), [list](int i) -> const void* { return list->Items(i); }, CompareComponentHelperToTarget,
      component, index);
}

}  // namespace

bool FindSortedListByTarget(int count, const std::function<const void*(int)>& item,
                            const TUcListItemCompare& compare, const void* target, int& index) {
  bool found = false;
  int low = 0, high = count - 1;
  while (low <= high) {
    int middle = static_cast<int>((static_cast<unsigned>(low) + static_cast<unsigned>(high)) / 2);
    int c = compare(item(middle), target);
    if (c < 0) {
      low = middle + 1;
    } else {
      // Searching on below an equal item ends on the first of several equal ones.
      high = middle - 1;
      if (c == 0) found = true;
    }
  }
  index = low;
  return found;
}

bool FindSortedListByTarget(const TList* list, const TUcListItemCompare& compare, const void* target,
                            int& index) {
  return FindSortedListByTarget(
      list->Count(), [list](int i) -> const void* { return list->Items(i); }, compare, target, index);
}

int CompareComponentHelperToTarget(const void* helper, const void* component) {
  const TComponent* served =
      static_cast<const TWideComponentHelper*>(static_cast<const TComponent*>(helper))->Component();
  std::less<const void*> less;
  if (less(served, component)) return -1;
  if (less(component, served)) return 1;
  return 0;
}

TWideComponentHelper::TWideComponentHelper(TComponent* owner) : TComponent(owner) {
  throw EUcInternalError("UC Internal Error: TWideComponentHelper.Create should never be encountered.");
}

TWideComponentHelper::TWideComponentHelper(TComponent* component, TComponentList* list)
    : TComponent(nullptr), component_(component) {
  component->FreeNotification(this);
  int index = 0;
  FindHelper(list, component, index);
  list->Insert(index, this);
}

void TWideComponentHelper::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (component == component_ && operation == opRemove) {
    component_ = nullptr;
    delete this;  // the list hears of it and drops the helper
  }
}

TWideComponentHelper* FindWideComponentHelper(TComponentList* list, TComponent* component) {
  int index = 0;
  if (!FindHelper(list, component, index)) return nullptr;
  auto* helper = static_cast<TWideComponentHelper*>(list->Items(index));
  if (helper->Component() != component)
    throw EAssertionFailed("UC Internal Error: FindWideComponentHelperIndex failed.");
  return helper;
}
