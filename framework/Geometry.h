// CPoint, CSize and CRect over the Win32 POINT, SIZE and RECT.
//
// Semantics follow Win32: a rectangle includes its left and top edges and excludes its right and
// bottom ones; it is empty when its width or height is not positive. IntersectRect and UnionRect
// give an all-zero rectangle and FALSE when the result is empty; UnionRect ignores an empty source.
// Arithmetic wraps around in 32 bits as the Win32 functions do (no overflow traps).
#pragma once

#include <cstdint>

#include "framework/WinTypes.h"

namespace saver_detail {
// 32-bit two's-complement wrap of a wider result.
inline LONG Wrap32(int64_t v) {
  return static_cast<LONG>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}
}  // namespace saver_detail

class CSize : public SIZE {
 public:
  CSize() {
    cx = 0;
    cy = 0;
  }
  CSize(int initCX, int initCY) {
    cx = initCX;
    cy = initCY;
  }
  CSize(const SIZE& s) {
    cx = s.cx;
    cy = s.cy;
  }
  explicit CSize(const POINT& p) {
    cx = p.x;
    cy = p.y;
  }

  bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const SIZE& s) const { return !(*this == s); }
  CSize& operator+=(const SIZE& s) {
    cx = saver_detail::Wrap32(int64_t{cx} + s.cx);
    cy = saver_detail::Wrap32(int64_t{cy} + s.cy);
    return *this;
  }
  CSize& operator-=(const SIZE& s) {
    cx = saver_detail::Wrap32(int64_t{cx} - s.cx);
    cy = saver_detail::Wrap32(int64_t{cy} - s.cy);
    return *this;
  }
  CSize operator+(const SIZE& s) const {
    CSize r(*this);
    r += s;
    return r;
  }
  CSize operator-(const SIZE& s) const {
    CSize r(*this);
    r -= s;
    return r;
  }
  CSize operator-() const {
    return CSize(saver_detail::Wrap32(-int64_t{cx}), saver_detail::Wrap32(-int64_t{cy}));
  }
};

class CPoint : public POINT {
 public:
  CPoint() {
    x = 0;
    y = 0;
  }
  CPoint(int initX, int initY) {
    x = initX;
    y = initY;
  }
  CPoint(const POINT& p) {
    x = p.x;
    y = p.y;
  }
  explicit CPoint(const SIZE& s) {
    x = s.cx;
    y = s.cy;
  }

  void Offset(int dx, int dy) {
    x = saver_detail::Wrap32(int64_t{x} + dx);
    y = saver_detail::Wrap32(int64_t{y} + dy);
  }
  void Offset(const POINT& p) { Offset(p.x, p.y); }
  void Offset(const SIZE& s) { Offset(s.cx, s.cy); }

  bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
  bool operator!=(const POINT& p) const { return !(*this == p); }
  CPoint& operator+=(const SIZE& s) {
    Offset(s);
    return *this;
  }
  CPoint& operator-=(const SIZE& s) {
    Offset(saver_detail::Wrap32(-int64_t{s.cx}), saver_detail::Wrap32(-int64_t{s.cy}));
    return *this;
  }
  CPoint& operator+=(const POINT& p) {
    Offset(p);
    return *this;
  }
  CPoint& operator-=(const POINT& p) {
    Offset(saver_detail::Wrap32(-int64_t{p.x}), saver_detail::Wrap32(-int64_t{p.y}));
    return *this;
  }
  CPoint operator+(const SIZE& s) const {
    CPoint r(*this);
    r += s;
    return r;
  }
  CPoint operator-(const SIZE& s) const {
    CPoint r(*this);
    r -= s;
    return r;
  }
  CPoint operator+(const POINT& p) const {
    CPoint r(*this);
    r += p;
    return r;
  }
  CSize operator-(const POINT& p) const {
    return CSize(saver_detail::Wrap32(int64_t{x} - p.x), saver_detail::Wrap32(int64_t{y} - p.y));
  }
  CPoint operator-() const {
    return CPoint(saver_detail::Wrap32(-int64_t{x}), saver_detail::Wrap32(-int64_t{y}));
  }
};

class CRect : public RECT {
 public:
  CRect() { SetRectEmpty(); }
  CRect(int l, int t, int r, int b) { SetRect(l, t, r, b); }
  CRect(const RECT& src) { CopyRect(&src); }
  CRect(LPCRECT lpSrc) { CopyRect(lpSrc); }
  CRect(const POINT& topLeft, const SIZE& size) {
    SetRect(topLeft.x, topLeft.y, saver_detail::Wrap32(int64_t{topLeft.x} + size.cx),
            saver_detail::Wrap32(int64_t{topLeft.y} + size.cy));
  }
  CRect(const POINT& topLeft, const POINT& bottomRight) {
    SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }

