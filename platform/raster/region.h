#pragma once
// Regions: sets of pixels kept as banded rectangles (right and bottom exclusive).
//
// Representation: rectangles sorted top to bottom, then left to right, grouped in bands
// (all rectangles of a band share top and bottom); inside a band rectangles neither
// overlap nor touch; two bands that touch vertically differ in their spans (otherwise
// they are merged); the box is the exact bounding box ({0,0,0,0} when empty). Because
// the representation is canonical, two regions are equal exactly when they hold the
// same pixels. Every boolean operation runs through one band sweep.
//
// Region is a value type: copies are independent.
#include "platform/raster/geometry.h"
#include "platform/raster/live_objects.h"

#include <span>
#include <string>
#include <vector>

namespace qm::gfx {

// The platform's numbers for the kind of a region.
enum class RegionKind { Error = 0, Null = 1, Simple = 2, Complex = 3 };
enum class CombineMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };
enum class FillMode { Alternate = 1, Winding = 2 };

class Region {
public:
    Region() = default; // empty

    // Inverted coordinates are normalised; a rectangle with no pixel gives an empty region.
    static Region rect(const Rect& r);
    static Region rect(int left, int top, int right, int bottom)
    {
        return rect({ left, top, right, bottom });
    }
    // Pixels whose centre lies inside the polygon; a centre exactly on an edge counts for
    // left and top edges only. Fewer than three points or collinear points: empty.
    static Region polygon(std::span<const Point> points, FillMode mode);
    // Pixels whose centre lies strictly inside the ellipse inscribed in the box from
    // (left, top) to (right - 1, bottom - 1): one pixel short of the box on the right and
    // bottom, symmetric, and following the pen ellipse of the box (left, top, right - 1,
    // bottom - 1). A box 1 pixel wide or high gives an empty region.
    static Region ellipse(const Rect& box);
    // Union of any rectangles.
    static Region fromRects(std::span<const Rect> rects);

    RegionKind kind() const;
    bool isEmpty() const { return rects_.empty(); }
    const Rect& box() const { return box_; }
    const std::vector<Rect>& rects() const { return rects_; }
    bool contains(Point p) const;
    bool contains(int x, int y) const { return contains(Point { x, y }); }
    // True when any pixel of r is in the region.
    bool intersects(const Rect& r) const;

    // *this = a op b (for Copy, a); safe when *this is a or b. Returns the kind.
    RegionKind combine(const Region& a, const Region& b, CombineMode mode);
    static Region combined(const Region& a, const Region& b, CombineMode mode);
    Region operator&(const Region& o) const { return combined(*this, o, CombineMode::And); }
    Region operator|(const Region& o) const { return combined(*this, o, CombineMode::Or); }
    Region operator^(const Region& o) const { return combined(*this, o, CombineMode::Xor); }
    Region operator-(const Region& o) const { return combined(*this, o, CombineMode::Diff); }

    // Moves every pixel; coordinates saturate at the ends of the 32-bit range.
    void offset(int dx, int dy);
    Region translated(int dx, int dy) const;

    // The pixels of the region with at least one of the four diagonal neighbours at
    // (x +- w, y +- h) outside it: the outline a frame of that brush size paints.
    Region frame(int w, int h) const;

    // Checks the representation's invariants; on failure explains in *why.
    bool selfCheck(std::string* why = nullptr) const;

    bool operator==(const Region& o) const { return box_ == o.box_ && rects_ == o.rects_; }

private:
    friend class RegionBuilder;
    void checked() const; // runs selfCheck() in builds with QM_SELF_CHECKS

    std::vector<Rect> rects_;
    Rect box_ {};
    LiveToken<ObjectKind::Region> live_;
};

} // namespace qm::gfx
