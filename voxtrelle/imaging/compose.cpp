// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/imaging/compose.h"

#include <algorithm>

namespace voxtrelle {

namespace {

// Writes one source pixel (sx, sy) over the target pixel (dx, dy) with "over" compositing.
void PutPixel(wxImage& dst, int dx, int dy, const wxImage& src, int sx, int sy) {
  const unsigned char* s = src.GetData() + 3 * (sy * src.GetWidth() + sx);
  unsigned char* d = dst.GetData() + 3 * (dy * dst.GetWidth() + dx);
  const int sa = src.HasAlpha() ? src.GetAlpha(sx, sy) : 255;
  if (sa == 0) return;
  if (sa == 255) {
    std::copy(s, s + 3, d);
    if (dst.HasAlpha()) dst.SetAlpha(dx, dy, 255);
    return;
  }
  const int da = dst.HasAlpha() ? dst.GetAlpha(dx, dy) : 255;
  // Result alpha and colours in 0..255 x 255 fixed point.
  const int under = da * (255 - sa);
  const int outA = sa * 255 + under;
  for (int c = 0; c < 3; ++c) {
    d[c] = static_cast<unsigned char>((s[c] * sa * 255 + d[c] * under + outA / 2) / outA);
  }
  if (dst.HasAlpha()) dst.SetAlpha(dx, dy, static_cast<unsigned char>((outA + 127) / 255));
}

wxRect Clip(const wxImage& image, const wxRect& rect) {
  return rect.Intersect(wxRect(0, 0, image.GetWidth(), image.GetHeight()));
}

}  // namespace

void StretchDraw(wxImage& dst, const wxRect& to, const wxImage& src, const wxRect& from) {
  if (!dst.IsOk() || !src.IsOk() || to.IsEmpty() || from.IsEmpty()) return;
  const wxRect source = Clip(src, from);
  if (source != from) return;  // a source outside the picture is a caller's mistake; draw nothing
  const wxRect visible = Clip(dst, to);
  for (int y = visible.GetTop(); y <= visible.GetBottom(); ++y) {
    const int sy = from.y + static_cast<int>(int64_t(y - to.y) * from.height / to.height);
    for (int x = visible.GetLeft(); x <= visible.GetRight(); ++x) {
      const int sx = from.x + static_cast<int>(int64_t(x - to.x) * from.width / to.width);
      PutPixel(dst, x, y, src, sx, sy);
    }
  }
}

void DrawOver(wxImage& dst, int x, int y, const wxImage& src) {
  if (!src.IsOk()) return;
  const wxRect all(0, 0, src.GetWidth(), src.GetHeight());
  StretchDraw(dst, wxRect(x, y, src.GetWidth(), src.GetHeight()), src, all);
}

void DrawEdgeFrame(wxImage& dst, const wxImage& src, int corner) {
  if (!dst.IsOk() || !src.IsOk() || corner <= 0) return;
  const int sw = src.GetWidth(), sh = src.GetHeight();
  const int dw = dst.GetWidth(), dh = dst.GetHeight();
  if (sw <= 2 * corner || sh <= 2 * corner) return;
  const int c = corner;
  // Corners.
  StretchDraw(dst, wxRect(0, 0, c, c), src, wxRect(0, 0, c, c));
  StretchDraw(dst, wxRect(dw - c, 0, c, c), src, wxRect(sw - c, 0, c, c));
  StretchDraw(dst, wxRect(0, dh - c, c, c), src, wxRect(0, sh - c, c, c));
  StretchDraw(dst, wxRect(dw - c, dh - c, c, c), src, wxRect(sw - c, sh - c, c, c));
  // Edges between them.
  const int innerW = dw - 2 * c, innerH = dh - 2 * c;
  if (innerW > 0) {
    StretchDraw(dst, wxRect(c, 0, innerW, c), src, wxRect(c, 0, sw - 2 * c, c));
    StretchDraw(dst, wxRect(c, dh - c, innerW, c), src, wxRect(c, sh - c, sw - 2 * c, c));
  }
  if (innerH > 0) {
    StretchDraw(dst, wxRect(0, c, c, innerH), src, wxRect(0, c, c, sh - 2 * c));
    StretchDraw(dst, wxRect(dw - c, c, c, innerH), src, wxRect(sw - c, c, c, sh - 2 * c));
  }
}

void DrawThreeSlice(wxImage& dst, const wxRect& to, const wxImage& src, int edge) {
  if (!src.IsOk() || edge <= 0) return;
  const int sw = src.GetWidth(), sh = src.GetHeight();
  if (sw <= 2 * edge || to.width < 2 * edge) return;
  StretchDraw(dst, wxRect(to.x, to.y, edge, to.height), src, wxRect(0, 0, edge, sh));
  StretchDraw(dst, wxRect(to.x + to.width - edge, to.y, edge, to.height), src,
              wxRect(sw - edge, 0, edge, sh));
  if (to.width > 2 * edge) {
    StretchDraw(dst, wxRect(to.x + edge, to.y, to.width - 2 * edge, to.height), src,
                wxRect(edge, 0, sw - 2 * edge, sh));
  }
}

void FillRect(wxImage& dst, const wxRect& rect, const wxColour& colour) {
  if (!dst.IsOk()) return;
  const wxRect r = Clip(dst, rect);
  if (r.IsEmpty()) return;
  dst.SetRGB(r, colour.Red(), colour.Green(), colour.Blue());
  if (dst.HasAlpha()) {
    for (int y = r.GetTop(); y <= r.GetBottom(); ++y)
      for (int x = r.GetLeft(); x <= r.GetRight(); ++x) dst.SetAlpha(x, y, 255);
  }
}

void BlendFill(wxImage& dst, const wxRect& rect, const wxColour& colour, int weight) {
  if (!dst.IsOk()) return;
  weight = std::clamp(weight, 0, 255);
  const wxRect r = Clip(dst, rect);
  const unsigned char rgb[3] = {colour.Red(), colour.Green(), colour.Blue()};
  for (int y = r.GetTop(); y <= r.GetBottom(); ++y) {
    unsigned char* d = dst.GetData() + 3 * (y * dst.GetWidth() + r.GetLeft());
    for (int x = 0; x < r.width; ++x, d += 3) {
      for (int c = 0; c < 3; ++c)
        d[c] = static_cast<unsigned char>((d[c] * (255 - weight) + rgb[c] * weight) / 255);
    }
  }
}

wxColour MixColours(const wxColour& a, const wxColour& b, int weight) {
  weight = std::clamp(weight, 0, 255);
  auto mix = [weight](int x, int y) {
    return static_cast<unsigned char>((x * (255 - weight) + y * weight) / 255);
  };
  return wxColour(mix(a.Red(), b.Red()), mix(a.Green(), b.Green()), mix(a.Blue(), b.Blue()));
}

void SetCornerPixels(wxImage& dst, const wxRect& rect, const wxColour& colour) {
  if (rect.IsEmpty()) return;
  const wxPoint corners[] = {rect.GetTopLeft(), rect.GetTopRight(), rect.GetBottomLeft(),
                             rect.GetBottomRight()};
  for (const wxPoint& p : corners) {
    if (p.x < 0 || p.y < 0 || p.x >= dst.GetWidth() || p.y >= dst.GetHeight()) continue;
    dst.SetRGB(p.x, p.y, colour.Red(), colour.Green(), colour.Blue());
    if (dst.HasAlpha()) dst.SetAlpha(p.x, p.y, 255);
  }
}

wxImage SolidImage(int width, int height, const wxColour& colour) {
  wxImage image(width, height, false);
  image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
  return image;
}

}  // namespace voxtrelle
