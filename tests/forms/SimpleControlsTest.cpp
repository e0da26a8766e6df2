// The simple controls on the headless backend, checked by their pixels: labels (alignment,
// layout, wrapping, the accelerator underline, transparency), panels and their bevels, bevels,
// shapes, paint boxes; alignment, anchors, constraints and AutoSize of containers; a layout
// that creates every class.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBevel.h"
#include "platform/forms/TControlBar.h"
#include "platform/forms/TFrame.h"
#include "platform/forms/TImageList.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TPaintBox.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TScrollBar.h"
#include "platform/forms/TScrollBox.h"
#include "platform/forms/TShape.h"
#include "platform/forms/TSplitter.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"

namespace {

using platform::headless::CaptureImage;
using platform::headless::Driver;

// A colour as the capture shows it (0x00RRGGBB).
std::uint32_t Px(TColor color) {
  COLORREF c = ColorToRGB(color);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

class SimpleControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();  // the system classes: the scroll bar is a "SCROLLBAR"
    FormsStartup();
    // Text as boxes: every character 8 x 13, its box from (x, y + 1) to (x + 7, y + 12).
    Driver().UseFixedMetricFont(8, 13);
    form = new TForm(Application);
    form->AfterConstruction();
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 150);
    form->SetColor(clWhite);
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override {
    Driver().UseFixedMetricFont(0, 0);
    FormsShutdown();
    platform::headless::Uninstall();
  }
  CaptureImage Shot() {
    Driver().RunUntilIdle();
    return Driver().Capture(form->Handle());
  }
  TLabel* MakeLabel(TWinControl* parent, int x, int y, int w, int h, const char* caption) {
    auto* label = new TLabel(form);
    label->SetAutoSize(false);
    label->SetParent(parent);
    label->SetBounds(x, y, w, h);
    label->SetCaption(caption);
    return label;
  }
  TForm* form = nullptr;
};

TEST_F(SimpleControlsTest, LabelsAlignTheirTextLeftRightAndCentred) {
  struct Case {
    TAlignment alignment;
    int textLeft;
  } cases[] = {{taLeftJustify, 10}, {taRightJustify, 10 + 80 - 16}, {taCenter, 10 + (80 - 16) / 2}};
  for (const Case& c : cases) {
    TLabel* label = MakeLabel(form, 10, 10, 80, 20, "AB");
    label->SetColor(clYellow);
    label->SetAlignment(c.alignment);
    CaptureImage shot = Shot();
    SCOPED_TRACE(c.alignment);
    EXPECT_EQ(shot.At(c.textLeft, 12), Px(clWindowText));          // inside the first box
    EXPECT_EQ(shot.At(c.textLeft + 8 + 6, 21), Px(clWindowText));  // the second box's far corner
    EXPECT_EQ(shot.At(c.textLeft + 7, 12), Px(clYellow));          // the gap between the boxes
    if (c.textLeft > 10) {
      EXPECT_EQ(shot.At(c.textLeft - 1, 12), Px(clYellow));
    }
    EXPECT_EQ(shot.At(10, 29), Px(clYellow));  // the label's face fills its bounds
    EXPECT_EQ(shot.At(10, 30), Px(clWhite));
    delete label;
  }
}

TEST_F(SimpleControlsTest, LabelsLayOutTheirTextAtTheTopMiddleOrBottom) {
  struct Case {
    TTextLayout layout;
    int textTop;
  } cases[] = {{tlTop, 10}, {tlCenter, 10 + (40 - 13) / 2}, {tlBottom, 10 + 40 - 13}};
  for (const Case& c : cases) {
    TLabel* label = MakeLabel(form, 10, 10, 80, 40, "A");
    label->SetLayout(c.layout);
    CaptureImage shot = Shot();
    SCOPED_TRACE(c.layout);
    EXPECT_EQ(shot.At(12, c.textTop + 1), Px(clWindowText));
    EXPECT_NE(shot.At(12, c.textTop), Px(clWindowText));
    EXPECT_EQ(shot.At(12, c.textTop + 11), Px(clWindowText));
    EXPECT_NE(shot.At(12, c.textTop + 12), Px(clWindowText));
    delete label;
  }
}

TEST_F(SimpleControlsTest, AutoSizedLabelsTakeTheSizeOfTheirText) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(100, 5, 65, 17);
  label->SetCaption("ABC");
  EXPECT_EQ(label->Width(), 24);
  EXPECT_EQ(label->Height(), 13);
  // An empty caption still measures one line.
  label->SetCaption("");
  EXPECT_EQ(label->Height(), 13);
  // A right-aligned label keeps its right edge.
  label->SetCaption("AB");
  label->SetAlignment(taRightJustify);
  int right = label->Left() + label->Width();
  label->SetCaption("ABCD");
  EXPECT_EQ(label->Left() + label->Width(), right);
  EXPECT_EQ(label->Width(), 32);
  // Wrapped at the width it has: two lines.
  label->SetAlignment(taLeftJustify);
  label->SetBounds(10, 10, 40, 13);
  label->SetWordWrap(true);
  label->SetCaption("AAA BBB");
  EXPECT_EQ(label->Height(), 26);
  CaptureImage shot = Shot();
  EXPECT_EQ(shot.At(11, 12), Px(clWindowText));  // "AAA" on the first line
  EXPECT_EQ(shot.At(11, 25), Px(clWindowText));  // "BBB" on the second
  EXPECT_NE(shot.At(11, 23), Px(clWindowText));
  // Without AutoSize nothing moves.
  label->SetAutoSize(false);
  label->SetCaption("A");
  EXPECT_EQ(label->Height(), 26);
}

