// TSkTrackBar: an owner-drawn track bar. A framed track, optional ticks and a thumb drawn from
// small pictures (classic ones in key colours mapped to the desktop's, or XP-style ones while
// visual styles are on), moved by dragging the thumb, by paging clicks on the track that repeat
// while the button is held (first after 200 ms, then every 100 ms), and by the arrow, page,
// Home and End keys. Position stays within Min..Max; OnChanging may refuse a move.
#pragma once

#include <functional>
#include <memory>

#include "controls/FrameDrawing.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TPicture.h"
#include "platform/forms/TTimer.h"

enum TOrientation { orHorizontal, orVertical };
enum TSkHotTrackColorType { htctComplement, htctActual };
enum TPointerType { ptStandard, ptWin95 };
enum TThumbStyle { tsBox, tsCustom, tsMixer, tsPointer, tsFlat, tsXPPointer, tsXPBox };
enum TTickStyle { tkStandard, tkOwnerDraw };
// The track's frame: fsNone .. fsFlatBold.
using TFrameStyle = TFrameStyleEx;

using TPositionChangingEvent = std::function<void(TObject* sender, int newPos, bool& allowChange)>;
using TDrawTickEvent = std::function<void(TObject* trackBar, TCanvas* canvas, TPoint location, int index)>;

class TSkTrackBar : public TCustomControl {
 public:
  explicit TSkTrackBar(TComponent* owner);
  ~TSkTrackBar() override;

  int Max() const { return max_; }
  int Min() const { return min_; }
  int Position() const { return position_; }
  TOrientation Orientation() const { return orientation_; }
  int PageSize() const { return pageSize_; }
  TTickStyle TickStyle() const { return tickStyle_; }
  TColor TickColor() const { return tickColor_; }
  int TickStep() const { return tickStep_; }
  TColor HighlightColor() const { return highlightColor_; }
  TColor HotTrackColor() const { return hotTrackColor_; }
  TSkHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  bool ShowTicks() const { return showTicks_; }
  TThumbStyle ThumbStyle() const { return thumbStyle_; }
  TPointerType PointerType() const { return pointerType_; }
  TColor TrackColor() const { return trackColor_; }
  int TrackOffset() const { return trackOffset_; }
  TFrameStyle TrackFrame() const { return trackFrame_; }
  TColor TrackFrameColor() const { return trackFrameColor_; }
  int TrackWidth() const { return trackWidth_; }
  bool Transparent() const { return transparent_; }
  bool ThemeAware() const { return themeAware_; }
  TPicture* CustomThumb() { return customThumb_.get(); }
  bool ShowFocusRect = true;
  bool TabOnEnter = false;
  void SetPageSize(int value) { pageSize_ = value; }

  virtual void SetCustomThumb(TPicture* value);
  virtual void SetHighlightColor(TColor value);
  virtual void SetHotTrackColor(TColor value);
  virtual void SetHotTrackColorType(TSkHotTrackColorType value);
  virtual void SetMax(int value);
  virtual void SetMin(int value);
  virtual void SetOrientation(TOrientation value);
  virtual void SetPointerType(TPointerType value);
  virtual void SetPosition(int value);
  virtual void SetShowTicks(bool value);
  virtual void SetThumbStyle(TThumbStyle value);
  virtual void SetTickColor(TColor value);
  virtual void SetTickStep(int value);
  virtual void SetTickStyle(TTickStyle value);
  virtual void SetTrackColor(TColor value);
  virtual void SetTrackOffset(int value);
  virtual void SetTrackFrame(TFrameStyle value);
  virtual void SetTrackFrameColor(TColor value);
  virtual void SetTrackWidth(int value);
  virtual void SetTransparent(bool value);
  virtual void SetThemeAware(bool value);

  // Where the thumb is drawn now, in client coordinates.
  RECT ThumbRect() const { return thumbRect_; }
  RECT TrackRect() const { return trackRect_; }

  TNotifyEvent OnChange;
  TPositionChangingEvent OnChanging;
  TDrawTickEvent OnDrawTick;

 protected:
  void Paint() override;
  virtual void DrawTrack(TCanvas* canvas);
  virtual void DrawTicks(TCanvas* canvas);
  virtual void DrawThumb(TCanvas* canvas);
  virtual bool CanInternalChange(int newPosition) { return (void)newPosition, true; }
  virtual void Change();
  virtual bool CanChange(int newPosition);
  virtual void DrawTick(TCanvas* canvas, TPoint location, int index);
  bool KeyDown(WORD& key, TShiftState shift) override;
  bool KeyPress(char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Resize() override;
  void Dispatch(void* message) override;

 private:
  void LoadThumbBitmaps();
  void UpdateBackground();
  void CustomThumbChanged(TObject* sender);
  void TimerExpired(TObject* sender);
  POINT CursorPosition() const;
  void Reload();   // pictures reloaded, background marked, repainted
  void Restyle();  // background marked, repainted
  void ComputeThumbRect(RECT& out) const;
  void ComputeTrackRect();
  int Length() const { return orientation_ == orHorizontal ? Width() : Height(); }
  int Range() const;
  void StopPaging();
  void Page(int x, int y);
  void MoveTo(int value);  // through CanInternalChange and SetPosition
  bool OverThumb(POINT p) const;

  static constexpr int kBorderWidth = 4;
  int max_ = 10, min_ = 0;
  TOrientation orientation_ = orHorizontal;
  int pageSize_ = 1;
  int position_ = 0;
  TTickStyle tickStyle_ = tkStandard;
  TColor tickColor_ = clBtnShadow;
  int tickStep_ = 1;
  TColor highlightColor_ = clHighlight;
  TColor hotTrackColor_ = 0x149BF0;
  TSkHotTrackColorType hotTrackColorType_ = htctActual;
  bool showTicks_ = true;
  bool sliding_ = false;
  bool paging_ = false;
  bool pagingUp_ = false;
  std::unique_ptr<TTimer> timer_;
  int lastClickX_ = 0, lastClickY_ = 0;
  int grabX_ = 0, grabY_ = 0;
  int thumbHeight_ = 0;
  RECT thumbRect_{};
  TThumbStyle thumbStyle_ = tsPointer;
  int thumbWidth_ = 0, halfThumbWidth_ = 0;
  TPointerType pointerType_ = ptStandard;
  TColor trackColor_ = cl3DLight;
  int trackOffset_ = 20;
  RECT trackRect_{};
  TFrameStyle trackFrame_ = fsStatus;
  TColor trackFrameColor_ = clBtnShadow;
  int trackWidth_ = 8;
  TBitmap thumb_, hotThumb_, mask_, disabledThumb_, background_;
  bool backgroundInvalid_ = true;
  std::unique_ptr<TPicture> customThumb_;
  bool hot_ = false;
  bool transparent_ = false;
  bool themeAware_ = true;
  HCURSOR horizontalCursor_ = nullptr, verticalCursor_ = nullptr;
  bool loading_ = true;  // in the constructor: setters store without drawing
};

// Registers the track bar's class and properties for form layouts, and its thumb pictures.
void RegisterSkTrackBar();
