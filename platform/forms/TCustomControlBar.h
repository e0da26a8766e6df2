// TCustomControlBar: a container that lays its children out as bands in rows of RowSize,
// left to right in creation order, each band behind a grab handle, wrapping to a new row when
// a band would pass the right edge. With AutoSize its height follows the rows.
#pragma once

#include "platform/forms/TCustomControl.h"

class TCustomControlBar : public TCustomControl {
 public:
  explicit TCustomControlBar(TComponent* owner);
  int RowSize() const { return rowSize_; }
  void SetRowSize(int value);
  // The band of each child: the child plus its grab handle, in client coordinates.
  RECT BandRect(TControl* control) const;

 protected:
  void AlignControls(RECT& rect) override;
  void AdjustSize() override;
  void Paint() override;

 private:
  int rowSize_ = 26;
  int rows_ = 0;
};
