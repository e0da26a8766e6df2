// TThemeServices: the one object that knows whether the desktop's visual styles reach the
// program's controls, opens a theme handle per element on demand, follows the desktop's theme
// changes through the application window, and wraps the theme drawing calls. Without a theme
// library (always, on this system, unless a test installs one) nothing is themed and every
// control draws its classic look.
#pragma once

#include <array>

#include "controls/ThemeLibrary.h"
#include "platform/forms/TColor.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/WideString.h"
#include "platform/win/Win.h"

class TWinControl;

// clang-format off
enum TThemedElement {
  teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu, tePage, teProgress,
  teRebar, teScrollBar, teSpin, teStartPanel, teStatus, teTab, teTaskBand, teTaskBar, teToolBar,
  teToolTip, teTrackBar, teTrayNotify, teTreeview, teWindow
};
constexpr int kThemedElementCount = teWindow + 1;

struct TThemedElementDetails {
  TThemedElement Element;
  int Part;
  int State;
};

// The drawable states of an element: DontCare and Root, then one group per theme part in the
// theme API's part order, one value per state.
enum TThemedButton {
  tbButtonDontCare, tbButtonRoot,
  tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDisabled, tbPushButtonDefaulted,
  tbRadioButtonUncheckedNormal, tbRadioButtonUncheckedHot, tbRadioButtonUncheckedPressed,
  tbRadioButtonUncheckedDisabled, tbRadioButtonCheckedNormal, tbRadioButtonCheckedHot,
  tbRadioButtonCheckedPressed, tbRadioButtonCheckedDisabled,
  tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed,
  tbCheckBoxUncheckedDisabled, tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot, tbCheckBoxCheckedPressed,
  tbCheckBoxCheckedDisabled, tbCheckBoxMixedNormal, tbCheckBoxMixedHot, tbCheckBoxMixedPressed,
  tbCheckBoxMixedDisabled,
  tbGroupBoxNormal, tbGroupBoxDisabled,
  tbUserButton
};
enum TThemedComboBox {
  tcComboBoxDontCare, tcComboBoxRoot,
  tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed, tcDropDownButtonDisabled
};
enum TThemedEdit {
  teEditDontCare, teEditRoot,
  teEditTextNormal, teEditTextHot, teEditTextSelected, teEditTextDisabled, teEditTextFocused,
  teEditTextReadOnly, teEditTextAssist,
  teEditCaret
};
enum TThemedProgress {
  tpProgressDontCare, tpProgressRoot,
  tpBar,
  tpBarVert,
  tpChunk,
  tpChunkVert
};
enum TThemedScrollBar {
  tsScrollBarDontCare, tsScrollBarRoot,
  tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled, tsArrowBtnDownNormal,
  tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled, tsArrowBtnLeftNormal,
  tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled, tsArrowBtnRightNormal,
  tsArrowBtnRightHot, tsArrowBtnRightPressed, tsArrowBtnRightDisabled,
  tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed, tsThumbBtnHorzDisabled,
  tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed, tsThumbBtnVertDisabled,
  tsLowerTrackHorzNormal, tsLowerTrackHorzHot, tsLowerTrackHorzPressed, tsLowerTrackHorzDisabled,
  tsUpperTrackHorzNormal, tsUpperTrackHorzHot, tsUpperTrackHorzPressed, tsUpperTrackHorzDisabled,
  tsLowerTrackVertNormal, tsLowerTrackVertHot, tsLowerTrackVertPressed, tsLowerTrackVertDisabled,
  tsUpperTrackVertNormal, tsUpperTrackVertHot, tsUpperTrackVertPressed, tsUpperTrackVertDisabled,
  tsGripperHorzNormal, tsGripperHorzHot, tsGripperHorzPressed, tsGripperHorzDisabled,
  tsGripperVertNormal, tsGripperVertHot, tsGripperVertPressed, tsGripperVertDisabled,
  tsSizeBoxRightAlign, tsSizeBoxLeftAlign
};
enum TThemedSpin {
  tsSpinDontCare, tsSpinRoot,
  tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled,
  tsDownNormal, tsDownHot, tsDownPressed, tsDownDisabled,
  tsUpHorzNormal, tsUpHorzHot, tsUpHorzPressed, tsUpHorzDisabled,
  tsDownHorzNormal, tsDownHorzHot, tsDownHorzPressed, tsDownHorzDisabled
};
enum TThemedToolTip {
  tttToolTipDontCare, tttToolTipRoot,
  tttStandardNormal, tttStandardLink,
  tttStandardTitleNormal, tttStandardTitleLink,
  tttBaloonNormal, tttBaloonLink,
  tttBaloonTitleNormal, tttBaloonTitleLink,
  tttCloseNormal, tttCloseHot, tttClosePressed
};
enum TThemedTrackBar {
  ttbTrackBarDontCare, ttbTrackBarRoot,
  ttbTrack,
  ttbTrackVert,
  ttbThumbNormal, ttbThumbHot, ttbThumbPressed, ttbThumbFocused, ttbThumbDisabled,
  ttbThumbBottomNormal, ttbThumbBottomHot, ttbThumbBottomPressed, ttbThumbBottomFocused,
  ttbThumbBottomDisabled,
  ttbThumbTopNormal, ttbThumbTopHot, ttbThumbTopPressed, ttbThumbTopFocused, ttbThumbTopDisabled,
  ttbThumbVertNormal, ttbThumbVertHot, ttbThumbVertPressed, ttbThumbVertFocused, ttbThumbVertDisabled,
  ttbThumbLeftNormal, ttbThumbLeftHot, ttbThumbLeftPressed, ttbThumbLeftFocused, ttbThumbLeftDisabled,
  ttbThumbRightNormal, ttbThumbRightHot, ttbThumbRightPressed, ttbThumbRightFocused,
  ttbThumbRightDisabled,
  ttbThumbTics,
  ttbThumbTicsVert
};
enum TThemedClock {
  tcClockDontCare, tcClockRoot,
  tcTimeNormal
};
enum TThemedExplorerBar {
  tebExplorerBarDontCare, tebExplorerBarRoot,
  tebHeaderBackground,
  tebHeaderCloseNormal, tebHeaderCloseHot, tebHeaderClosePressed,
  tebHeaderPinNormal, tebHeaderPinHot, tebHeaderPinPressed, tebHeaderPinSelectedNormal,
  tebHeaderPinSelectedHot, tebHeaderPinSelectedPressed,
  tebIEBarMenuNormal, tebIEBarMenuHot, tebIEBarMenuPressed,
  tebNormalGroupBackground,
  tebNormalGroupCollapseNormal, tebNormalGroupCollapseHot, tebNormalGroupCollapsePressed,
  tebNormalGroupExpandNormal, tebNormalGroupExpandHot, tebNormalGroupExpandPressed,
  tebNormalGroupHead,
  tebSpecialGroupBackground,
  tebSpecialGroupCollapseNormal, tebSpecialGroupCollapseHot, tebSpecialGroupCollapsePressed,
  tebSpecialGroupExpandNormal, tebSpecialGroupExpandHot, tebSpecialGroupExpandPressed,
  tebSpecialGroupHead
};
enum TThemedHeader {
  thHeaderDontCare, thHeaderRoot,
  thHeaderItemNormal, thHeaderItemHot, thHeaderItemPressed,
  thHeaderItemLeftNormal, thHeaderItemLeftHot, thHeaderItemLeftPressed,
  thHeaderItemRightNormal, thHeaderItemRightHot, thHeaderItemRightPressed,
  thHeaderSortArrowSortedUp, thHeaderSortArrowSortedDown
};
enum TThemedListview {
  tlvListviewDontCare, tlvListviewRoot,
  tlvListItemNormal, tlvListItemHot, tlvListItemSelected, tlvListItemDisabled, tlvListItemSelectedNotFocus,
  tlvListGroup,
  tlvListDetail,
  tlvListSortedDetail,
  tlvEmptyText
};
enum TThemedMenu {
  tmMenuDontCare, tmMenuRoot,
  tmMenuItemNormal, tmMenuItemSelected, tmMenuItemDemoted,
  tmMenuDropDownNormal, tmMenuDropDownSelected, tmMenuDropDownDemoted,
  tmMenuBarItemNormal, tmMenuBarItemSelected, tmMenuBarItemDemoted,
  tmMenuBarDropDownNormal, tmMenuBarDropDownSelected, tmMenuBarDropDownDemoted,
  tmChevronNormal, tmChevronSelected, tmChevronDemoted,
  tmSeparatorNormal, tmSeparatorSelected, tmSeparatorDemoted
};
enum TThemedPage {
  tpgPageDontCare, tpgPageRoot,
  tpgUpNormal, tpgUpHot, tpgUpPressed, tpgUpDisabled,
  tpgDownNormal, tpgDownHot, tpgDownPressed, tpgDownDisabled,
  tpgUpHorzNormal, tpgUpHorzHot, tpgUpHorzPressed, tpgUpHorzDisabled,
  tpgDownHorzNormal, tpgDownHorzHot, tpgDownHorzPressed, tpgDownHorzDisabled
};
enum TThemedRebar {
  trbRebarDontCare, trbRebarRoot,
  trbGripper,
  trbGripperVert,
  trbBand,
  trbChevronNormal, trbChevronHot, trbChevronPressed,
  trbChevronVertNormal, trbChevronVertHot, trbChevronVertPressed
};
enum TThemedStartPanel {
  tspStartPanelDontCare, tspStartPanelRoot,
  tspUserPane,
  tspMorePrograms,
  tspMoreProgramsArrowNormal, tspMoreProgramsArrowHot, tspMoreProgramsArrowPressed,
  tspProgList,
  tspProgListSeparator,
  tspPlacesList,
  tspPlacesListSeparator,
  tspLogOff,
  tspLogOffButtonsNormal, tspLogOffButtonsHot, tspLogOffButtonsPressed,
  tspUserPicture,
  tspPreview
};
enum TThemedStatus {
  tstStatusDontCare, tstStatusRoot,
  tstPane,
  tstGripperPane,
  tstGripper
};
enum TThemedTab {
  ttabTabDontCare, ttabTabRoot,
  ttabTabItemNormal, ttabTabItemHot, ttabTabItemSelected, ttabTabItemDisabled, ttabTabItemFocused,
  ttabTabItemLeftEdgeNormal, ttabTabItemLeftEdgeHot, ttabTabItemLeftEdgeSelected, ttabTabItemLeftEdgeDisabled,
  ttabTabItemLeftEdgeFocused,
  ttabTabItemRightEdgeNormal, ttabTabItemRightEdgeHot, ttabTabItemRightEdgeSelected,
  ttabTabItemRightEdgeDisabled, ttabTabItemRightEdgeFocused,
  ttabTabItemBothEdgeNormal, ttabTabItemBothEdgeHot, ttabTabItemBothEdgeSelected, ttabTabItemBothEdgeDisabled,
  ttabTabItemBothEdgeFocused,
  ttabTopTabItemNormal, ttabTopTabItemHot, ttabTopTabItemSelected, ttabTopTabItemDisabled,
  ttabTopTabItemFocused,
  ttabTopTabItemLeftEdgeNormal, ttabTopTabItemLeftEdgeHot, ttabTopTabItemLeftEdgeSelected,
  ttabTopTabItemLeftEdgeDisabled, ttabTopTabItemLeftEdgeFocused,
  ttabTopTabItemRightEdgeNormal, ttabTopTabItemRightEdgeHot, ttabTopTabItemRightEdgeSelected,
  ttabTopTabItemRightEdgeDisabled, ttabTopTabItemRightEdgeFocused,
  ttabTopTabItemBothEdgeNormal, ttabTopTabItemBothEdgeHot, ttabTopTabItemBothEdgeSelected,
  ttabTopTabItemBothEdgeDisabled, ttabTopTabItemBothEdgeFocused,
  ttabPane,
  ttabBody
};
enum TThemedTaskBand {
  ttbdTaskBandDontCare, ttbdTaskBandRoot,
  ttbdGroupCount,
  ttbdFlashButton,
  ttbdFlashButtonGroupMenu
};
enum TThemedTaskBar {
  ttkbTaskBarDontCare, ttkbTaskBarRoot,
  ttkbBackgroundBottom,
  ttkbBackgroundRight,
  ttkbBackgroundTop,
  ttkbBackgroundLeft,
  ttkbSizingBarBottom,
  ttkbSizingBarRight,
  ttkbSizingBarTop,
  ttkbSizingBarLeft
};
enum TThemedToolBar {
  ttlbToolBarDontCare, ttlbToolBarRoot,
  ttlbButtonNormal, ttlbButtonHot, ttlbButtonPressed, ttlbButtonDisabled, ttlbButtonChecked,
  ttlbButtonCheckedHot,
  ttlbDropDownButtonNormal, ttlbDropDownButtonHot, ttlbDropDownButtonPressed, ttlbDropDownButtonDisabled,
  ttlbDropDownButtonChecked, ttlbDropDownButtonCheckedHot,
  ttlbSplitButtonNormal, ttlbSplitButtonHot, ttlbSplitButtonPressed, ttlbSplitButtonDisabled,
  ttlbSplitButtonChecked, ttlbSplitButtonCheckedHot,
  ttlbSplitButtonDropDownNormal, ttlbSplitButtonDropDownHot, ttlbSplitButtonDropDownPressed,
  ttlbSplitButtonDropDownDisabled, ttlbSplitButtonDropDownChecked, ttlbSplitButtonDropDownCheckedHot,
  ttlbSeparator,
  ttlbSeparatorVert
};
enum TThemedTrayNotify {
  ttnTrayNotifyDontCare, ttnTrayNotifyRoot,
  ttnBackground,
  ttnAnimBackground
};
enum TThemedTreeview {
  ttvTreeviewDontCare, ttvTreeviewRoot,
  ttvTreeItemNormal, ttvTreeItemHot, ttvTreeItemSelected, ttvTreeItemDisabled, ttvTreeItemSelectedNotFocus,
  ttvGlyphClosed, ttvGlyphOpened,
  ttvBranch
};
enum TThemedWindow {
  twWindowDontCare, twWindowRoot,
  twCaptionActive, twCaptionInactive, twCaptionDisabled,
  twSmallCaptionActive, twSmallCaptionInactive, twSmallCaptionDisabled,
  twMinCaptionActive, twMinCaptionInactive, twMinCaptionDisabled,
  twSmallMinCaptionActive, twSmallMinCaptionInactive, twSmallMinCaptionDisabled,
  twMaxCaptionActive, twMaxCaptionInactive, twMaxCaptionDisabled,
  twSmallMaxCaptionActive, twSmallMaxCaptionInactive, twSmallMaxCaptionDisabled,
  twFrameLeftActive, twFrameLeftInactive,
  twFrameRightActive, twFrameRightInactive,
  twFrameBottomActive, twFrameBottomInactive,
  twSmallFrameLeftActive, twSmallFrameLeftInactive,
  twSmallFrameRightActive, twSmallFrameRightInactive,
  twSmallFrameBottomActive, twSmallFrameBottomInactive,
  twSysButtonNormal, twSysButtonHot, twSysButtonPushed, twSysButtonDisabled,
  twMDISysButtonNormal, twMDISysButtonHot, twMDISysButtonPushed, twMDISysButtonDisabled,
  twMinButtonNormal, twMinButtonHot, twMinButtonPushed, twMinButtonDisabled,
  twMDIMinButtonNormal, twMDIMinButtonHot, twMDIMinButtonPushed, twMDIMinButtonDisabled,
  twMaxButtonNormal, twMaxButtonHot, twMaxButtonPushed, twMaxButtonDisabled,
  twCloseButtonNormal, twCloseButtonHot, twCloseButtonPushed, twCloseButtonDisabled,
  twSmallCloseButtonNormal, twSmallCloseButtonHot, twSmallCloseButtonPushed, twSmallCloseButtonDisabled,
  twMDICloseButtonNormal, twMDICloseButtonHot, twMDICloseButtonPushed, twMDICloseButtonDisabled,
  twRestoreButtonNormal, twRestoreButtonHot, twRestoreButtonPushed, twRestoreButtonDisabled,
  twMDIRestoreButtonNormal, twMDIRestoreButtonHot, twMDIRestoreButtonPushed, twMDIRestoreButtonDisabled,
  twHelpButtonNormal, twHelpButtonHot, twHelpButtonPushed, twHelpButtonDisabled,
  twMDIHelpButtonNormal, twMDIHelpButtonHot, twMDIHelpButtonPushed, twMDIHelpButtonDisabled,
  twHorzScrollNormal, twHorzScrollHot, twHorzScrollPushed, twHorzScrollDisabled,
  twHorzThumbNormal, twHorzThumbHot, twHorzThumbPushed, twHorzThumbDisabled,
  twVertScrollNormal, twVertScrollHot, twVertScrollPushed, twVertScrollDisabled,
  twVertThumbNormal, twVertThumbHot, twVertThumbPushed, twVertThumbDisabled,
  twDialog,
  twCaptionSizingTemplate,
  twSmallCaptionSizingTemplate,
  twFrameLeftSizingTemplate,
  twSmallFrameLeftSizingTemplate,
  twFrameRightSizingTemplate,
  twSmallFrameRightSizingTemplate,
  twFrameBottomSizingTemplate,
  twSmallFrameBottomSizingTemplate
};
// clang-format on

