#pragma once
// Making system regions from the shape's rectangles without a cost that grows with the
// square of their number.
#include <windows.h>

#include <string>
#include <vector>

#include "app/handles_win.h"
#include "graphics/region_scan.h"

namespace region {

// The union of non-overlapping rectangles given in banded order (ShapeRectangles). Null when
// the system cannot make it. No rectangles give an empty region.
win::unique_region RegionFromRectangles(const std::vector<Rect>& rects);

// A region from RGNDATA bytes, after checking that the system will read nothing beyond them.
win::unique_region RegionFromData(const std::string& bytes);

// A copy of `source` (a window takes ownership of the region it is given).
win::unique_region CopyRegion(HRGN source);

}  // namespace region
