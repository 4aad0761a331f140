#include "config/TransitionDialog.h"

#include <memory>

#include "config/MiniScreen.h"
#include "config/TransitionPreviewGeometry.h"
#include "controls/ControlsSliders.h"
#include "controls/DialogSupport.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "framework/Dc.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/ColorPalette.h"
#include "imaging/CopyClip.h"
#include "imaging/DIBSurface.h"
#include "imaging/ReservedPalette.h"
#include "imaging/ScreenCompose.h"
#include "res/DialogIds.h"
#include "saver/DrawingThread.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"
#include "transitions/LayoutRects.h"
#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

constexpr char kName[] = "TransitionFXDlgProc";
constexpr int kNameLength = 64;
constexpr int kHelpLength = 1000;

// One slider with its caption and end labels, in the order of the class row's s1, s2, s3.
struct SliderIds {
  int slider, caption, max, min;
};
constexpr SliderIds kSliders[3] = {
    {IDC_TRANSSLIDER1, IDC_TRANSCAPTION1, IDC_TRANSSLIDER1MAX, IDC_TRANSSLIDER1MIN},
    {IDC_TRANSSLIDER2, IDC_TRANSCAPTION2, IDC_TRANSSLIDER2MAX, IDC_TRANSSLIDER2MIN},
    {IDC_TRANSSLIDER3, IDC_TRANSCAPTION3, IDC_TRANSSLIDER3MAX, IDC_TRANSSLIDER3MIN},
};

// The preview's state while the dialog runs. The palette belongs with the surfaces: both 8-bit
// surfaces are made on it, so it is freed with them and not before. The set's picture they were
// made from is the dialog's own and stays loaded after it closes, until the next load.
struct Preview {
  std::unique_ptr<CDIB> picture;
  std::unique_ptr<CDIBSurface> imageOn, imageOff;
  std::unique_ptr<CColorPalette> palette;
  RECT image{0, 0, 0, 0};  // the picture's rectangle on the screen
  bool classesLoaded = false;

  bool Ready() const { return imageOn && imageOff; }
  void Free() {
    imageOn.reset();
    imageOff.reset();
    palette.reset();
    image = RECT{0, 0, 0, 0};
  }
};
Preview preview;

CRVSliderCtl* Slider(HWND dialog, int id) { return DialogControl<CRVSliderCtl>(dialog, id); }

TransFXClassRow* SelectedRow(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_TRANSCLASSLIST);
  const LRESULT line = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (line == LB_ERR) return nullptr;
  const LRESULT data = SendMessageA(list, LB_GETITEMDATA, line, 0);
  return data == LB_ERR ? nullptr : reinterpret_cast<TransFXClassRow*>(data);
}

const TransFXEffectRow* SelectedEffect(HWND dialog) {
  HWND combo = GetDlgItem(dialog, IDC_TRANSEFFECTLIST);
  const LRESULT line = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (line == CB_ERR) return nullptr;
  const LRESULT data = SendMessageA(combo, CB_GETITEMDATA, line, 0);
  return data == CB_ERR ? nullptr : reinterpret_cast<const TransFXEffectRow*>(data);
}

// The mini screen in dialog client coordinates; empty when the frame leaves no room.
RECT MiniScreen(HWND dialog) {
  RECT box{0, 0, 0, 0};
  HWND frame = GetDlgItem(dialog, IDC_TRANSPREVIEWFRAME);
  if (!frame || !GetWindowRect(frame, &box)) return RECT{0, 0, 0, 0};
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
  return MiniScreenRect(box);
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Whether a preview can be drawn: surfaces, a picture on them and room for the mini screen.
bool CanPreview(HWND dialog) {
  return preview.Ready() && !Empty(preview.image) && !Empty(MiniScreen(dialog));
}

void EnablePreviewButton(HWND dialog) {
  const TransFXClassRow* row = SelectedRow(dialog);
  const bool twoD = row && IsValid2DTransClass(row->classId);
  EnableWindow(GetDlgItem(dialog, IDC_TRANSPREVIEW), twoD && CanPreview(dialog));
}

// Stretches the picture-on surface over the mini screen, with its palette selected for the copy
// and the old palette and stretch mode put back before the caller lets the context go.
void DrawMiniScreen(HDC dc, const RECT& mini) {
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  HPALETTE oldPalette = nullptr;
  if (preview.palette) {
    oldPalette = SelectPalette(dc, *preview.palette, FALSE);
    RealizePalette(dc);
  }
  CDIBSurface& on = *preview.imageOn;
  StretchBlt(dc, mini.left, mini.top, mini.right - mini.left, mini.bottom - mini.top,
             on.memoryDC.GetSafeHdc(), 0, 0, on.GetWidth(), on.GetHeight(), SRCCOPY);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  SetStretchBltMode(dc, oldMode);
}

void OnPaint(HWND dialog) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  if (dc && CanPreview(dialog)) DrawMiniScreen(dc, MiniScreen(dialog));
  EndPaint(dialog, &paint);
}