TEST_F(SimpleControlsTest, TransparentLabelsShowTheColouredPanelBeneath) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 200, 60);
  panel->SetBevelOuter(bvNone);
  panel->SetColor(clBlue);
  TLabel* label = MakeLabel(panel, 10, 10, 60, 20, "A");
  // The label follows its parent's colour until it gets its own.
  EXPECT_TRUE(label->ParentColor());
  EXPECT_EQ(label->Color(), clBlue);
  panel->SetColor(clNavy);
  EXPECT_EQ(label->Color(), clNavy);
  label->SetColor(clYellow);
  EXPECT_FALSE(label->ParentColor());
  CaptureImage opaque = Shot();
  EXPECT_EQ(opaque.At(40, 15), Px(clYellow));
  label->SetTransparent(true);
  CaptureImage clear = Shot();
  EXPECT_EQ(clear.At(40, 15), Px(clNavy));
  EXPECT_EQ(clear.At(12, 15), Px(clWindowText));  // the text is still drawn
}

TEST_F(SimpleControlsTest, DisabledLabelsDrawEmbossedText) {
  TLabel* label = MakeLabel(form, 10, 10, 40, 20, "A");
  label->SetColor(clWhite);
  label->SetEnabled(false);
  CaptureImage shot = Shot();
  EXPECT_EQ(shot.At(10, 11), Px(clBtnShadow));     // the shadow-coloured text
  EXPECT_EQ(shot.At(17, 22), Px(clBtnHighlight));  // the highlight copy shows one pixel down-right
}

// The accelerator underline needs a real font: the fixed boxes have no underline.
TEST_F(SimpleControlsTest, AnAmpersandUnderlinesTheNextLetterUnlessAccelCharsAreOff) {
  Driver().UseFixedMetricFont(0, 0);
  auto draw = [&](const char* caption, bool accel) {
    TLabel* label = MakeLabel(form, 10, 10, 100, 30, caption);
    label->SetColor(clWhite);
    label->SetShowAccelChar(accel);
    CaptureImage shot = Shot();
    delete label;
    return shot;
  };
  CaptureImage plain = draw("LL", true);
  CaptureImage underlined = draw("&LL", true);
  CaptureImage literal = draw("&LL", false);
  int changed = 0, changedRows = 0, lastRow = -1;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 110; ++x)
      if (plain.At(x, y) != underlined.At(x, y)) {
        ++changed;
        if (y != lastRow) ++changedRows;
        lastRow = y;
      }
  // Only a thin line under the first letter differs.
  EXPECT_GT(changed, 0);
  EXPECT_LE(changedRows, 2);
  // With accelerator characters off the "&" is drawn as it is: the text moves.
  int moved = 0;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 110; ++x) moved += plain.At(x, y) != literal.At(x, y);
  EXPECT_GT(moved, changed);
}

TEST_F(SimpleControlsTest, PanelsDrawTheirBevelsBorderAndCentredCaption) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 60, 40);
  CaptureImage raised = Shot();
  EXPECT_EQ(raised.At(10, 10), Px(clBtnHighlight));
  EXPECT_EQ(raised.At(10, 48), Px(clBtnHighlight));
  EXPECT_EQ(raised.At(68, 10), Px(clBtnHighlight));
  EXPECT_EQ(raised.At(69, 10), Px(clBtnShadow));
  EXPECT_EQ(raised.At(69, 49), Px(clBtnShadow));
  EXPECT_EQ(raised.At(10, 49), Px(clBtnShadow));
  EXPECT_EQ(raised.At(11, 11), Px(clBtnFace));

  panel->SetBevelOuter(bvLowered);
  panel->SetBorderWidth(2);
  panel->SetBevelInner(bvRaised);
  panel->SetBevelWidth(1);
  panel->SetCaption("AB");
  CaptureImage both = Shot();
  EXPECT_EQ(both.At(10, 10), Px(clBtnShadow));
  EXPECT_EQ(both.At(69, 49), Px(clBtnHighlight));
  EXPECT_EQ(both.At(11, 11), Px(clBtnFace));       // the border in the panel's colour
  EXPECT_EQ(both.At(13, 13), Px(clBtnHighlight));  // the inner bevel, raised
  EXPECT_EQ(both.At(66, 46), Px(clBtnShadow));
  // "AB" (16 x 13) centred both ways in the face.
  int textLeft = 10 + (60 - 16) / 2, textTop = 10 + (40 - 13) / 2;
  EXPECT_EQ(both.At(textLeft + 1, textTop + 2), Px(clWindowText));
  EXPECT_NE(both.At(textLeft - 2, textTop + 2), Px(clWindowText));

  // Children align inside the bevels and the border.
  auto* child = new TPanel(form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->Left(), 4);
  EXPECT_EQ(child->Top(), 4);
  EXPECT_EQ(child->Width(), 52);
  EXPECT_EQ(child->Height(), 32);

  // A single border is a client edge the window system draws.
  panel->SetBevelOuter(bvNone);
  panel->SetBevelInner(bvNone);
  panel->SetBorderWidth(0);
  panel->SetBorderStyle(bsSingle);
  EXPECT_EQ(panel->ClientWidth(), 56);
  EXPECT_EQ(child->Width(), 56);
  EXPECT_EQ(child->Left(), 0);
}