  int Width() const { return saver_detail::Wrap32(int64_t{right} - left); }
  int Height() const { return saver_detail::Wrap32(int64_t{bottom} - top); }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const {
    return CPoint(static_cast<int>((int64_t{left} + right) / 2),
                  static_cast<int>((int64_t{top} + bottom) / 2));
  }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(const POINT& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  BOOL EqualRect(LPCRECT lpRect) const {
    return lpRect != nullptr && left == lpRect->left && top == lpRect->top &&
           right == lpRect->right && bottom == lpRect->bottom;
  }

  void SetRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT lpSrc) {
    if (lpSrc == nullptr) {
      SetRectEmpty();
      return;
    }
    SetRect(lpSrc->left, lpSrc->top, lpSrc->right, lpSrc->bottom);
  }

  void OffsetRect(int dx, int dy) {
    left = saver_detail::Wrap32(int64_t{left} + dx);
    right = saver_detail::Wrap32(int64_t{right} + dx);
    top = saver_detail::Wrap32(int64_t{top} + dy);
    bottom = saver_detail::Wrap32(int64_t{bottom} + dy);
  }
  void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
  void OffsetRect(const SIZE& s) { OffsetRect(s.cx, s.cy); }

  // Moves each edge outwards by the amounts (inwards for Deflate).
  void InflateRect(int l, int t, int r, int b) {
    left = saver_detail::Wrap32(int64_t{left} - l);
    top = saver_detail::Wrap32(int64_t{top} - t);
    right = saver_detail::Wrap32(int64_t{right} + r);
    bottom = saver_detail::Wrap32(int64_t{bottom} + b);
  }
  void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
  void InflateRect(const SIZE& s) { InflateRect(s.cx, s.cy); }
  void InflateRect(LPCRECT lpRect) {
    InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
  }
  void DeflateRect(int l, int t, int r, int b) {
    left = saver_detail::Wrap32(int64_t{left} + l);
    top = saver_detail::Wrap32(int64_t{top} + t);
    right = saver_detail::Wrap32(int64_t{right} - r);
    bottom = saver_detail::Wrap32(int64_t{bottom} - b);
  }
  void DeflateRect(int dx, int dy) { DeflateRect(dx, dy, dx, dy); }
  void DeflateRect(const SIZE& s) { DeflateRect(s.cx, s.cy); }
  void DeflateRect(LPCRECT lpRect) {
    DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
  }

  // Swaps edges so that left <= right and top <= bottom.
  void NormalizeRect() {
    if (left > right) {
      LONG t = left;
      left = right;
      right = t;
    }
    if (top > bottom) {
      LONG t = top;
      top = bottom;
      bottom = t;
    }
  }

  // This = the overlap of the two; all zero and FALSE when they do not overlap.
  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) {
    CRect a(lpRect1), b(lpRect2);
    LONG l = a.left > b.left ? a.left : b.left;
    LONG t = a.top > b.top ? a.top : b.top;
    LONG r = a.right < b.right ? a.right : b.right;
    LONG btm = a.bottom < b.bottom ? a.bottom : b.bottom;
    if (a.IsRectEmpty() || b.IsRectEmpty() || l >= r || t >= btm) {
      SetRectEmpty();
      return FALSE;
    }
    SetRect(l, t, r, btm);
    return TRUE;
  }
  // This = the smallest rectangle holding both (an empty one is ignored); all zero and FALSE when
  // both are empty.
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) {
    CRect a(lpRect1), b(lpRect2);
    if (a.IsRectEmpty()) {
      if (b.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
      }
      *this = b;
      return TRUE;
    }
    if (b.IsRectEmpty()) {
      *this = a;
      return TRUE;
    }
    SetRect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
            a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom);
    return TRUE;
  }

  bool operator==(const RECT& r) const { return EqualRect(&r) != FALSE; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  CRect& operator+=(const POINT& p) {
    OffsetRect(p);
    return *this;
  }
  CRect& operator-=(const POINT& p) {
    OffsetRect(saver_detail::Wrap32(-int64_t{p.x}), saver_detail::Wrap32(-int64_t{p.y}));
    return *this;
  }
  CRect& operator+=(const SIZE& s) {
    OffsetRect(s);
    return *this;
  }
  CRect& operator-=(const SIZE& s) {
    OffsetRect(saver_detail::Wrap32(-int64_t{s.cx}), saver_detail::Wrap32(-int64_t{s.cy}));
    return *this;
  }
  CRect operator+(const POINT& p) const {
    CRect r(*this);
    r += p;
    return r;
  }
  CRect operator-(const POINT& p) const {
    CRect r(*this);
    r -= p;
    return r;
  }
  CRect& operator&=(const RECT& r) {
    CRect a(*this);
    IntersectRect(&a, &r);
    return *this;
  }
  CRect& operator|=(const RECT& r) {
    CRect a(*this);
    UnionRect(&a, &r);
    return *this;
  }
  CRect operator&(const RECT& r) const {
    CRect out;
    out.IntersectRect(this, &r);
    return out;
  }
  CRect operator|(const RECT& r) const {
    CRect out;
    out.UnionRect(this, &r);
    return out;
  }
};
