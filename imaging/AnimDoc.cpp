#include "imaging/AnimDoc.h"

#include <memory>
#include <new>
#include <vector>

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imaging/AnimView.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/ReservedPalette.h"
#include "imaging/Sprite.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Random.h"

IMPLEMENT_DYNCREATE(CAnimDoc, CDocument)

namespace {

void DeleteAllElements(CObArray& array) {
  for (int i = 0; i < array.GetSize(); ++i) delete array[i];
  array.RemoveAll();
}

// Reads the BMP image at `offset` of a picture file into target. An alert with failText when the
// file cannot be opened.
BOOL LoadPictureAt(const CString& path, int32_t offset, CDIB* target, const char* failText) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
    seams::Alert(failText, "Alert");
    return 0;
  }
  try {
    file.Seek(offset, CFile::begin);
  } catch (const CException&) {
    return 0;  // a negative offset
  }
  return target->LoadFromFile(&file);
}

// width / height / ratio, each step rounded to a double: a 32-bit x87 build would otherwise keep
// wider intermediates, and a logo exactly at a boundary would fall differently from one build to
// another.
double AspectQuotient(int32_t width, int32_t height, double ratio) {
  volatile double perHeight = static_cast<double>(width) / height;
  volatile double quotient = perHeight / ratio;
  return quotient;
}

// The logo records of a descriptor file, or false when it is damaged. The count is checked
// against the file's length before anything is allocated for it.
bool ReadLogoRecords(CFile& file, std::vector<std::unique_ptr<CLogoDesc>>& records) {
  try {
    CArchive ar(&file, CArchive::load, 512);
    DWORD count = 0;
    ar >> count;
    const ULONGLONG length = file.GetLength();
    if (count > (length - sizeof(DWORD)) / CPictureDesc::kArchiveSize) return false;
    records.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
      records.push_back(std::make_unique<CLogoDesc>());
      records.back()->Serialize(ar);
    }
  } catch (const CException&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

CAnimDoc::CAnimDoc() : reservedEntries(GetReservedPaletteEntries()) {
  sprites.SetDeleteAllHook([this] { DeleteClock(); });
}

CAnimDoc::~CAnimDoc() {
  delete background;
  sprites.DeleteAll();
  DeleteAllElements(logos);
  DeleteAllElements(globes);
}

BOOL CAnimDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return 0;
  sprites.GetObserver()->SetView(GetFirstView());
  return 1;
}

CAnimView* CAnimDoc::GetFirstView() const {
  POSITION pos = GetFirstViewPosition();
  if (pos == nullptr) return nullptr;
  CView* view = GetNextView(pos);
  return view->IsKindOf(RUNTIME_CLASS(CAnimView)) ? static_cast<CAnimView*>(view) : nullptr;
}

void CAnimDoc::DeleteClock() {
  CObject* old = clock;
  clockOn = 0;
  clock = nullptr;
  delete old;
}

BOOL CAnimDoc::SetBackground(CDIB* dib) { return ReplaceBackground(dib, true); }

BOOL CAnimDoc::SetBackgroundNoDraw(CDIB* dib) { return ReplaceBackground(dib, false); }

BOOL CAnimDoc::ReplaceBackground(CDIB* dib, bool draw) {
  sprites.DeleteAll();
  if (background != dib) delete background;  // setting the same picture again must not free it
  SetModifiedFlag();
  background = dib;
  CAnimView* view = GetFirstView();
  if (!view || !dib) return 0;
  return draw ? view->SetBackground(dib) : view->SetBackgroundNoDraw(dib);
}

BOOL CAnimDoc::LoadBackground(const char* name) {
  auto dib = std::make_unique<CDIB>();
  if (!dib->Load(name)) return 0;
  SetBackground(dib.release());
  return 1;
}

BOOL CAnimDoc::AddSprite(const char* name) {
  auto sprite = std::make_unique<CSprite>();
  if (!sprite->Load(name)) return 0;
  CSprite* added = sprite.release();
  sprites.Insert(added);
  SetModifiedFlag();
  CAnimView* view = GetFirstView();
  if (view) view->DrawNewSprite(added);
  return 1;
}

void CAnimDoc::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<int>(background ? 1 : 0);
    if (background) background->Serialize(ar);
    sprites.Serialize(ar);
    return;
  }
  int hasBackground = 0;
  ar >> hasBackground;
  if (hasBackground != 0 && hasBackground != 1) throw CArchiveException(CArchiveException::generic);
  if (hasBackground) {
    auto dib = std::make_unique<CDIB>();
    dib->Serialize(ar);
    SetBackground(dib.release());
  }
  sprites.Serialize(ar);
  SetModifiedFlag(FALSE);
  UpdateAllViews(nullptr);
}

BOOL CAnimDoc::LoadLogoDescs(const char* descriptorPath, const char* picturePath) {
  CFileStatus status;
  if (!descriptorPath || !CFile::GetStatus(descriptorPath, status)) return 0;
  CFile file;
  if (!file.Open(descriptorPath, CFile::modeRead | CFile::shareDenyWrite)) return 0;
  std::vector<std::unique_ptr<CLogoDesc>> records;
  if (!ReadLogoRecords(file, records)) return 0;
  DeleteAllElements(logos);
  logos.SetSize(static_cast<int>(records.size()));
  for (size_t i = 0; i < records.size(); ++i)
    logos.SetAt(static_cast<int>(i), records[i].release());
  logoFile = picturePath ? picturePath : "";
  return 1;
}

BOOL CAnimDoc::OpenRandomLogoFile(double ratio, CDIB* target) {
  if (!target) return 0;
  std::vector<const CLogoDesc*> candidates;
  for (int i = 0; i < logos.GetSize(); ++i) {
    const auto* logo = static_cast<const CLogoDesc*>(logos[i]);
    if (!logo || logo->height == 0 || ratio == 0) continue;
    const double q = AspectQuotient(logo->width, logo->height, ratio);
    if (q > 0.9 && q < 1.1) candidates.push_back(logo);
  }
  if (candidates.empty()) return 0;
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  const CLogoDesc* chosen = candidates[static_cast<size_t>(seams::Rand()) % candidates.size()];
  return LoadPictureAt(logoFile, chosen->offset, target, "Unable to open logo image file");
}

BOOL CAnimDoc::OpenGlobeFile(int index, CDIB* target) {
  if (!target || index < 0 || index >= globes.GetSize() || !globes[index]) return 0;
  const auto* globe = static_cast<const CGlobeDesc*>(globes[index]);
  return LoadPictureAt(globeFile, globe->offset, target, "Unable to open Globe image file");
}

CDIBSurface* CAnimDoc::GetSurface() {
  CAnimView* view = GetFirstView();
  return view ? view->surface : nullptr;
}

void CAnimDoc::RenderRect(const CRect* rect) {
  if (CAnimView* view = GetFirstView()) view->Render(rect);
}

void CAnimDoc::ShowRect(const CRect* rect) {
  if (CAnimView* view = GetFirstView()) view->Draw(rect);
}

void CAnimDoc::FlushDirtyRects() {
  if (CAnimView* view = GetFirstView()) view->FlushDirtyList();
}