// ---------------------------------------------------------------------------------------------
// The class display.

void ShowSliders(HWND dialog, const TransFXClassRow& row) {
  CString captions[3];
  int count = 0;
  const BOOL found =
      row.classId == kTransFX3DClass
          ? Get3DTransClassSliderCaptions(row.classId, captions[0], captions[1], captions[2], count)
          : GetTransClassSliderCaptions(row.classId, captions[0], captions[1], captions[2], count);
  if (!found) return;
  const int values[3] = {row.s1, row.s2, row.s3};
  for (int i = 0; i < 3; ++i) {
    const SliderIds& ids = kSliders[i];
    if (CRVSliderCtl* slider = Slider(dialog, ids.slider)) slider->SetPos(values[i]);
    SetDlgItemTextA(dialog, ids.caption, captions[i]);
    const BOOL on = count > i;
    for (int id : {ids.slider, ids.max, ids.min}) EnableWindow(GetDlgItem(dialog, id), on);
  }
}

void ShowEffects(HWND dialog, int classId) {
  HWND combo = GetDlgItem(dialog, IDC_TRANSEFFECTLIST);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const TransFXEffectRow& effect : TransFXTable) {
    if (effect.classId != classId) continue;
    const LRESULT line =
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(effect.name));
    if (line >= 0)
      SendMessageA(combo, CB_SETITEMDATA, line,
                   reinterpret_cast<LPARAM>(const_cast<TransFXEffectRow*>(&effect)));
  }
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void ShowSelectedClass(HWND dialog) {
  const seams::TraceScope trace("TransitionFXDlgProc - LBN_EDITCHANGE");
  const TransFXClassRow* row = SelectedRow(dialog);
  if (!row) return;
  char help[kHelpLength + 1] = {};
  LoadStringA(DialogInstance(), static_cast<UINT>(row->helpStringId), help, sizeof help);
  SetDlgItemTextA(dialog, IDC_TRANSCLASSHELP, help);
  CheckDlgButton(dialog, IDC_TRANSCLASSON, row->enabled ? BST_CHECKED : BST_UNCHECKED);
  ShowEffects(dialog, row->classId);
  ShowSliders(dialog, *row);
  EnablePreviewButton(dialog);
}

void OnSliderReleased(HWND dialog, HWND sender) {
  TransFXClassRow* row = SelectedRow(dialog);
  if (!row) return;
  INT* values[3] = {&row->s1, &row->s2, &row->s3};
  for (int i = 0; i < 3; ++i) {
    if (sender != GetDlgItem(dialog, kSliders[i].slider)) continue;
    const CRVSliderCtl* slider = Slider(dialog, kSliders[i].slider);
    if (slider && slider->position >= 1 && slider->position <= 100) *values[i] = slider->position;
  }
}

// ---------------------------------------------------------------------------------------------
// The preview picture and surfaces.

// Decodes the preview picture with the "Loading Image..." window showing, the old one freed first.
bool LoadPreviewPicture(HWND dialog) {
  preview.picture.reset();
  preview.picture.reset(LoadFullScreenImageWithLoadingWindow(
      dialog, SelectedImageNo, ImageSettings.IMAGE_SIZE, ImageSettings.INTERPON));
  return preview.picture != nullptr;
}

