// The page's picture fitted to a box: the slide strip's thumbnails and the page-layout canvas's
// picture region.
#include "editor/PictureFit.h"
#include "editor/TImgFileManager.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"

int TfrmMain::DrawPictureFitted(int page, TBitmap* bitmap, int boxHeight, int boxWidth) {
  if (!IsPage(page) || !bitmap) return kRefused;
  const std::string path = mms->Body->GetFrame(page)->GetItemPath(TMediaItem::kImage);
  if (path.empty()) return 0;
  if (!pImgFileManager) pImgFileManager = new TImgFileManager();
  int changed = 0;
  TBitmap* picture = pImgFileManager->GetBitmap(AnsiString(path.c_str()), changed);
  if (picture && changed) {
    pImgFileManager->Reload(AnsiString(path.c_str()));
    picture = pImgFileManager->GetBitmap(AnsiString(path.c_str()), changed);
  }
  if (!picture) return kRefused;  // missing or undecodable: the caller draws without it
  const SIZE size = boxHeight == -1 && boxWidth == -1
                        ? FitToRegion(picture->Width(), picture->Height(), mms->GetRegionWidth("Img"),
                                      mms->GetRegionHeight("Img"))
                        : FitToBox(picture->Width(), picture->Height(), boxHeight, boxWidth);
  if (size.cx <= 0 || size.cy <= 0) return kRefused;
  bitmap->SetSize(size.cx, size.cy);
  bitmap->Canvas()->StretchDraw(RECT{0, 0, size.cx, size.cy}, picture);
  return 0;
}