class TThemeServices : public TObject {
 public:
  // Watches `window` (the application window) for theme changes when one is given.
  explicit TThemeServices(HWND window);
  ~TThemeServices() override;

  bool ThemesAvailable() const { return themesAvailable_; }
  bool ThemesEnabled() const { return useThemes_; }
  bool ThemeControlsEnabled() const { return controlsEnabled_; }
  // The library is there, visual styles are on and they reach the controls.
  bool GetThemesEnabled() const { return themesAvailable_ && useThemes_ && controlsEnabled_; }

  void UpdateThemes();
  // The element's theme handle, opened on first use; null while themes are not in use.
  HTHEME GetTheme(TThemedElement element);

  static TThemedElementDetails GetElementDetails(TThemedButton value);
  static TThemedElementDetails GetElementDetails(TThemedComboBox value);
  static TThemedElementDetails GetElementDetails(TThemedEdit value);
  static TThemedElementDetails GetElementDetails(TThemedProgress value);
  static TThemedElementDetails GetElementDetails(TThemedScrollBar value);
  static TThemedElementDetails GetElementDetails(TThemedSpin value);
  static TThemedElementDetails GetElementDetails(TThemedToolTip value);
  static TThemedElementDetails GetElementDetails(TThemedTrackBar value);
  static TThemedElementDetails GetElementDetails(TThemedClock value);
  static TThemedElementDetails GetElementDetails(TThemedExplorerBar value);
  static TThemedElementDetails GetElementDetails(TThemedHeader value);
  static TThemedElementDetails GetElementDetails(TThemedListview value);
  static TThemedElementDetails GetElementDetails(TThemedMenu value);
  static TThemedElementDetails GetElementDetails(TThemedPage value);
  static TThemedElementDetails GetElementDetails(TThemedRebar value);
  static TThemedElementDetails GetElementDetails(TThemedStartPanel value);
  static TThemedElementDetails GetElementDetails(TThemedStatus value);
  static TThemedElementDetails GetElementDetails(TThemedTab value);
  static TThemedElementDetails GetElementDetails(TThemedTaskBand value);
  static TThemedElementDetails GetElementDetails(TThemedTaskBar value);
  static TThemedElementDetails GetElementDetails(TThemedToolBar value);
  static TThemedElementDetails GetElementDetails(TThemedTrayNotify value);
  static TThemedElementDetails GetElementDetails(TThemedTreeview value);
  static TThemedElementDetails GetElementDetails(TThemedWindow value);