int Depth(const CDIB* dib) { return dib && dib->header ? dib->header->bmiHeader.biBitCount : 0; }

// Copies the background (or another whole screen) into a surface of its size: by colour between
// two colour tables, so that the background's greys stay grey; else as the copy converts.
void CopyScreen(CDIB& from, CDIBSurface* to) {
  const int w = from.GetWidth(), h = from.GetHeight();
  if (Depth(&from) == 8 && Depth(to) == 8)
    CopyByColour(from, to, 0, 0, w, h, 0, 0);
  else
    from.CopyBits(to, 0, 0, w, h, 0, 0, -1);
}

std::unique_ptr<CDIBSurface> MakeSurface(int w, int h) {
  std::unique_ptr<CDIBSurface> surface(new (std::nothrow) CDIBSurface);
  const BOOL made = surface && (preview.palette ? surface->Create(w, h, preview.palette.get())
                                                : surface->Create24(w, h));
  if (!made) surface.reset();
  return surface;
}

// The 8-bit picture's colours with the grey ramp: the screen's colour table for it.
bool MakePalette(CDIB* picture) {
  preview.palette.reset(new (std::nothrow) CColorPalette);
  if (preview.palette &&
      preview.palette->CreateScreenPalette(picture, GetReservedPaletteEntries()) &&
      picture->MapColorsToPalette(preview.palette.get()))
    return true;
  preview.palette.reset();
  return false;
}

// Surfaces of the background's size: the picture on (the picture centred on the background, cut
// to its centre when larger) and off (the background alone).
bool BuildImageSetSurfaces(CDIB* background, CDIB* picture) {
  if (Depth(picture) == 8 && !MakePalette(picture)) return false;
  const int sw = background->GetWidth(), sh = background->GetHeight();
  auto on = MakeSurface(sw, sh);
  auto off = on ? MakeSurface(sw, sh) : nullptr;
  if (!off) return false;
  CopyScreen(*background, on.get());
  CopyScreen(*background, off.get());
  const RECT place = CentredImageRect(sw, sh, picture->GetWidth(), picture->GetHeight());
  const Span x = CentredSpan(sw, picture->GetWidth()), y = CentredSpan(sh, picture->GetHeight());
  if (Empty(place)) return false;
  picture->CopyBits(on.get(), place.left, place.top, x.length, y.length, x.from, y.from, -1);
  preview.image = place;
  preview.imageOn = std::move(on);
  preview.imageOff = std::move(off);
  return true;
}

// The own picture laid out full screen is the picture-on screen; its first layout rectangle is
// where the picture lies.
bool BuildOwnImageSurfaces(HWND dialog, CDIB* background) {
  char name[MAX_PATH] = {};
  HWND list = PictureList(dialog);
  const LRESULT line = SendMessageA(list, LB_GETCURSEL, 0, 0);
  const bool named = line != LB_ERR && SendMessageA(list, LB_GETTEXTLEN, line, 0) < MAX_PATH &&
                     SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(name)) > 0;
  if (!named) return false;
  CPtrList rects;
  const BOOL laid = SetFullScreenOwnImageDIB(&rects, IniSettings.OWNIMAGES_DIR, name);
  const RECT place = laid && !rects.IsEmpty() ? *static_cast<RECT*>(rects.GetHead()) : RECT{};
  DeleteAllPtrListElements(&rects);
  if (!laid || Empty(place)) return false;
  CDIB* screen = FullScreenOwnImageDIB;
  auto on = MakeSurface(screen->GetWidth(), screen->GetHeight());
  auto off = on ? MakeSurface(screen->GetWidth(), screen->GetHeight()) : nullptr;
  if (!off) return false;
  CopyScreen(*screen, on.get());
  CopyScreen(*background, off.get());
  preview.image = place;
  preview.imageOn = std::move(on);
  preview.imageOff = std::move(off);
  return true;
}

