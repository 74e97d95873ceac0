// Scan conversion of the shapes GDI draws, as pixel sets (banded rectangles): ellipses,
// polygons, rounded rectangles and wide-pen strokes. Pixels are sampled at their centres;
// a shape's bounding box edges follow GDI (Left..Right-1 covered).
#pragma once

#include <vector>

#include "platform/win/Regions.h"

namespace vantrel::win {

// Pixels of the ellipse inscribed in the box (Left..Right-1, Top..Bottom-1).
Region EllipsePixels(const RECT& Box);
// Pixels of a rectangle with rounded corners of the given ellipse size.
Region RoundRectPixels(const RECT& Box, int EllipseWidth, int EllipseHeight);
// Polygon interiors (several polygons at once), ALTERNATE or WINDING.
Region PolygonPixels(const POINT* Points, const int* Counts, int Polygons, int FillMode);
// The pixels a region's one-pixel-wide inner border covers (4-neighbour boundary).
Region InnerBorder(const Region& R);
// A wide pen's stroke along a polyline: half-width W/2 around the centre line, caps and
// joins from PS_ENDCAP_* / PS_JOIN_* bits; Closed joins the last point to the first.
Region StrokePixels(const POINT* Points, int Count, int Width, unsigned Style, bool Closed);

}  // namespace vantrel::win
