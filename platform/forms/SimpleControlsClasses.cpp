#include "platform/forms/SimpleControlsClasses.h"

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TBevel.h"
#include "platform/forms/TControlBar.h"
#include "platform/forms/TFrame.h"
#include "platform/forms/TImageList.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TPaintBox.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TScrollBox.h"
#include "platform/forms/TShape.h"
#include "platform/forms/TSplitter.h"

void RegisterSimpleControlsClasses() {
  static const std::vector<std::string> alignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
  static const std::vector<std::string> layoutNames{"tlTop", "tlCenter", "tlBottom"};
  static const std::vector<std::string> bevelCutNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
  static const std::vector<std::string> borderNames{"bsNone", "bsSingle"};
  static const std::vector<std::string> bevelStyleNames{"bsLowered", "bsRaised"};
  static const std::vector<std::string> bevelShapeNames{
      "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"};
  static const std::vector<std::string> shapeNames{"stRectangle",   "stSquare",  "stRoundRect",
                                                   "stRoundSquare", "stEllipse", "stCircle"};
  static const std::vector<std::string> penStyleNames{"psSolid",      "psDash",  "psDot",        "psDashDot",
                                                      "psDashDotDot", "psClear", "psInsideFrame"};
  static const std::vector<std::string> brushStyleNames{"bsSolid",    "bsClear",     "bsHorizontal",
                                                        "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                                        "bsCross",    "bsDiagCross"};

  RegisterProperties<TPen>("TPen", "")
      .Color("Color", &TPen::Color, &TPen::SetColor, clBlack)
      .Enum("Style", &TPen::Style, &TPen::SetStyle, psSolid, &penStyleNames)
      .Int("Width", &TPen::Width, &TPen::SetWidth, 1);
  RegisterProperties<TBrush>("TBrush", "")
      .Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite)
      .Enum("Style", &TBrush::Style, &TBrush::SetStyle, bsSolid, &brushStyleNames);

  RegisterProperties<TCustomLabel>("TCustomLabel", "TGraphicControl")
      .Enum("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify,
            &alignmentNames)
      .Component<TWinControl>("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
      .Enum("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop, &layoutNames)
      .Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
      .Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
      .Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);
  RegisterProperties<TLabel>("TLabel", "TCustomLabel", Factory<TLabel>());

  RegisterProperties<TCustomPanel>("TCustomPanel", "TCustomControl")
      .Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter, &alignmentNames)
      .Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone, &bevelCutNames)
      .Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised, &bevelCutNames)
      .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
      .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0)
      .Enum("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle, bsNone, &borderNames);
  RegisterProperties<TPanel>("TPanel", "TCustomPanel", Factory<TPanel>());

  RegisterProperties<TBevel>("TBevel", "TGraphicControl", Factory<TBevel>())
      .Enum("Shape", &TBevel::Shape, &TBevel::SetShape, bsBox, &bevelShapeNames)
      .Enum("Style", &TBevel::Style, &TBevel::SetStyle, bsLowered, &bevelStyleNames);
  RegisterProperties<TShape>("TShape", "TGraphicControl", Factory<TShape>())
      .Object("Brush", &TShape::Brush)
      .Object("Pen", &TShape::Pen)
      .Enum("Shape", &TShape::Shape, &TShape::SetShape, stRectangle, &shapeNames);
  RegisterProperties<TPaintBox>("TPaintBox", "TGraphicControl", Factory<TPaintBox>())
      .Event("OnPaint", &TPaintBox::OnPaint);

  static const std::vector<std::string> kindNames{"sbHorizontal", "sbVertical"};
  static const std::vector<std::string> scrollStyleNames{"ssRegular", "ssFlat", "ssHotTrack"};
  RegisterProperties<TScrollBar>("TScrollBar", "TWinControl", Factory<TScrollBar>())
      .Enum("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal, &kindNames)
      .Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1)
      .Int("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100)
      .Int("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0)
      .Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0)
      .Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0)
      .Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1)
      .Event("OnChange", &TScrollBar::OnChange)
      .Event("OnScroll", &TScrollBar::OnScroll);

  RegisterProperties<TControlScrollBar>("TControlScrollBar", "")
      .Int("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement, 8)
      .Int("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange, 0)
      .Int("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition, 0)
      .Enum("Style", &TControlScrollBar::Style, &TControlScrollBar::SetStyle, ssRegular, &scrollStyleNames)
      .Bool("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking, false)
      .Bool("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible, true);
  RegisterProperties<TScrollingWinControl>("TScrollingWinControl", "TWinControl")
      .Bool("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll, true)
      .Object("HorzScrollBar", &TScrollingWinControl::HorzScrollBar)
      .Object("VertScrollBar", &TScrollingWinControl::VertScrollBar);
  RegisterProperties<TScrollBox>("TScrollBox", "TScrollingWinControl", Factory<TScrollBox>())
      .Enum("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle, bsSingle, &borderNames);
  RegisterProperties<TCustomFrame>("TCustomFrame", "TScrollingWinControl");
  RegisterProperties<TFrame>("TFrame", "TCustomFrame", Factory<TFrame>());

  RegisterProperties<TSplitter>("TSplitter", "TGraphicControl", Factory<TSplitter>())
      .Bool("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled, false)
      .Int("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30)
      .Event("OnCanResize", &TSplitter::OnCanResize)
      .Event("OnMoved", &TSplitter::OnMoved);
  RegisterProperties<TCustomControlBar>("TCustomControlBar", "TCustomControl")
      .Int("RowSize", &TCustomControlBar::RowSize, &TCustomControlBar::SetRowSize, 26);
  RegisterProperties<TControlBar>("TControlBar", "TCustomControlBar", Factory<TControlBar>());

  RegisterProperties<TImageList>("TImageList", "TComponent", Factory<TImageList>())
      .Int("Height", &TImageList::Height, &TImageList::SetHeight, 16)
      .Int("Width", &TImageList::Width, &TImageList::SetWidth, 16)
      .Event("OnChange", &TImageList::OnChange);
}