TEST_F(SimpleControlsTest, BevelsDrawBoxesFramesAndLinesInTheThreeDColours) {
  auto* bevel = new TBevel(form);
  bevel->SetParent(form);
  bevel->SetBounds(10, 10, 30, 20);
  CaptureImage box = Shot();
  EXPECT_EQ(box.At(10, 10), Px(clBtnShadow));
  EXPECT_EQ(box.At(10, 29), Px(clBtnShadow));
  EXPECT_EQ(box.At(39, 10), Px(clBtnHighlight));
  EXPECT_EQ(box.At(38, 29), Px(clBtnHighlight));
  EXPECT_EQ(box.At(20, 20), Px(clWhite));  // a bevel has no face

  bevel->SetStyle(bsRaised);
  bevel->SetShape(bsBottomLine);
  CaptureImage line = Shot();
  EXPECT_EQ(line.At(20, 28), Px(clBtnHighlight));
  EXPECT_EQ(line.At(20, 29), Px(clBtnShadow));
  EXPECT_EQ(line.At(10, 10), Px(clWhite));

  bevel->SetShape(bsFrame);
  bevel->SetStyle(bsLowered);
  CaptureImage frame = Shot();
  EXPECT_EQ(frame.At(10, 10), Px(clBtnShadow));     // outer edge
  EXPECT_EQ(frame.At(11, 11), Px(clBtnHighlight));  // inner edge: a groove
  EXPECT_EQ(frame.At(39, 29), Px(clBtnHighlight));
}

TEST_F(SimpleControlsTest, ShapesDrawWithTheirPenAndBrush) {
  auto* shape = new TShape(form);
  shape->SetParent(form);
  shape->SetBounds(10, 10, 40, 20);
  shape->Pen()->SetColor(clRed);
  shape->Brush()->SetColor(clLime);
  CaptureImage rect = Shot();
  EXPECT_EQ(rect.At(10, 10), Px(clRed));
  EXPECT_EQ(rect.At(49, 29), Px(clRed));
  EXPECT_EQ(rect.At(11, 11), Px(clLime));

  // A circle: the largest square, centred; corners stay empty.
  shape->SetShape(stCircle);
  CaptureImage circle = Shot();
  EXPECT_EQ(circle.At(30, 20), Px(clLime));
  EXPECT_EQ(circle.At(20, 10), Px(clWhite));
  EXPECT_EQ(circle.At(15, 20), Px(clWhite));  // left of the circle
  EXPECT_EQ(circle.At(20, 20), Px(clRed));    // its left edge
  EXPECT_EQ(circle.At(30, 10), Px(clRed));    // its top

  shape->SetShape(stRoundRect);
  shape->Pen()->SetWidth(2);
  CaptureImage round = Shot();
  // A wider pen moves the outline in by half its width.
  EXPECT_EQ(round.At(30, 10), Px(clWhite));
  EXPECT_EQ(round.At(11, 11), Px(clWhite));  // the corner is cut off
  EXPECT_EQ(round.At(30, 11), Px(clRed));    // a two-pixel edge
  EXPECT_EQ(round.At(30, 12), Px(clRed));
  EXPECT_EQ(round.At(30, 13), Px(clLime));

  shape->SetShape(stEllipse);
  shape->Brush()->SetStyle(bsClear);
  CaptureImage hollow = Shot();
  EXPECT_EQ(hollow.At(30, 20), Px(clWhite));
  EXPECT_EQ(hollow.At(11, 20), Px(clRed));
  EXPECT_EQ(hollow.At(10, 20), Px(clWhite));
}

