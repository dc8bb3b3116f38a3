// Films Keyvane's page area from the screen, as the user sees it, to check the page slide
// frame by frame. The main window is found by its class; points are client pixels at 96 DPI,
// clicked by posting the mouse messages to the main window.
//   slide_probe turn <folder> <x> <y> [<ms> <x> <y>]...
//       waits until the page area is still, clicks the point (a tab), and any further points
//       <ms> after the one before while filming; films the area until the slide is over and
//       checks the frames filmed near a quarter and near three quarters of it against the area
//       before and after (see slide_fit.h). Prints one line per check, "ok <what>: <figures>"
//       or "FAIL <what>: <figures>", and writes the pictures into <folder> as BMP files, every
//       frame filmed too when KEYVANE_SLIDE_ALL_FRAMES is set. A line "unsteady: ..." tells
//       that the slide was drawn with long gaps, as on a machine too busy for it.
//   slide_probe clicks <x> <y> [<ms> <x> <y>]...
//       clicks the points, waiting <ms> before each further one
//   slide_probe settle
//       waits until the page area has stayed the same for 300 ms after a change, or after
//       1.3 s without one (at most 5 s)
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "slide_fit.h"

namespace {

using slide::Fit;
using slide::Picture;

constexpr const wchar_t* kClass = L"TKeyvaneMainWindow";
constexpr RECT kArea{24, 136, 24 + 569, 136 + 209};  // the page area in the client
constexpr double kSlideMs = 1000;
constexpr double kFilmMs = 2500;  // the slide and then some, so that a late start is seen whole
// A frame is explained by a placement that leaves no more of its pixels than this unexplained,
// of the whole area and of the moving page's part of it. Measured: a right slide leaves 0.2%
// at most (where the two stretchings of a page differ), a page's picture missing a control's
// caption or frame 1 to 5%, the other page in its place 3%, a black cover all.
constexpr double kExplained = 0.01;
constexpr double kSteadyGapMs = 100;
constexpr double kSteadyStartMs = 300;

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

// Copies a rectangle of the screen. Wine reads the screen from the X server, so this is what
// X shows, the same as a screenshot of the display.
class Camera {
 public:
  explicit Camera(const RECT& onScreen)
      : place_(onScreen), screen_(::GetDC(nullptr)), memory_(::CreateCompatibleDC(screen_)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Width();
    info.bmiHeader.biHeight = -Height();  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = ::CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous_ = ::SelectObject(memory_, bitmap_);
  }
  ~Camera() {
    ::SelectObject(memory_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(memory_);
    ::ReleaseDC(nullptr, screen_);
  }
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  Picture Shoot() {
    ::BitBlt(memory_, 0, 0, Width(), Height(), screen_, place_.left, place_.top, SRCCOPY);
    ::GdiFlush();
    Picture picture(Width(), Height());
    const auto* pixels = static_cast<const uint32_t*>(bits_);
    for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = pixels[i] & 0xFFFFFF;
    return picture;
  }

  // The area once it has not changed for `stillMs`, or as it is after `limitMs`. With
  // `changeMs`, a still area counts only once it has changed or `changeMs` have gone by: a
  // busy program may start a slide late.
  Picture Still(double stillMs = 300, double limitMs = 5000, double changeMs = 0) {
    const double start = NowMs();
    Picture last = Shoot();
    double since = start;
    bool changed = false;
    while ((NowMs() - since < stillMs || (!changed && NowMs() - start < changeMs)) &&
           NowMs() - start < limitMs) {
      ::Sleep(20);
      Picture now = Shoot();
      if (now != last) last = std::move(now), since = NowMs(), changed = true;
    }
    return last;
  }

 private:
  int Width() const { return place_.right - place_.left; }
  int Height() const { return place_.bottom - place_.top; }

  RECT place_;
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

void Click(HWND window, int x, int y) {
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool WriteBmp(const std::wstring& path, const Picture& picture) {
  const int stride = (picture.width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = picture.width;
  info.biHeight = picture.height;  // bottom up, which every reader takes
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + stride * picture.height;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::vector<unsigned char> row(stride, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t c = picture.at(x, y);
      row[x * 3] = c & 0xFF;
      row[x * 3 + 1] = (c >> 8) & 0xFF;
      row[x * 3 + 2] = (c >> 16) & 0xFF;
    }
    std::fwrite(row.data(), 1, row.size(), out);
  }
  return std::fclose(out) == 0;
}

struct Frame {
  double ms;  // since the click, taken when the copy of the screen had been made
  Picture picture;
  Fit fit;
};

// When the slide must have started for a frame to show what it shows. A frame is drawn before
// it is filmed, never after, so this is never before the true start: the least of them over
// the frames is the start, and how far a frame's lies after it is how late the frame is.
double ImpliedStart(const Frame& frame) { return frame.ms - frame.fit.progress * kSlideMs; }

// A frame whose placement is unambiguous: not the page before or after the slide, and not
// the bare middle picture between the passes, which any placement off the area explains.
bool Telling(const Frame& frame) {
  const double p = frame.fit.progress;
  return frame.fit.mismatch <= kExplained && p > 0.03 && p < 0.97 && std::abs(p - 0.5) > 0.03;
}

struct Verdict {
  bool ok = true;
  void Line(bool good, const char* what, const std::string& figures) {
    std::printf("%s %s: %s\n", good ? "ok" : "FAIL", what, figures.c_str());
    ok = ok && good;
  }
};

std::string Format(const char* format, auto... values) {
  char text[400];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// Checks the frame filmed nearest to `at` (a share of the slide) among those that show the
// pass due then, placed as due when they were filmed within `kLateness` of the slide (a busy
// machine may show a frame late): it must explain itself well, as a whole and where the page
// lies. When no frame is on time, reports the one that comes closest.
void CheckFrameNear(Verdict& verdict, const char* name, double at, bool secondPass,
                    const std::vector<Frame>& frames, double start, const std::wstring& folder,
                    const Picture& old, const Picture& middle, const Picture& fresh) {
  constexpr double kLateness = 0.08;
  const Frame* chosen = nullptr;
  double chosenScore = 0;
  for (const Frame& frame : frames) {
    const double due = (frame.ms - start) / kSlideMs;
    if (std::abs(due - at) > 0.1) continue;
    const double error = std::abs(frame.fit.progress - due);
    const double score = frame.fit.secondPass != secondPass ? 10 + error
                         : error > kLateness                ? 1 + error
                                                            : std::abs(due - at);
    if (!chosen || score < chosenScore) chosen = &frame, chosenScore = score;
  }
  if (!chosen) {
    verdict.Line(false, name, "no frame was filmed then");
    return;
  }
  const Fit& fit = chosen->fit;
  const double due = (chosen->ms - start) / kSlideMs;
  const double share = secondPass ? 1.0 - (due - 0.5) / 0.5 : due / 0.5;
  const int dueX = static_cast<int>(share * chosen->picture.width);
  const int dueY = static_cast<int>(share * chosen->picture.height);
  verdict.Line(chosenScore < 1 && fit.mismatch <= kExplained && fit.pageMismatch <= kExplained,
               name,
               Format("frame at %.0f ms of the slide shows the %s page %s (%d, %d), due (%d, %d); "
                      "%.1f%% of its pixels unexplained, %.1f%% of the page's",
                      chosen->ms - start, fit.secondPass ? "new" : "old",
                      fit.secondPass ? "stretched from" : "moved by", fit.x, fit.y, dueX, dueY,
                      100 * fit.mismatch, 100 * fit.pageMismatch));
  const std::wstring base = folder + L"\\" + std::wstring(name, name + std::strlen(name));
  WriteBmp(base + L".bmp", chosen->picture);
  WriteBmp(base + L"-expected.bmp", slide::Expected(fit, old, middle, fresh));
}

struct TimedClick {
  double ms;  // after the first click
  int x, y;
};

// The clicks of a command line: x y, then <ms> x y for each further one.
std::vector<TimedClick> ClicksFrom(int count, wchar_t** arguments) {
  std::vector<TimedClick> clicks;
  if (count >= 2) clicks.push_back({0, _wtoi(arguments[0]), _wtoi(arguments[1])});
  for (int i = 2; i + 2 < count; i += 3)
    clicks.push_back(
        {clicks.back().ms + _wtoi(arguments[i]), _wtoi(arguments[i + 1]), _wtoi(arguments[i + 2])});
  return clicks;
}

int Turn(HWND window, const std::vector<TimedClick>& clicks, const std::wstring& folder) {
  POINT origin{kArea.left, kArea.top};
  ::ClientToScreen(window, &origin);
  Camera camera(RECT{origin.x, origin.y, origin.x + kArea.right - kArea.left,
                     origin.y + kArea.bottom - kArea.top});
  const Picture old = camera.Still();
  // With neither page shown the area is its own background, which shows around a page.
  const Picture middle(old.width, old.height, old.at(0, 0));

  // Later clicks are made while filming, when they are due; the slide must land on the page
  // of the last.
  std::vector<Frame> frames;
  const double clicked = NowMs();
  size_t made = 0;
  while (NowMs() - clicked < kFilmMs) {
    for (; made < clicks.size() && NowMs() - clicked >= clicks[made].ms; ++made)
      Click(window, clicks[made].x, clicks[made].y);
    Picture picture = camera.Shoot();
    const double ms = NowMs() - clicked;
    if (frames.empty() || picture != frames.back().picture)
      frames.push_back({ms, std::move(picture), {}});
    ::Sleep(2);  // the slide draws a frame every 15 ms or so: leave the processor to it
  }
  const Picture fresh = camera.Still();
  for (Frame& frame : frames) frame.fit = slide::BestFit(frame.picture, old, middle, fresh);
  if (_wgetenv(L"KEYVANE_SLIDE_ALL_FRAMES"))
    for (size_t i = 0; i < frames.size(); ++i)
      WriteBmp(folder + L"\\frame-" + std::to_wstring(i) + L".bmp", frames[i].picture);
  WriteBmp(folder + L"\\before.bmp", old);
  WriteBmp(folder + L"\\after.bmp", fresh);

  Verdict verdict;
  std::printf("filmed %zu different frames in %.0f ms\n", frames.size(), kFilmMs);
  double start = 1e9;
  int telling = 0;
  for (const Frame& frame : frames) {
    std::printf(
        "  %6.1f ms: %s pass at (%d, %d), progress %.3f, %.1f%% unexplained (%.1f%% of the page)\n",
        frame.ms, frame.fit.secondPass ? "second" : "first", frame.fit.x, frame.fit.y,
        frame.fit.progress, 100 * frame.fit.mismatch, 100 * frame.fit.pageMismatch);
    if (!Telling(frame)) continue;
    ++telling;
    start = std::min(start, ImpliedStart(frame));
  }
  verdict.Line(old != fresh, "the page turned",
               old != fresh ? "the area differs after" : "the area is unchanged");
  if (telling == 0) {
    verdict.Line(false, "the slide shows", "no frame shows a page sliding out or in");
    return 1;
  }
  // A machine too busy to draw the slide steadily starts it late or leaves long gaps between
  // its frames; such a film tells little, and the caller may film another turn.
  double gap = 0;
  for (size_t i = 1; i < frames.size(); ++i)
    if (frames[i].ms > start && frames[i - 1].ms < start + kSlideMs)
      gap = std::max(gap, frames[i].ms - frames[i - 1].ms);
  std::printf(
      "%s: the slide started %.0f ms after the click, and at most %.0f ms went by "
      "without a new frame\n",
      gap > kSteadyGapMs || start > kSteadyStartMs ? "unsteady" : "steady", start, gap);
  verdict.Line(start >= -5 && start <= kFilmMs - kSlideMs - 300, "the slide starts with the click",
               Format("%.0f ms after it", start));
  // From the click to the slide's end, anything else on the screen, a black cover before its
  // first picture for one, is a fault the user sees, however briefly. (The controls' own
  // repainting once the slide is over is Wine's to show.)
  const Frame* worst = &frames.front();
  for (const Frame& frame : frames)
    if (frame.ms <= start + kSlideMs && frame.fit.mismatch > worst->fit.mismatch) worst = &frame;
  verdict.Line(worst->fit.mismatch <= kExplained,
               "every frame of the slide shows the pages sliding",
               Format("at worst %.1f%% of a frame unexplained, %.0f ms after the click",
                      100 * worst->fit.mismatch, worst->ms));
  CheckFrameNear(verdict, "quarter", 0.25, false, frames, start, folder, old, middle, fresh);
  CheckFrameNear(verdict, "three-quarters", 0.75, true, frames, start, folder, old, middle, fresh);

  // A slide that stops, stutters or runs at another speed shows placements that fall behind
  // what their time asks for; a loaded machine delays a few frames, not most of them.
  int onTime = 0, during = 0;
  for (const Frame& frame : frames) {
    const double due = (frame.ms - start) / kSlideMs;
    if (due < 0.05 || due > 0.95 || std::abs(due - 0.5) < 0.05) continue;
    ++during;
    onTime += frame.fit.mismatch <= kExplained && std::abs(frame.fit.progress - due) <= 0.08;
  }
  verdict.Line(during > 0 && onTime * 4 >= during * 3, "the slide keeps its pace",
               Format("%d of %d frames show what was due when filmed", onTime, during));
  return verdict.ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  const HWND window = ::FindWindowW(kClass, nullptr);
  if (!window) return 1;
  // turn <folder> <clicks...>; clicks <clicks...>
  if (command == L"turn" && argc >= 5) return Turn(window, ClicksFrom(argc - 3, argv + 3), argv[2]);
  if (command == L"clicks" && argc >= 4) {
    double last = 0;
    for (const TimedClick& click : ClicksFrom(argc - 2, argv + 2)) {
      ::Sleep(static_cast<DWORD>(click.ms - last));
      last = click.ms;
      Click(window, click.x, click.y);
    }
    return 0;
  }
  if (command == L"settle") {
    POINT origin{kArea.left, kArea.top};
    ::ClientToScreen(window, &origin);
    Camera camera(RECT{origin.x, origin.y, origin.x + kArea.right - kArea.left,
                       origin.y + kArea.bottom - kArea.top});
    camera.Still(300, 5000, 1300);
    return 0;
  }
  return 2;
}
