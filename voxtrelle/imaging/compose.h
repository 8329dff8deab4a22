// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

// Drawing of skin pictures into off-screen images: stretching, edge frames and blending. All
// operations clip to the target image; pixels with an alpha channel are blended over the target,
// pixels without one replace it. Colours are 8-bit RGB, weights 0..255.
namespace voxtrelle {

// Copies the rectangle from of src into the rectangle to of dst, scaled nearest-neighbour (as a
// plain colour-on-colour stretch: a uniform strip stays uniform, nothing is smoothed).
void StretchDraw(wxImage& dst, const wxRect& to, const wxImage& src, const wxRect& from);

// Draws all of src with its top-left corner at (x, y), unscaled.
void DrawOver(wxImage& dst, int x, int y, const wxImage& src);

// The corner x corner squares of src at the four corners of dst, the strips between them
// stretched along the four sides; the inside of dst is left as it is.
void DrawEdgeFrame(wxImage& dst, const wxImage& src, int corner);

// src drawn into the rectangle to: its left and right edge columns unscaled at the two ends,
// the columns between them stretched over the rest of the width; rows are stretched to fit.
void DrawThreeSlice(wxImage& dst, const wxRect& to, const wxImage& src, int edge);

// Solid fill of a rectangle (alpha, if any, becomes opaque).
void FillRect(wxImage& dst, const wxRect& rect, const wxColour& colour);

// dst = (dst x (255 - weight) + colour x weight) / 255 inside rect.
void BlendFill(wxImage& dst, const wxRect& rect, const wxColour& colour, int weight);

// Mixes two colours: weight 0 gives a, 255 gives b.
wxColour MixColours(const wxColour& a, const wxColour& b, int weight);

// Sets the four corner pixels of rect, which rounds off a small rectangle.
void SetCornerPixels(wxImage& dst, const wxRect& rect, const wxColour& colour);

// An opaque image of the given size filled with colour.
wxImage SolidImage(int width, int height, const wxColour& colour);

}  // namespace voxtrelle