TEST_F(SimpleControlsTest, PaintBoxesPaintThroughOnPaintClippedToTheirBounds) {
  auto* box = new TPaintBox(form);
  box->SetParent(form);
  box->SetBounds(20, 30, 40, 30);
  TObject* sender = nullptr;
  box->OnPaint = [&](TObject* s) {
    sender = s;
    TCanvas* c = box->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(RECT{-10, -10, 100, 100});  // clipped to the box
    c->Brush()->SetColor(clBlue);
    c->Pen()->SetColor(clBlue);
    POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
    c->Polygon(triangle, 3);
  };
  CaptureImage shot = Shot();
  EXPECT_EQ(sender, box);
  EXPECT_EQ(shot.At(20, 30), Px(clBlue));
  EXPECT_EQ(shot.At(24, 34), Px(clBlue));
  EXPECT_EQ(shot.At(38, 48), Px(clRed));  // beyond the slanted edge
  EXPECT_EQ(shot.At(59, 59), Px(clRed));
  EXPECT_EQ(shot.At(19, 30), Px(clWhite));
  EXPECT_EQ(shot.At(60, 59), Px(clWhite));
  EXPECT_EQ(shot.At(59, 60), Px(clWhite));
}

TEST_F(SimpleControlsTest, NestedPanelsAlignInCreationOrderAroundTheClientPanel) {
  auto make = [&](TWinControl* parent, TAlign align, int size) {
    auto* p = new TPanel(form);
    p->SetParent(parent);
    p->SetBevelOuter(bvNone);
    p->SetWidth(size);
    p->SetHeight(size);
    p->SetAlign(align);
    return p;
  };
  TPanel* top1 = make(form, alTop, 20);
  TPanel* top2 = make(form, alTop, 10);
  TPanel* bottom = make(form, alBottom, 15);
  TPanel* left = make(form, alLeft, 30);
  TPanel* right = make(form, alRight, 25);
  TPanel* client = make(form, alClient, 5);
  TPanel* inner = make(client, alTop, 12);
  TPanel* innerClient = make(client, alClient, 1);
  auto bounds = [](TControl* c) { return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()}; };
  EXPECT_EQ(bounds(top1), (std::vector<int>{0, 0, 200, 20}));
  EXPECT_EQ(bounds(top2), (std::vector<int>{0, 20, 200, 10}));
  EXPECT_EQ(bounds(bottom), (std::vector<int>{0, 135, 200, 15}));
  EXPECT_EQ(bounds(left), (std::vector<int>{0, 30, 30, 105}));
  EXPECT_EQ(bounds(right), (std::vector<int>{175, 30, 25, 105}));
  EXPECT_EQ(bounds(client), (std::vector<int>{30, 30, 145, 105}));
  EXPECT_EQ(bounds(inner), (std::vector<int>{0, 0, 145, 12}));
  EXPECT_EQ(bounds(innerClient), (std::vector<int>{0, 12, 145, 93}));

  // The form grows: everything follows, down to the nested panels.
  form->SetBounds(0, 0, 300, 200);
  Driver().RunUntilIdle();
  EXPECT_EQ(bounds(bottom), (std::vector<int>{0, 185, 300, 15}));
  EXPECT_EQ(bounds(right), (std::vector<int>{275, 30, 25, 155}));
  EXPECT_EQ(bounds(innerClient), (std::vector<int>{0, 12, 245, 143}));
  // A hidden panel gives its edge back.
  top1->Hide();
  EXPECT_EQ(top2->Top(), 0);
  EXPECT_EQ(client->Top(), 10);
  CaptureImage shot = Shot();
  EXPECT_EQ(shot.At(100, 100), Px(clBtnFace));
}

TEST_F(SimpleControlsTest, AnchoredChildrenFollowTheEdgesOfTheirParent) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBevelOuter(bvNone);
  panel->SetBounds(0, 0, 100, 80);
  auto child = [&](TAnchors anchors) {
    auto* c = new TShape(form);
    c->SetParent(panel);
    c->SetBounds(20, 20, 30, 10);
    c->SetAnchors(anchors);
    return c;
  };
  TShape* fixed = child(akLeftTop);
  TShape* moving = child(AnchorBit(akRight) | AnchorBit(akBottom));
  TShape* stretching = child(akLeftTop | AnchorBit(akRight) | AnchorBit(akBottom));
  TShape* floating = child(0);
  panel->SetBounds(0, 0, 140, 100);
  EXPECT_EQ(fixed->BoundsRect().left, 20);
  EXPECT_EQ(fixed->Width(), 30);
  EXPECT_EQ(moving->Left(), 60);
  EXPECT_EQ(moving->Top(), 40);
  EXPECT_EQ(moving->Width(), 30);
  EXPECT_EQ(stretching->Width(), 70);
  EXPECT_EQ(stretching->Height(), 30);
  EXPECT_EQ(floating->Left(), 40);  // keeps its centre
  EXPECT_EQ(floating->Top(), 30);
}

TEST_F(SimpleControlsTest, ConstraintsLimitEverySizeChange) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->Constraints()->SetMinWidth(50);
  panel->Constraints()->SetMaxHeight(30);
  panel->SetBounds(0, 0, 10, 100);
  EXPECT_EQ(panel->Width(), 50);
  EXPECT_EQ(panel->Height(), 30);
  // Alignment asks for the whole client height; the constraint wins.
  panel->SetAlign(alLeft);
  EXPECT_EQ(panel->Height(), 30);
  // Tightening a constraint applies it at once.
  panel->Constraints()->SetMaxWidth(40);
  EXPECT_EQ(panel->Width(), 50);  // a maximum below the minimum gives way
  panel->Constraints()->SetMinWidth(0);
  EXPECT_EQ(panel->Width(), 40);
}

