// CDIB and CColorPalette against real GDI: drawing, "DIB" resources and palette handles.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/Dc.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "tests/native/imaging/BmpBytes.h"

namespace {

constexpr UINT kSampleDib = 100;  // DIBResource.rc

// A 32-bit top-down DIB section selected into a memory DC, every pixel `background`.
class MemorySurface {
 public:
  MemorySurface(int w, int h, DWORD background) : w_(w), h_(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = static_cast<DWORD*>(bits);
    dc_.Attach(::CreateCompatibleDC(nullptr));
    old_ = ::SelectObject(dc_.GetSafeHdc(), bitmap_);
    for (int i = 0; i < w * h; ++i) pixels_[i] = background;
  }
  ~MemorySurface() {
    ::SelectObject(dc_.GetSafeHdc(), old_);
    ::DeleteObject(bitmap_);
  }
  bool Ready() const { return bitmap_ && pixels_ && dc_.GetSafeHdc(); }
  CDC* Dc() { return &dc_; }
  // 0x00RRGGBB
  DWORD Pixel(int x, int y) {
    ::GdiFlush();
    return pixels_[y * w_ + x];
  }
  int Width() const { return w_; }
  int Height() const { return h_; }

 private:
  int w_, h_;
  HBITMAP bitmap_ = nullptr;
  DWORD* pixels_ = nullptr;
  HGDIOBJ old_ = nullptr;
  CDC dc_;
};

DWORD Rgb32(const RGBQUAD& q) { return DWORD(q.rgbRed) << 16 | DWORD(q.rgbGreen) << 8 | q.rgbBlue; }

// The colour that pixel (x, y) of an 8-bit or 24-bit bitmap should show on a 32-bit surface.
DWORD ExpectedColour(CDIB& dib, int x, int y) {
  const BYTE* p = dib.GetPixelAddress(x, y);
  if (dib.header->bmiHeader.biBitCount == 24) return DWORD(p[2]) << 16 | DWORD(p[1]) << 8 | p[0];
  if (dib.header->bmiHeader.biBitCount == 8) return Rgb32(dib.header->bmiColors[*p]);
  const int bit = 7 - x % 8;  // 1 bit per pixel, leftmost pixel in the high bit
  return Rgb32(dib.header->bmiColors[(*p >> bit) & 1]);
}

void ExpectDrawnAt(MemorySurface& surface, CDIB& dib, int left, int top, DWORD background) {
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      const bool inside =
          x >= left && x < left + dib.GetWidth() && y >= top && y < top + dib.GetHeight();
      const DWORD expected = inside ? ExpectedColour(dib, x - left, y - top) : background;
      EXPECT_EQ(surface.Pixel(x, y) & 0xFFFFFF, expected) << "at " << x << "," << y;
    }
  }
}

TEST(DIBDrawTest, DrawsEveryDepthAtItsPosition) {
  const DWORD background = 0x123456;
  CDIB eight;
  ASSERT_TRUE(eight.Create(3, 2, nullptr));
  eight.header->bmiColors[1] = RGBQUAD{0x10, 0x80, 0xF0, 0};
  eight.header->bmiColors[2] = RGBQUAD{0xF0, 0x00, 0x20, 0};
  const BYTE eightPixels[] = {1, 2, 0, 0, 2, 1, 200, 0};  // bottom row first, padded to 4
  std::memcpy(eight.bits, eightPixels, sizeof eightPixels);

  CDIB deep;
  ASSERT_TRUE(deep.Create24(2, 3));
  for (int i = 0; i < 8 * 3; ++i) deep.bits[i] = static_cast<BYTE>(37 * i + 5);

  // A 1-bit file: drawn as loaded.
  bmptest::WindowsBmp oneBit;
  oneBit.bitCount = 1;
  oneBit.width = 5;
  oneBit.clrUsed = 2;
  oneBit.tableEntries = 2;
  oneBit.pixelBase = 0xA5;  // rows start 1010 0101 and 1010 1001
  const std::vector<uint8_t> file = oneBit.Build();
  CMemFile memFile(file.data(), file.size());
  CDIB mono;
  ASSERT_TRUE(mono.LoadFromFile(&memFile));

  CDIB* pictures[] = {&eight, &deep, &mono};
  for (CDIB* dib : pictures) {
    SCOPED_TRACE(dib->header->bmiHeader.biBitCount);
    MemorySurface surface(7, 5, background);
    ASSERT_TRUE(surface.Ready());
    EXPECT_EQ(dib->Draw(surface.Dc(), 2, 1), dib->GetHeight());
    ExpectDrawnAt(surface, *dib, 2, 1, background);
  }
  EXPECT_EQ(eight.Draw(nullptr, 0, 0), 0) << "no device, nothing drawn";
}

// The resource's bytes as the module holds them.
std::vector<BYTE> ResourceBytes(const BYTE** where) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(kSampleDib), "DIB");
  if (!found) return {};
  const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
  *where = data;
  return std::vector<BYTE>(data, data + ::SizeofResource(module, found));
}

