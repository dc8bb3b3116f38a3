#include "slide_fit.h"

#include <algorithm>
#include <cstdlib>

namespace slide {

namespace {

int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

inline bool Near(uint32_t a, uint32_t b, int tolerance) {
  if (a == b) return true;
  return std::abs(Channel(a, 16) - Channel(b, 16)) <= tolerance &&
         std::abs(Channel(a, 8) - Channel(b, 8)) <= tolerance &&
         std::abs(Channel(a, 0) - Channel(b, 0)) <= tolerance;
}

// The candidate corners for a placement whose x is `x`: both coordinates come from the same
// fraction, each rounded down, so y is x scaled to the height, give or take one.
template <typename Each>
void ForEachY(int x, int width, int height, Each each) {
  const int y = x * height / width;
  for (int dy = -1; dy <= 1; ++dy)
    if (y + dy >= 0 && y + dy <= height) each(y + dy);
}

// Pixels sampled on a coarse grid, and every other placement: enough to find the
// neighbourhood of the best placement, which is then searched whole.
constexpr int kCoarse = 4;
constexpr int kRefine = 3;

// First pass, coarse: where the old page's picture lies within the frame.
int CoarseOutScore(const Picture& frame, const Picture& old, const Picture& middle, int dx,
                   int dy) {
  int misses = 0;
  for (int y = 0; y < frame.height; y += kCoarse)
    for (int x = 0; x < frame.width; x += kCoarse) {
      const uint32_t want = x >= dx && y >= dy ? old.at(x - dx, y - dy) : middle.at(x, y);
      misses += !Near(frame.at(x, y), want, kTolerance);
    }
  return misses;
}

// Sums of each colour channel over every rectangle from the origin, so that the mean of any
// rectangle of a picture costs four look-ups.
class AreaSums {
 public:
  explicit AreaSums(const Picture& picture)
      : width_(picture.width + 1), sums_(3 * size_t(width_) * (picture.height + 1)) {
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        for (int c = 0; c < 3; ++c)
          Sum(c, x + 1, y + 1) = Channel(picture.at(x, y), 16 - 8 * c) + Sum(c, x, y + 1) +
                                 Sum(c, x + 1, y) - Sum(c, x, y);
  }
  // The mean colour of the pixels from (x0, y0) up to, not including, (x1, y1).
  uint32_t Mean(int x0, int y0, int x1, int y1) const {
    const uint32_t n = uint32_t(x1 - x0) * uint32_t(y1 - y0);
    uint32_t colour = 0;
    for (int c = 0; c < 3; ++c)
      colour =
          colour << 8 | (Sum(c, x1, y1) - Sum(c, x0, y1) - Sum(c, x1, y0) + Sum(c, x0, y0)) / n;
    return colour;
  }

 private:
  uint32_t& Sum(int c, int x, int y) { return sums_[(size_t(y) * width_ + x) * 3 + c]; }
  uint32_t Sum(int c, int x, int y) const { return sums_[(size_t(y) * width_ + x) * 3 + c]; }
  int width_;
  std::vector<uint32_t> sums_;
};

// Second pass, coarse: the sampled pixels of the new page stretched as StretchedIn does it.
int CoarseInScore(const Picture& frame, const AreaSums& fresh, const Picture& middle, int left,
                  int top) {
  const int w = frame.width, h = frame.height, cw = w - left, ch = h - top;
  int misses = 0;
  for (int y = 0; y < h; y += kCoarse) {
    const int y0 = (y - top) * h / ch, y1 = std::max(y0 + 1, (y - top + 1) * h / ch);
    for (int x = 0; x < w; x += kCoarse) {
      uint32_t want = middle.at(x, y);
      if (x >= left && y >= top) {
        const int x0 = (x - left) * w / cw, x1 = std::max(x0 + 1, (x - left + 1) * w / cw);
        want = fresh.Mean(x0, y0, x1, y1);
      }
      misses += !Near(frame.at(x, y), want, kTolerance);
    }
  }
  return misses;
}

double OutProgress(int dx, int width) { return 0.5 * (dx + 0.5) / width; }
double InProgress(int left, int width) { return 0.5 + 0.5 * (1.0 - (left + 0.5) / width); }

}  // namespace

Picture SlidOut(const Picture& old, const Picture& middle, int dx, int dy) {
  Picture out = middle;
  for (int y = std::max(dy, 0); y < out.height; ++y)
    for (int x = std::max(dx, 0); x < out.width; ++x) out.at(x, y) = old.at(x - dx, y - dy);
  return out;
}

Picture StretchedIn(const Picture& fresh, const Picture& middle, int left, int top) {
  Picture out = middle;
  const int w = out.width, h = out.height, cw = w - left, ch = h - top;
  if (cw <= 0 || ch <= 0) return out;
  for (int y = 0; y < ch; ++y) {
    const int y0 = y * h / ch, y1 = std::max(y0 + 1, (y + 1) * h / ch);
    for (int x = 0; x < cw; ++x) {
      const int x0 = x * w / cw, x1 = std::max(x0 + 1, (x + 1) * w / cw);
      int sum[3] = {0, 0, 0}, n = 0;
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx, ++n)
          for (int c = 0; c < 3; ++c) sum[c] += Channel(fresh.at(sx, sy), 16 - 8 * c);
      out.at(left + x, top + y) =
          uint32_t(sum[0] / n) << 16 | uint32_t(sum[1] / n) << 8 | uint32_t(sum[2] / n);
    }
  }
  return out;
}