TEST_F(SimpleControlsTest, AutoSizedPanelsFitTheirChildren) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(5, 5, 150, 100);
  panel->SetBorderWidth(3);  // plus the one-pixel outer bevel
  auto* a = new TShape(form);
  a->SetParent(panel);
  a->SetBounds(4, 4, 30, 20);
  auto* b = new TShape(form);
  b->SetParent(panel);
  b->SetBounds(20, 30, 40, 10);
  panel->SetAutoSize(true);
  EXPECT_EQ(panel->Width(), 60 + 8);
  EXPECT_EQ(panel->Height(), 40 + 8);
  b->SetBounds(20, 30, 70, 10);
  EXPECT_EQ(panel->Width(), 90 + 8);
  b->Hide();
  EXPECT_EQ(panel->Width(), 34 + 8);
  EXPECT_EQ(panel->Height(), 24 + 8);
}

class TLayoutForm : public TForm {
 public:
  explicit TLayoutForm(TComponent* owner) : TForm(owner) {}
  void BoxPaint(TObject* sender) {
    auto* box = static_cast<TPaintBox*>(sender);
    box->Canvas()->Brush()->SetColor(clFuchsia);
    box->Canvas()->FillRect(RECT{0, 0, box->Width(), box->Height()});
  }
  void BarChange(TObject*) { ++barChanges; }
  int barChanges = 0;
};

const char* kEveryClassLayout = R"(object LayoutForm: TLayoutForm
  Width = 200
  Height = 150
  BorderStyle = bsNone
  Color = clWhite
  object Top: TPanel
    Align = alTop
    Height = 30
    Caption = 'Top'
    BevelInner = bvLowered
    BevelWidth = 2
    BorderWidth = 1
    Alignment = taLeftJustify
    Constraints.MinHeight = 30
    object Name: TLabel
      Left = 4
      Top = 4
      Caption = '&Name'
      FocusControl = Side
      Transparent = True
      Layout = tlCenter
      WordWrap = True
    end
  end
  object Side: TPanel
    Left = 150
    Top = 40
    Width = 40
    Height = 40
    Anchors = [akTop, akRight]
    BorderStyle = bsSingle
    ParentColor = True
  end
  object Line: TBevel
    Left = 0
    Top = 100
    Width = 100
    Height = 2
    Shape = bsTopLine
    Style = bsRaised
  end
  object Dot: TShape
    Left = 10
    Top = 40
    Width = 20
    Height = 20
    Shape = stCircle
    Brush.Color = clRed
    Pen.Style = psClear
  end
  object Box: TPaintBox
    Left = 40
    Top = 40
    Width = 10
    Height = 10
    OnPaint = BoxPaint
  end
  object Bar: TScrollBar
    Left = 0
    Top = 130
    Width = 100
    Position = 70
    Max = 60
    Min = 10
    PageSize = 5
    OnChange = BarChange
  end
  object Scroller: TScrollBox
    Left = 110
    Top = 90
    Width = 80
    Height = 50
    BorderStyle = bsNone
    AutoScroll = False
    VertScrollBar.Increment = 10
    VertScrollBar.Style = ssFlat
    VertScrollBar.Visible = False
    object Inside: TSplitter
      Align = alTop
      Height = 4
      MinSize = 10
    end
  end
  object Bands: TControlBar
    Left = 60
    Top = 40
    Width = 80
    Height = 26
    RowSize = 20
  end
  object Sheet: TFrame
    Left = 0
    Top = 110
    Width = 50
    Height = 18
  end
  object Pictures: TImageList
    Width = 24
    Height = 24
  end
end
)";

