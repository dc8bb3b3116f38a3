// Keyvane's page slide as pictures of the page area: what the area must show at a point of the
// slide, given the pictures before the turn, between the passes and after it, and which point
// of the slide best explains a frame filmed from the screen.
//   first pass:  the old page moved out by (dx, dy) towards the lower right over the middle
//                picture, dx = out * width, dy = out * height, out = progress / 0.5
//   second pass: the new page stretched into (left, top)-(width, height) over the middle
//                picture, left = (1 - in) * width, top = (1 - in) * height, in = progress / 0.5 - 1
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace slide {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, rows top down

  Picture() = default;
  Picture(int w, int h, uint32_t fill = 0)
      : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  uint32_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  bool operator==(const Picture&) const = default;
};

Picture SlidOut(const Picture& old, const Picture& middle, int dx, int dy);
// Each pixel of the stretched page is the mean of the pixels of the page it stands for.
Picture StretchedIn(const Picture& fresh, const Picture& middle, int left, int top);
// Each pixel the mean of its 3 x 3 neighbourhood: a stretched picture compared after this
// does not depend on how the stretching picked or mixed its pixels.
Picture Blurred(const Picture& picture);
// The share of pixels that differ by more than `tolerance` in some colour channel, among those
// from (left, top) to the lower right corner.
double Mismatch(const Picture& a, const Picture& b, int tolerance, int left = 0, int top = 0);
// The same, where a pixel is matched by any pixel of the other picture within one pixel of
// it, both ways round (the larger share counts): two stretchings of one picture may place an
// edge one pixel apart, but what one picture has and the other lacks still counts.
double LooseMismatch(const Picture& a, const Picture& b, int tolerance, int left = 0, int top = 0);

inline constexpr int kTolerance = 48;

struct Fit {
  bool secondPass = false;
  int x = 0;  // first pass: the old page's offset; second pass: the new page's left edge
  int y = 0;
  double progress = 0;  // the point of the slide, 0 to 1, that this placement stands for
  double mismatch = 1;  // the share of the frame's pixels this placement leaves unexplained
  // The same share among the pixels where the moving page lies: the two pages differ in
  // little of the whole area once a page is small.
  double pageMismatch = 1;
};

// The placement, of either pass, that best explains `frame`. The first pass is compared pixel
// for pixel, the second after blurring both pictures and allowing for edges one pixel apart.
Fit BestFit(const Picture& frame, const Picture& old, const Picture& middle, const Picture& fresh);

// What the area shows at the placement of `fit`.
Picture Expected(const Fit& fit, const Picture& old, const Picture& middle, const Picture& fresh);

}  // namespace slide