TEST(DIBResourceTest, LoadsTheBitsInPlaceAndLeavesThemToTheModule) {
  const BYTE* data = nullptr;
  const std::vector<BYTE> original = ResourceBytes(&data);
  ASSERT_EQ(original.size(), 78u);
  // The linker may leave resources writable; make them read-only as a loader may, so that the
  // bitmap has to open them up itself. (Wine lets a write through such a page anyway, so the
  // protection is checked rather than a fault awaited.)
  DWORD protection;
  ASSERT_TRUE(
      ::VirtualProtect(const_cast<BYTE*>(data), original.size(), PAGE_READONLY, &protection));
  {
    CDIB dib;
    ASSERT_TRUE(dib.LoadResource(kSampleDib));
    EXPECT_EQ(dib.ownsBits, 0);
    EXPECT_EQ(dib.bits, data + 70) << "the bits stay in the resource, at bfOffBits";
    EXPECT_NE(reinterpret_cast<const BYTE*>(dib.header), data + 14) << "the header is copied";
    EXPECT_EQ(dib.GetWidth(), 4);
    EXPECT_EQ(dib.GetHeight(), 2);
    EXPECT_EQ(dib.GetNumColors(), 4);
    EXPECT_EQ(Rgb32(dib.header->bmiColors[3]), 0xC0B0A0u);
    const BYTE top[] = {0, 1, 2, 3}, bottom[] = {3, 2, 1, 0};
    EXPECT_EQ(std::memcmp(dib.GetPixelAddress(0, 0), top, 4), 0);
    EXPECT_EQ(std::memcmp(dib.GetPixelAddress(0, 1), bottom, 4), 0);

    // Colour mapping writes the pixels in place: the resource memory must be writable. Mapping
    // onto the bitmap's own colours writes every byte back unchanged.
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_NE(::VirtualQuery(dib.bits, &memory, sizeof memory), 0u);
    EXPECT_NE(memory.Protect & (PAGE_READWRITE | PAGE_WRITECOPY), 0u)
        << "protection " << memory.Protect;
    CColorPalette own;
    ASSERT_TRUE(own.CreateFromDIB(&dib));
    ASSERT_TRUE(dib.MapColorsToPalette(&own));
    EXPECT_EQ(std::memcmp(dib.GetPixelAddress(0, 0), top, 4), 0);
  }
  // The bitmap is gone; the resource is whole.
  EXPECT_EQ(std::vector<BYTE>(data, data + original.size()), original);

  // Only the low 16 bits of the id name the resource.
  CDIB again;
  EXPECT_TRUE(again.LoadResource(0x10000 | kSampleDib));
  EXPECT_EQ(again.bits, data + 70);
}

TEST(DIBResourceTest, MissingResourceLeavesTheBitmapAlone) {
  CDIB dib;
  BITMAPINFO* header = dib.header;
  BYTE* bits = dib.bits;
  EXPECT_FALSE(dib.LoadResource(kSampleDib + 1));
  EXPECT_EQ(dib.header, header);
  EXPECT_EQ(dib.bits, bits);
  EXPECT_EQ(dib.ownsBits, 1);
}

TEST(ColorPaletteWinTest, HoldsARealGdiPalette) {
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateGreyRamp(10));
  HPALETTE handle = palette;
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_PAL));
  PALETTEENTRY entry{};
  ASSERT_EQ(::GetPaletteEntries(handle, 41, 1, &entry), 1u);
  EXPECT_EQ(entry.peRed, 252);
  EXPECT_EQ(entry.peFlags, PC_NOCOLLAPSE);

  // The old handle is deleted when a new palette replaces it.
  CDIB dib;
  ASSERT_TRUE(palette.CreateFromDIB(&dib));
  EXPECT_EQ(::GetObjectType(handle), 0u);
}

TEST(ColorPaletteWinTest, MakeIdentityOnATrueColourDisplayChangesNothing) {
  HDC screen = ::GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  const int caps = ::GetDeviceCaps(screen, RASTERCAPS);
  ::ReleaseDC(nullptr, screen);
  ASSERT_EQ(caps & RC_PALETTE, 0) << "this test expects a display without a palette";

  CDIB dib;
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(&dib));
  HPALETTE handle = palette;
  std::vector<PALETTEENTRY> before(256), after(256);
  ASSERT_EQ(palette.GetPaletteEntries(0, 256, before.data()), 256u);
  EXPECT_FALSE(palette.MakeIdentity());
  EXPECT_EQ(static_cast<HPALETTE>(palette), handle);
  ASSERT_EQ(palette.GetPaletteEntries(0, 256, after.data()), 256u);
  EXPECT_EQ(std::memcmp(before.data(), after.data(), 256 * sizeof(PALETTEENTRY)), 0);
}

}  // namespace