TEST_F(SimpleControlsTest, ALayoutCreatesEveryClassWithItsProperties) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterProperties<TLayoutForm>("TLayoutForm", "TForm")
        .Handler("BoxPaint", &TLayoutForm::BoxPaint)
        .Handler("BarChange", &TLayoutForm::BarChange);
    RegisterFormLayout("TLayoutForm", kEveryClassLayout);
  }
  TLayoutForm* laid = nullptr;
  Application->CreateForm(laid);
  laid->Show();
  Driver().RunUntilIdle();
  auto* top = dynamic_cast<TPanel*>(laid->FindComponent("Top"));
  auto* name = dynamic_cast<TLabel*>(laid->FindComponent("Name"));
  auto* side = dynamic_cast<TPanel*>(laid->FindComponent("Side"));
  auto* line = dynamic_cast<TBevel*>(laid->FindComponent("Line"));
  auto* dot = dynamic_cast<TShape*>(laid->FindComponent("Dot"));
  auto* box = dynamic_cast<TPaintBox*>(laid->FindComponent("Box"));
  ASSERT_TRUE(top && name && side && line && dot && box);
  EXPECT_EQ(top->Width(), 200);
  EXPECT_EQ(top->BevelInner(), bvLowered);
  EXPECT_EQ(top->BevelWidth(), 2);
  EXPECT_EQ(top->Alignment(), taLeftJustify);
  EXPECT_EQ(top->Constraints()->MinHeight(), 30);
  EXPECT_EQ(name->Parent(), top);
  EXPECT_EQ(name->FocusControl(), side);
  EXPECT_TRUE(name->Transparent());
  EXPECT_EQ(name->Layout(), tlCenter);
  EXPECT_TRUE(name->WordWrap());
  EXPECT_EQ(name->Width(), 32);  // auto-sized once the layout was read ("&" draws nothing)
  EXPECT_EQ(side->BorderStyle(), bsSingle);
  EXPECT_EQ(side->Color(), clWhite);
  EXPECT_EQ(side->Anchors(), AnchorBit(akTop) | AnchorBit(akRight));
  EXPECT_EQ(line->Shape(), bsTopLine);
  EXPECT_EQ(dot->Shape(), stCircle);
  EXPECT_EQ(dot->Brush()->Color(), clRed);
  EXPECT_EQ(dot->Pen()->Style(), psClear);

  platform::headless::CaptureImage shot = Driver().Capture(laid->Handle());
  EXPECT_EQ(shot.At(20, 50), Px(clRed));
  EXPECT_EQ(shot.At(45, 45), Px(clFuchsia));
  EXPECT_EQ(shot.At(50, 100), Px(clBtnHighlight));

  laid->SetBounds(0, 0, 260, 150);
  EXPECT_EQ(side->Left(), 210);

  // A position written before its range is limited once the whole range is known, quietly.
  auto* bar = dynamic_cast<TScrollBar*>(laid->FindComponent("Bar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Min(), 10);
  EXPECT_EQ(bar->Max(), 60);
  EXPECT_EQ(bar->Position(), 60);
  EXPECT_EQ(bar->PageSize(), 5);
  EXPECT_EQ(laid->barChanges, 0);
  bar->SetPosition(20);
  EXPECT_EQ(laid->barChanges, 1);

  auto* scroller = dynamic_cast<TScrollBox*>(laid->FindComponent("Scroller"));
  ASSERT_NE(scroller, nullptr);
  EXPECT_FALSE(scroller->AutoScroll());
  EXPECT_EQ(scroller->BorderStyle(), bsNone);
  EXPECT_EQ(scroller->VertScrollBar()->Increment(), 10);
  EXPECT_EQ(scroller->VertScrollBar()->Style(), ssFlat);
  EXPECT_FALSE(scroller->VertScrollBar()->Visible());
  auto* inside = dynamic_cast<TSplitter*>(laid->FindComponent("Inside"));
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(inside->Width(), 80);
  EXPECT_EQ(inside->MinSize(), 10);
  auto* bands = dynamic_cast<TControlBar*>(laid->FindComponent("Bands"));
  ASSERT_NE(bands, nullptr);
  EXPECT_EQ(bands->RowSize(), 20);
  EXPECT_NE(dynamic_cast<TFrame*>(laid->FindComponent("Sheet")), nullptr);
  auto* pictures = dynamic_cast<TImageList*>(laid->FindComponent("Pictures"));
  ASSERT_NE(pictures, nullptr);
  EXPECT_EQ(pictures->Width(), 24);
}

}  // namespace

namespace {

class ScrollTest : public SimpleControlsTest {
 protected:
  TScrollBar* MakeBar() {
    auto* bar = new TScrollBar(form);
    bar->SetParent(form);
    bar->SetBounds(10, 100, 121, 17);
    bar->OnScroll = [this](TObject* sender, TScrollCode code, int& pos) {
      EXPECT_EQ(sender, bar_);
      scrolls.push_back({code, pos});
      if (replace && code == scPageDown) pos = replacement;
    };
    bar->OnChange = [this](TObject* sender) {
      EXPECT_EQ(sender, bar_);
      ++changes;
    };
    bar_ = bar;
    Driver().RunUntilIdle();
    return bar;
  }
  POINT At(int x, int y) { return Driver().ClientPoint(form->Handle(), x, y); }
  struct Seen {
    TScrollCode code;
    int pos;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> scrolls;
  int changes = 0;
  bool replace = false;
  int replacement = 0;
  TScrollBar* bar_ = nullptr;
};

TEST_F(ScrollTest, ArrowClicksScrollBySmallChangesAndEndTheScroll) {
  TScrollBar* bar = MakeBar();
  bar->SetSmallChange(3);
  Driver().Click(At(10 + 121 - 5, 108));  // the right arrow
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 3);
  EXPECT_EQ(scrolls, (std::vector<Seen>{{scLineDown, 3}, {scEndScroll, 3}}));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 3);