  void DrawElement(HDC dc, const TThemedElementDetails& details, const RECT& rect,
                   const RECT* clip = nullptr);
  void DrawEdge(HDC dc, const TThemedElementDetails& details, const RECT& rect, UINT edge, UINT flags,
                RECT* contentRect = nullptr);
  void DrawIcon(HDC dc, const TThemedElementDetails& details, const RECT& rect, HIMAGELIST images, int index);
  void DrawText(HDC dc, const TThemedElementDetails& details, const WideString& text, const RECT& rect,
                DWORD flags, DWORD flags2);
  RECT ContentRect(HDC dc, const TThemedElementDetails& details, const RECT& bounds);
  bool HasTransparentParts(const TThemedElementDetails& details);
  // A system colour becomes the theme's colour of that index; other colours are unchanged.
  COLORREF ColorToRGB(TColor color, const TThemedElementDetails* details = nullptr);
  void DrawParentBackground(HWND window, HDC dc, const TThemedElementDetails* details, bool onlyIfTransparent,
                            const RECT* rect = nullptr);
  // The themed client edge of a control with WS_EX_CLIENTEDGE.
  void PaintBorder(TWinControl* control, bool eraseCorner);

  TNotifyEvent OnThemeChange;

 protected:
  virtual void DoOnThemeChange();

 private:
  void WindowProc(TMessage& message);
  void Unsubclass();
  void UnloadThemeData();

  bool themesAvailable_ = false;
  bool useThemes_ = false;
  bool controlsEnabled_ = false;
  HWND window_ = nullptr;
  WNDPROC defaultProc_ = nullptr;
  WNDPROC instance_ = nullptr;
  std::array<HTHEME, kThemedElementCount> themes_{};
};

// The shared object, made on first use for the application window.
TThemeServices* ThemeServices();
// Frees the shared object (the end of the program, and tests).
void FreeThemeServices();
