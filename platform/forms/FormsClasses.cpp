// The form library's classes in the registry, with the properties layouts set.
#include <algorithm>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/SimpleControlsClasses.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TGraphicControl.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TTimer.h"

void RegisterMenusClasses();       // MenusClasses.cpp
void RegisterActionClasses();      // ActionsClasses.cpp
void RegisterStdCtrlsClasses();    // StdCtrlsClasses.cpp
void RegisterMediaClasses();       // MediaClasses.cpp
void RegisterRadioGroupClasses();  // RadioGroupClasses.cpp

void RegisterFormsClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> alignNames{"alNone",  "alTop",    "alBottom", "alLeft",
                                                   "alRight", "alClient", "alCustom"};
  static const std::vector<std::string> anchorNames{"akLeft", "akTop", "akRight", "akBottom"};
  static const std::vector<std::string> fontStyleNames{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  static const std::vector<std::string> borderNames{"bsNone",   "bsSingle",     "bsSizeable",
                                                    "bsDialog", "bsToolWindow", "bsSizeToolWin"};
  static const std::vector<std::string> formStyleNames{"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
  static const std::vector<std::string> positionNames{
      "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
      "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
  RegisterProperties<TFont>("TFont", "")
      .Str("Name", &TFont::Name, &TFont::SetName, DefFontData.Name)
      .Int("Height", &TFont::Height, &TFont::SetHeight, DefFontData.Height)
      .Set("Style", &TFont::Style, &TFont::SetStyle, 0, &fontStyleNames)
      .Color("Color", &TFont::Color, &TFont::SetColor, clWindowText)
      .Int("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET);
  RegisterProperties<TSizeConstraints>("TSizeConstraints", "")
      .Int("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0)
      .Int("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0)
      .Int("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0)
      .Int("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0);
  RegisterProperties<TComponent>("TComponent", "");
  RegisterProperties<TControl>("TControl", "TComponent")
      .Int("Left", &TControl::Left, &TControl::SetLeft, 0)
      .Int("Top", &TControl::Top, &TControl::SetTop, 0)
      .Int("Width", &TControl::Width, &TControl::SetWidth)
      .Int("Height", &TControl::Height, &TControl::SetHeight)
      .Enum("Align", &TControl::Align, &TControl::SetAlign, alNone, &alignNames)
      .Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, akLeftTop, &anchorNames)
      .Object("Constraints", &TControl::Constraints)
      .Bool("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize, false)
      .Str("Caption", &TControl::Caption, &TControl::SetCaption)
      .Str("Hint", &TControl::Hint, &TControl::SetHint)
      .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
      .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false)
      .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
      .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
      .Color("Color", &TControl::Color, &TControl::SetColor)
      .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false)
      .Object("Font", &TControl::Font)
      .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
      .Component<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
      .Int(
          "Tag", [](TControl& c) { return static_cast<std::int64_t>(c.Tag); },
          [](TControl& c, std::int64_t v) { c.Tag = static_cast<std::intptr_t>(v); }, 0)
      .Event("OnClick", &TControl::OnClick)
      .Event("OnDblClick", &TControl::OnDblClick)
      .Event("OnMouseDown", &TControl::OnMouseDown)
      .Event("OnMouseUp", &TControl::OnMouseUp)
      .Event("OnMouseMove", &TControl::OnMouseMove)
      .Component<TBasicAction>("Action", &TControl::Action, &TControl::SetAction)
      .Event("OnResize", &TControl::OnResize)
      .Event("OnContextPopup", &TControl::OnContextPopup);
  RegisterProperties<TWinControl>("TWinControl", "TControl")
      .Bool(
          "TabStop", [](TWinControl& c) { return c.TabStop; }, [](TWinControl& c, bool v) { c.TabStop = v; },
          false)
      .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1)
      .Bool(
          "DoubleBuffered", [](TWinControl& c) { return c.DoubleBuffered; },
          [](TWinControl& c, bool v) { c.DoubleBuffered = v; }, false)
      .Event("OnKeyDown", &TWinControl::OnKeyDown)
      .Event("OnKeyUp", &TWinControl::OnKeyUp)
      .Event("OnKeyPress", &TWinControl::OnKeyPress)
      .Event("OnEnter", &TWinControl::OnEnter)
      .Event("OnExit", &TWinControl::OnExit);
  RegisterProperties<TGraphicControl>("TGraphicControl", "TControl");
  RegisterProperties<TCustomControl>("TCustomControl", "TWinControl");
  RegisterProperties<TCustomForm>("TCustomForm", "TWinControl")
      .Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable, &borderNames)
      .Enum(
          "Position", [](TCustomForm& f) { return f.Position; },
          [](TCustomForm& f, TPosition v) { f.Position = v; }, poDesigned, &positionNames)
      .Bool(
          "KeyPreview", [](TCustomForm& f) { return f.KeyPreview; },
          [](TCustomForm& f, bool v) { f.KeyPreview = v; }, false)
      .Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal, &formStyleNames)
      .Bool(
          "OldCreateOrder", [](TCustomForm& f) { return f.OldCreateOrder; },
          [](TCustomForm& f, bool v) { f.OldCreateOrder = v; }, false)
      .Bool("TransparentColor", &TCustomForm::TransparentColor, &TCustomForm::SetTransparentColor, false)
      .Color("TransparentColorValue", &TCustomForm::TransparentColorValue,
             &TCustomForm::SetTransparentColorValue, clBlack)
      .Bool("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend, false)
      .Int(
          "AlphaBlendValue", [](TCustomForm& f) { return static_cast<std::int64_t>(f.AlphaBlendValue()); },
          [](TCustomForm& f, std::int64_t v) {
            f.SetAlphaBlendValue(static_cast<BYTE>(std::clamp<std::int64_t>(v, 0, 255)));
          },
          255)
      .Component<TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
      .Component<TWinControl>("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
      .Event("OnCreate", &TCustomForm::OnCreate)
      .Event("OnDestroy", &TCustomForm::OnDestroy)
      .Event("OnShow", &TCustomForm::OnShow)
      .Event("OnHide", &TCustomForm::OnHide)
      .Event("OnActivate", &TCustomForm::OnActivate)
      .Event("OnDeactivate", &TCustomForm::OnDeactivate)
      .Event("OnPaint", &TCustomForm::OnPaint)
      .Event("OnClose", &TCustomForm::OnClose)
      .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
      .Event("OnShortCut", &TCustomForm::OnShortCut);
  RegisterProperties<TForm>("TForm", "TCustomForm", Factory<TForm>());
  RegisterProperties<TPicture>("TPicture", "");
  RegisterProperties<TImage>("TImage", "TGraphicControl", Factory<TImage>())
      .Object("Picture", &TImage::Picture)
      .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
      .Bool("Center", &TImage::Center, &TImage::SetCenter, false)
      .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
  RegisterProperties<TTimer>("TTimer", "TComponent", Factory<TTimer>())
      .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
      .Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
      .Event("OnTimer", &TTimer::OnTimer);
  RegisterMenusClasses();
  RegisterActionClasses();
  RegisterStdCtrlsClasses();
  RegisterMediaClasses();
  RegisterRadioGroupClasses();
  // The simple controls, their containers and the pictures beside them.
  RegisterSimpleControlsClasses();
}