// The picture steps of the initialisation; each failure leaves the preview without surfaces.
void PreparePreviewSurfaces(HWND dialog) {
  if (!FillPreviewPictureList(CreatePictureList(dialog))) return;
  // The set's settings and background serve the own pictures too (their screen is framed on it).
  const BOOL prepared = InitImageSet();
  if (SelectedImageNo == -1) SelectedImageNo = 0;
  CDIB* background = ScreenBackgroundDIB;
  if (!prepared || !background || !background->header) return;
  if (OwnImagesMode) {
    if (!BuildOwnImageSurfaces(dialog, background)) preview.Free();
    return;
  }
  if (!LoadPreviewPicture(dialog) || !BuildImageSetSurfaces(background, preview.picture.get()))
    preview.Free();
}

// ---------------------------------------------------------------------------------------------
// Preview: the picture goes off to the background and comes back with the chosen effect.

// The preview running now: its dialog, whether it was asked to end, and the command (OK or
// Cancel) that waits for it to unwind.
struct RunningPreview {
  HWND dialog = nullptr;
  bool ending = false;
  int closeCommand = 0;
};
RunningPreview running;

// Ends the running preview at once: the stop request ends every wait of the effect, which then
// draws its last steps without waiting.
void EndPreview() {
  if (!running.dialog || running.ending) return;
  running.ending = true;
  seams::RequestStop();
}

// While a preview draws, the dialog keeps answering: every wait of the effect turns through this
// clock, which hands the thread's messages to the dialog first and waits in short slices, so
// that Cancel, Esc or another class are seen within a few milliseconds.
class AnsweringClock : public seams::Clock {
 public:
  explicit AnsweringClock(HWND dialog) : dialog_(dialog), inner_(seams::CurrentClock()) {}
  uint32_t TickCount() override { return inner_.TickCount(); }
  int64_t WallSeconds() override { return inner_.WallSeconds(); }
  void Idle() override {
    Answer();
    inner_.Idle();
  }
  void IdleUntil(uint32_t deadline) override {
    Answer();
    const uint32_t slice = inner_.TickCount() + kSliceMs;
    inner_.IdleUntil(seams::TickBefore(deadline, slice) ? deadline : slice);
  }

 private:
  static constexpr uint32_t kSliceMs = 10;