  // At the start a left arrow click stays at Min: no change.
  bar->SetPosition(0);
  changes = 0;
  scrolls.clear();
  Driver().Advance(1000);
  Driver().Click(At(12, 108));
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(changes, 0);
  ASSERT_FALSE(scrolls.empty());
  EXPECT_EQ(scrolls.front(), (Seen{scLineUp, 0}));
}

TEST_F(ScrollTest, HoldingAnArrowRepeatsAfterTheFirstPauseOnTheFakeClock) {
  TScrollBar* bar = MakeBar();
  Driver().Press(0, At(10 + 121 - 5, 108));
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 1);
  Driver().Advance(399);
  EXPECT_EQ(bar->Position(), 1);
  Driver().Advance(1);  // 400 ms: the first repeat
  EXPECT_EQ(bar->Position(), 2);
  Driver().Advance(150);  // then every 50 ms
  EXPECT_EQ(bar->Position(), 5);
  Driver().Release(0, At(10 + 121 - 5, 108));
  Driver().RunUntilIdle();
  Driver().Advance(500);
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_EQ(scrolls.back().code, scEndScroll);
}

TEST_F(ScrollTest, OnScrollMayChangeTheNewPosition) {
  TScrollBar* bar = MakeBar();
  bar->SetLargeChange(10);
  replace = true;
  replacement = 42;
  Driver().Click(At(100, 108));  // the track right of the thumb
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 42);
  EXPECT_EQ(scrolls.front(), (Seen{scPageDown, 10}));
  EXPECT_EQ(changes, 1);
  // Codes sent straight to the control: top and bottom go to the ends of the range.
  bar->Perform(CN_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(bar->Position(), 100);
  bar->Perform(CN_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(bar->Position(), 0);
}

TEST_F(ScrollTest, DraggingTheThumbTracksThenSetsThePosition) {
  TScrollBar* bar = MakeBar();
  // Range 0..100 on a track from 17 to 104 with a 17-pixel thumb at its start.
  Driver().Press(0, At(10 + 25, 108));
  Driver().MoveMouse(At(10 + 60, 108));
  Driver().RunUntilIdle();
  int tracked = bar->Position();
  EXPECT_GT(tracked, 30);
  EXPECT_LT(tracked, 70);
  Driver().Release(0, At(10 + 60, 108));
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), tracked);
  ASSERT_GE(scrolls.size(), 3u);
  EXPECT_EQ(scrolls[0].code, scTrack);
  EXPECT_EQ(scrolls[scrolls.size() - 2].code, scPosition);
  EXPECT_EQ(scrolls.back().code, scEndScroll);
}

TEST_F(ScrollTest, RangesAreCheckedAndAVerticalBarSwapsItsSize) {
  TScrollBar* bar = MakeBar();
  bar->SetPosition(80);
  EXPECT_THROW(bar->SetParams(5, 10, 0), EInvalidOperation);
  EXPECT_EQ(bar->Max(), 100);
  bar->SetMax(50);  // the position follows the range
  EXPECT_EQ(bar->Position(), 50);
  bar->SetPageSize(500);
  EXPECT_EQ(bar->PageSize(), 51);
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), 17);
  EXPECT_EQ(bar->Height(), 121);
  EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBS_VERT);
  // The new window has the range and page again.
  int low = -1, high = -1;
  GetScrollRange(bar->Handle(), SB_CTL, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 50);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 0, 0, 0};
  GetScrollInfo(bar->Handle(), SB_CTL, &info);
  EXPECT_EQ(info.nPage, 51u);
}

TEST_F(ScrollTest, AScrollBoxMovesItsChildrenWithItsBars) {
  auto* box = new TScrollBox(form);
  box->SetParent(form);
  box->SetBorderStyle(bsNone);
  box->SetBounds(0, 0, 100, 80);
  box->SetColor(clWhite);
  auto* header = new TPanel(form);
  header->SetParent(box);
  header->SetHeight(10);
  header->SetAlign(alTop);
  auto* shape = new TShape(form);
  shape->SetParent(box);
  shape->SetBounds(10, 150, 20, 20);
  shape->Brush()->SetColor(clRed);
  Driver().RunUntilIdle();
  TControlScrollBar* vert = box->VertScrollBar();
  EXPECT_EQ(vert->Range(), 170);
  EXPECT_TRUE(vert->IsScrollBarVisible());
  EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(box->ClientWidth(), 83);
  EXPECT_EQ(header->Width(), 83);
  EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_STYLE) & WS_VSCROLL);

  vert->SetPosition(50);
  EXPECT_EQ(shape->Top(), 100);
  EXPECT_EQ(header->Top(), -50);
  box->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(vert->Position(), 58);
  box->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(vert->Position(), 90);
  EXPECT_EQ(shape->Top(), 60);
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 90);
  CaptureImage shot = Shot();
  EXPECT_EQ(shot.At(15, 65), Px(clRed));

  // Scrolling a child into view.
  box->ScrollInView(header);
  EXPECT_EQ(vert->Position(), 0);
  EXPECT_EQ(shape->Top(), 150);

  // A hidden bar scrolls back and leaves the whole width.
  vert->SetPosition(30);
  vert->SetVisible(false);
  EXPECT_EQ(vert->Position(), 0);
  EXPECT_EQ(shape->Top(), 150);
  EXPECT_EQ(header->Width(), 100);
  EXPECT_FALSE(GetWindowLongA(box->Handle(), GWL_STYLE) & WS_VSCROLL);

  // A range set by hand ends automatic ranges.
  vert->SetVisible(true);
  vert->SetRange(400);
  EXPECT_FALSE(box->AutoScroll());
  shape->SetTop(10);
  EXPECT_EQ(vert->Range(), 400);
  box->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(vert->Position(), 320);
}

}  // namespace

