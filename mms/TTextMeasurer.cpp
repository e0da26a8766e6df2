#include "mms/TTextMeasurer.h"

#include <utility>

namespace {

class TZeroWidthMeasurer : public TTextMeasurer {
 public:
  int TextWidth(const std::string&) const override { return 0; }
};

std::shared_ptr<const TTextMeasurer>& CurrentMeasurer() {
  static std::shared_ptr<const TTextMeasurer> current;
  return current;
}

}  // namespace

TTextMeasurer::~TTextMeasurer() = default;

void SetDefaultTextMeasurer(std::shared_ptr<const TTextMeasurer> measurer) {
  CurrentMeasurer() = std::move(measurer);
}

std::shared_ptr<const TTextMeasurer> DefaultTextMeasurer() {
  if (const auto& current = CurrentMeasurer()) return current;
  static const auto zero = std::make_shared<const TZeroWidthMeasurer>();
  return zero;
}
