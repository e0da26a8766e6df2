#include "unicode/TUcScrollBox.h"

namespace {
// Levels of WM_SIZE nesting, this one included, below which the size is handled.
constexpr int32_t kSizeNestingLimit = 32;
}  // namespace

void TUcScrollBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg != WM_SIZE) {
    TScrollBox::Dispatch(message);
    return;
  }
  struct Level {
    int32_t& count;
    explicit Level(int32_t& c) : count(++c) {}
    ~Level() { --count; }
  } level(sizeNesting_);
  if (sizeNesting_ < kSizeNestingLimit) TScrollBox::Dispatch(message);
}
