// Where the main window first appears, at the sizes it has at 96, 144 and 192 DPI.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/window/placement.h"

namespace kv::win32 {
namespace {

TEST(Placement, CentredWhenItFitsAndAtTheTopLeftCornerWhenItDoesNot) {
  struct Case {
    RECT work;
    int width, height;
    LONG x, y;
  };
  const Case cases[] = {
      {{0, 0, 1920, 1040}, 818, 420, 551, 310},     // 96 DPI on a large screen
      {{0, 0, 1024, 728}, 1227, 630, 0, 49},        // 144 DPI on a small one: was x = -101
      {{0, 0, 1024, 728}, 1636, 840, 0, 0},         // 192 DPI: larger both ways
      {{-1280, 40, 0, 1024}, 1300, 630, -1280, 217},  // a narrower monitor left of the primary, taskbar on top
      {{0, 0, 818, 420}, 818, 420, 0, 0},           // exactly the work area
  };
  for (const Case& c : cases) {
    const POINT at = PlaceInWorkArea(c.work, c.width, c.height);
    EXPECT_EQ(at.x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(at.y, c.y) << c.width << "x" << c.height;
  }
}

TEST(Placement, TheWorkAreaIsTheMonitorsOwn) {
  RECT primary{};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0));
  const RECT work = WorkAreaAround(primary);
  EXPECT_EQ(work.left, primary.left);
  EXPECT_EQ(work.top, primary.top);
  EXPECT_EQ(work.right, primary.right);
  EXPECT_EQ(work.bottom, primary.bottom);
}

}  // namespace
}  // namespace kv::win32