namespace {

TEST_F(SimpleControlsTest, AnAltLetterOnALabelFocusesItsFocusControl) {
  auto* target = new TPanel(form);
  target->SetParent(form);
  target->SetBounds(0, 60, 50, 20);
  TLabel* label = MakeLabel(form, 0, 0, 50, 20, "&Name");
  label->SetFocusControl(target);
  Driver().RunUntilIdle();
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n', 0), 1);
  EXPECT_TRUE(target->Focused());
  // A label without accelerator characters, or disabled, takes nothing.
  label->SetShowAccelChar(false);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'N', 0), 0);
  // The focus control leaving clears the reference.
  delete target;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(SimpleControlsTest, SplittersResizeTheControlBesideThemWithinMinSize) {
  auto* left = new TPanel(form);
  left->SetParent(form);
  left->SetBevelOuter(bvNone);
  left->SetWidth(50);
  left->SetAlign(alLeft);
  auto* splitter = new TSplitter(form);
  splitter->SetParent(form);
  splitter->SetLeft(60);
  splitter->SetAlign(alLeft);
  auto* rest = new TPanel(form);
  rest->SetParent(form);
  rest->SetAlign(alClient);
  EXPECT_EQ(splitter->Left(), 50);
  EXPECT_EQ(splitter->FindResizeControl(), left);
  int moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  POINT at = Driver().ClientPoint(form->Handle(), 51, 20);
  Driver().Press(0, at);
  Driver().MoveMouse(POINT{at.x + 30, at.y});
  Driver().Release(0, POINT{at.x + 30, at.y});
  Driver().RunUntilIdle();
  EXPECT_EQ(left->Width(), 80);
  EXPECT_EQ(splitter->Left(), 80);
  EXPECT_EQ(rest->Left(), 83);
  EXPECT_EQ(moved, 1);
  // The rest keeps at least MinSize (30) of the 200 pixels.
  Driver().Advance(1000);
  at = Driver().ClientPoint(form->Handle(), 81, 20);
  Driver().Press(0, at);
  Driver().MoveMouse(POINT{at.x + 500, at.y});
  Driver().Release(0, POINT{at.x + 500, at.y});
  Driver().RunUntilIdle();
  EXPECT_EQ(left->Width(), 200 - 3 - 30);
}

TEST_F(SimpleControlsTest, ControlBarsPutTheirBandsInRows) {
  auto* bar = new TControlBar(form);
  bar->SetParent(form);
  bar->SetBounds(0, 0, 120, 30);
  bar->SetAutoSize(true);
  std::vector<TShape*> bands;
  for (int i = 0; i < 3; ++i) {
    auto* s = new TShape(form);
    s->SetParent(bar);
    s->SetBounds(0, 0, 40, 20);
    bands.push_back(s);
  }
  // Each band is 9 + 40 + 4 = 53 pixels: two fit in 120, the third wraps.
  EXPECT_EQ(bands[0]->Left(), 11);
  EXPECT_EQ(bands[1]->Left(), 53 + 11);
  EXPECT_EQ(bands[2]->Left(), 11);
  EXPECT_EQ(bands[2]->Top(), 26 + 3);
  EXPECT_EQ(bar->Height(), 52);
}

class TGreetingFrame : public TFrame {
 public:
  explicit TGreetingFrame(TComponent* owner) : TFrame(owner) {}
};

TEST_F(SimpleControlsTest, FramesReadTheLayoutOfTheirClass) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterProperties<TGreetingFrame>("TGreetingFrame", "TFrame");
    RegisterFormLayout("TGreetingFrame", R"(object GreetingFrame: TGreetingFrame
  Width = 120
  Height = 40
  object Greeting: TLabel
    Caption = 'Hello'
  end
end
)");
  }
  auto* frame = new TGreetingFrame(form);
  frame->AfterConstruction();
  frame->SetParent(form);
  auto* greeting = dynamic_cast<TLabel*>(frame->FindComponent("Greeting"));
  ASSERT_NE(greeting, nullptr);
  EXPECT_EQ(greeting->Parent(), frame);
  EXPECT_EQ(frame->Width(), 120);
  EXPECT_EQ(greeting->Width(), 40);
}

}  // namespace