Picture Blurred(const Picture& picture) {
  Picture out(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      int sum[3] = {0, 0, 0}, n = 0;
      for (int sy = std::max(0, y - 1); sy <= std::min(picture.height - 1, y + 1); ++sy)
        for (int sx = std::max(0, x - 1); sx <= std::min(picture.width - 1, x + 1); ++sx, ++n)
          for (int c = 0; c < 3; ++c) sum[c] += Channel(picture.at(sx, sy), 16 - 8 * c);
      out.at(x, y) = uint32_t(sum[0] / n) << 16 | uint32_t(sum[1] / n) << 8 | uint32_t(sum[2] / n);
    }
  return out;
}

double Mismatch(const Picture& a, const Picture& b, int tolerance, int left, int top) {
  if (a.width != b.width || a.height != b.height || left >= a.width || top >= a.height) return 1.0;
  size_t misses = 0;
  for (int y = top; y < a.height; ++y)
    for (int x = left; x < a.width; ++x) misses += !Near(a.at(x, y), b.at(x, y), tolerance);
  return static_cast<double>(misses) / (size_t(a.width - left) * (a.height - top));
}

namespace {

// The share of the pixels of `a` from (left, top) on with no pixel of `b` near them within
// one pixel.
double UnmatchedNearby(const Picture& a, const Picture& b, int tolerance, int left, int top) {
  size_t misses = 0;
  for (int y = top; y < a.height; ++y)
    for (int x = left; x < a.width; ++x) {
      bool near = false;
      for (int by = std::max(0, y - 1); by <= std::min(a.height - 1, y + 1) && !near; ++by)
        for (int bx = std::max(0, x - 1); bx <= std::min(a.width - 1, x + 1) && !near; ++bx)
          near = Near(a.at(x, y), b.at(bx, by), tolerance);
      misses += !near;
    }
  return static_cast<double>(misses) / (size_t(a.width - left) * (a.height - top));
}

}  // namespace

double LooseMismatch(const Picture& a, const Picture& b, int tolerance, int left, int top) {
  if (a.width != b.width || a.height != b.height || left >= a.width || top >= a.height) return 1.0;
  return std::max(UnmatchedNearby(a, b, tolerance, left, top),
                  UnmatchedNearby(b, a, tolerance, left, top));
}

Picture Expected(const Fit& fit, const Picture& old, const Picture& middle, const Picture& fresh) {
  return fit.secondPass ? StretchedIn(fresh, middle, fit.x, fit.y)
                        : SlidOut(old, middle, fit.x, fit.y);
}

namespace {

// The placements a pass can have, searched at every other x first and then at every x near the
// best of those: `coarse` scores a placement (fewer misses is better; negative leaves it out),
// `fine` looks at it closely.
template <typename Coarse, typename Fine>
void SearchPlacements(int w, int h, int lastX, Coarse coarse, Fine fine) {
  int coarseX = 0, coarseMisses = -1;
  for (int x = 0; x <= lastX; x += 2)
    ForEachY(x, w, h, [&](int y) {
      const int misses = coarse(x, y);
      if (misses >= 0 && (coarseMisses < 0 || misses < coarseMisses)) coarseMisses = misses, coarseX = x;
    });
  for (int x = std::max(0, coarseX - kRefine); x <= std::min(lastX, coarseX + kRefine); ++x)
    ForEachY(x, w, h, [&](int y) { fine(x, y); });
}

Fit FirstPassFit(const Picture& frame, const Picture& old, const Picture& middle) {
  const int w = frame.width, h = frame.height;
  Fit best;
  SearchPlacements(
      w, h, w, [&](int dx, int dy) { return CoarseOutScore(frame, old, middle, dx, dy); },
      [&](int dx, int dy) {
        const Picture expected = SlidOut(old, middle, dx, dy);
        const double mismatch = Mismatch(frame, expected, kTolerance);
        if (mismatch < best.mismatch)
          best = Fit{false, dx, dy, OutProgress(dx, w), mismatch, Mismatch(frame, expected, kTolerance, dx, dy)};
      });
  return best;
}

Fit SecondPassFit(const Picture& frame, const Picture& middle, const Picture& fresh) {
  const int w = frame.width, h = frame.height;
  const Picture blurredFrame = Blurred(frame);
  const AreaSums freshSums(fresh);
  Fit best;
  SearchPlacements(
      w, h, w - 1,
      [&](int left, int top) { return top >= h ? -1 : CoarseInScore(frame, freshSums, middle, left, top); },
      [&](int left, int top) {
        if (top >= h) return;
        const Picture expected = Blurred(StretchedIn(fresh, middle, left, top));
        const double mismatch = LooseMismatch(blurredFrame, expected, kTolerance);
        if (mismatch < best.mismatch)
          best = Fit{true, left, top, InProgress(left, w), mismatch,
                     LooseMismatch(blurredFrame, expected, kTolerance, left, top)};
      });
  return best;
}

}  // namespace

Fit BestFit(const Picture& frame, const Picture& old, const Picture& middle, const Picture& fresh) {
  // A frame the first pass explains to the pixel needs no look at the second.
  const Fit first = FirstPassFit(frame, old, middle);
  if (first.mismatch <= 0.002) return first;
  const Fit second = SecondPassFit(frame, middle, fresh);
  return second.mismatch < first.mismatch ? second : first;
}

}  // namespace slide