  void Answer() {
    MSG message;
    while (!running.ending && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        EndPreview();
        return;
      }
      if (IsDialogMessageA(dialog_, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  HWND dialog_;
  seams::Clock& inner_;
};

void RunPreview(HWND dialog) {
  const TransFXClassRow* row = SelectedRow(dialog);
  const TransFXEffectRow* effect = SelectedEffect(dialog);
  const RECT mini = MiniScreen(dialog);
  if (!row || !effect || !IsValid2DTransClass(effect->classId) || !CanPreview(dialog)) return;
  int par0 = 0, par1 = 0, par2 = 0;
  const CRVSliderCtl* sliders[3] = {Slider(dialog, IDC_TRANSSLIDER1),
                                    Slider(dialog, IDC_TRANSSLIDER2),
                                    Slider(dialog, IDC_TRANSSLIDER3)};
  int s[3];
  for (int i = 0; i < 3; ++i) s[i] = sliders[i] ? sliders[i]->position : 50;
  TransSlidersToParams(effect->classId, s[0], s[1], s[2], par0, par1, par2);
  const RECT& image = preview.image;
  const int iw = image.right - image.left, ih = image.bottom - image.top;
  const PreviewEffect chosen = ChoosePreviewEffect(effect->effectId, iw, ih);
  if (chosen.sweepClass) TransSlidersToParams(kTransFXFallbackClass, 50, 50, 50, par0, par1, par2);
  const CDIBSurface& on = *preview.imageOn;
  const RECT screen{0, 0, on.GetWidth(), on.GetHeight()};
  const RECT to = MiniImageRect(mini, screen.right, screen.bottom, image);

  HDC hdc = GetDC(dialog);
  if (!hdc) return;
  DrawMiniScreen(hdc, mini);
  CDC dc;
  dc.Attach(hdc);
  const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
  running = RunningPreview{dialog};
  {
    AnsweringClock answering(dialog);
    const seams::ScopedClock scoped(&answering);
    for (BOOL offScreen : {TRUE, FALSE}) {
      const BOOL ran = TransFXDispatch(&dc, to.left, to.top, to.right - to.left, to.bottom - to.top,
                                       preview.imageOn.get(), image.left, image.top, iw, ih,
                                       preview.imageOff.get(), image.left, image.top,
                                       chosen.effectId, par0, par1, par2, offScreen, &screen);
      if (!ran || running.ending) break;
    }
  }
  if (running.ending) seams::ClearStop();
  SetStretchBltMode(hdc, oldMode);
  dc.Detach();
  ReleaseDC(dialog, hdc);
  // What was stopped is shown whole again: the picture, as the preview ends.
  if (running.ending) InvalidateRect(dialog, &mini, FALSE);
}

// ---------------------------------------------------------------------------------------------

BOOL OnInitDialog(HWND dialog) {
  const WaitCursor wait;
  CentreOverOwner(dialog);
  // The classes come first: a set that cannot be shown must not leave them unset.
  preview.Free();
  preview.classesLoaded = bSetTransFXDlgItems(dialog) != FALSE;
  ShowSelectedClass(dialog);
  PreparePreviewSurfaces(dialog);
  EnablePreviewButton(dialog);
  InvalidateRect(dialog, nullptr, FALSE);
  return TRUE;
}

void Close(HWND dialog, bool save) {
  if (save && preview.classesLoaded) bSaveTransFXDlgSettings();
  EndDialog(dialog, 0);
  preview.Free();
  preview.classesLoaded = false;
}

// The preview, and then the OK or Cancel that ended it.
void OnPreview(HWND dialog) {
  if (running.dialog) return;  // already drawing: the button pressed again does nothing
  RunPreview(dialog);          // no wait cursor: the dialog answers while it draws
  const int closeCommand = running.closeCommand;
  running = RunningPreview{};
  if (closeCommand) Close(dialog, closeCommand == IDOK);
}

BOOL OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_TRANSCLASSLIST:
      if (code == LBN_SELCHANGE) {
        EndPreview();
        ShowSelectedClass(dialog);
      }
      return TRUE;
    case IDC_TRANSCLASSON:
      if (TransFXClassRow* row = SelectedRow(dialog))
        row->enabled = IsDlgButtonChecked(dialog, IDC_TRANSCLASSON) == BST_CHECKED ? 1 : 0;
      return TRUE;
    case IDC_TRANSPREVIEW: OnPreview(dialog); return TRUE;
    case IDOK:
    case IDCANCEL:
      // During a preview the dialog closes once the effect has unwound: it draws on the
      // dialog's surfaces until then.
      if (running.dialog) {
        running.closeCommand = id;
        EndPreview();
        return TRUE;
      }
      Close(dialog, id == IDOK);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL bSetTransFXDlgItems(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_TRANSCLASSLIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  if (!LoadTransFXClassParams()) return FALSE;
  for (TransFXClassRow& row : TransFXClassTable) {
    char name[kNameLength + 1] = {};
    LoadStringA(DialogInstance(), static_cast<UINT>(row.nameStringId), name, sizeof name);
    const LRESULT line = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    if (line >= 0) SendMessageA(list, LB_SETITEMDATA, line, reinterpret_cast<LPARAM>(&row));
  }
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  for (const SliderIds& ids : kSliders)
    if (CRVSliderCtl* slider = Slider(dialog, ids.slider)) slider->SetRange(1, 100);
  return TRUE;
}

BOOL bSaveTransFXDlgSettings() { return StoreTransFXClassParams(); }

TransitionPreviewParts CurrentTransitionPreview() {
  return TransitionPreviewParts{preview.imageOn.get(), preview.imageOff.get(),
                                preview.palette.get(), preview.image};
}

CDIB* TransitionPreviewPicture() { return preview.picture.get(); }

void FreeTransitionPreviewPicture() { preview.picture.reset(); }

INT_PTR CALLBACK TransitionFXDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace(kName, message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_PAINT: OnPaint(dialog); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION)
        OnSliderReleased(dialog, reinterpret_cast<HWND>(lParam));
      return FALSE;
    case WM_DESTROY: preview.Free(); return FALSE;
  }
  trace.Ending();
  return FALSE;
}
