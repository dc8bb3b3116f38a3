// The painter under Windows' high contrast, which Wine cannot switch on: fed the system colours
// of a high-contrast scheme, a selected key, a set key, a free key and F12 where Windows keeps
// it are painted in those colours and none of the fixed palette. The picture is left in the
// build folder (high-contrast-keys.bmp) to be looked at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <vector>

#include "layout/key_view.h"
#include "platform/win32/handles.h"
#include "platform/win32/window/painter.h"
#include "ui/window.h"

namespace kv::win32 {
namespace {

// "High Contrast Black": black window, white text, cyan highlight, green grey text.
COLORREF HighContrastBlack(ui::SystemColor part) {
  switch (part) {
    case ui::SystemColor::Window: return RGB(0, 0, 0);
    case ui::SystemColor::WindowText: return RGB(255, 255, 255);
    case ui::SystemColor::Highlight: return RGB(26, 235, 255);
    case ui::SystemColor::HighlightText: return RGB(0, 0, 0);
    case ui::SystemColor::GrayText: return RGB(63, 242, 63);
    case ui::SystemColor::ButtonFace: return RGB(32, 32, 32);
  }
  return 0;
}

TEST(Painter, UnderHighContrastTheKeysTakeTheSystemColoursOnly) {
  constexpr int kWidth = 300, kHeight = 100;
  ui::Window window("Window");
  window.SetBounds({0, 0, kWidth, kHeight});
  window.SetColor(0xD8D8FF);
  struct Key { ui::Color fill; ui::Color text; const char* title; };
  const Key keys[] = {{kKeySelectedSetFill, ui::kWhite, "Mail"},
                      {kKeySetFill, ui::kBlack, "Notes"},
                      {kKeyNotSetFill, ui::kBlack, ""},
                      {kKeySystemFill, kKeySystemText, "Disabled  by  Windows"}};
  std::vector<std::unique_ptr<ui::Control>> controls;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bitmap);
  SelectedObject selected(dc.get(), bitmap.get());
  const Scale scale{96};
  FontCache fonts;
  const Colors colors{true, &HighContrastBlack};
  PaintBackground(dc.get(), window, scale, colors);
  for (int i = 0; i < 4; ++i) {
    auto shape = std::make_unique<ui::Shape>("Shape", &window);
    shape->SetBounds({10 + 70 * i, 10, kKeyWidth, kKeyHeight});
    shape->SetBrush(keys[i].fill);
    shape->SetCornerSize(kKeyCorner);
    auto title = std::make_unique<ui::Label>("Title", &window);
    title->SetBounds({10 + 70 * i, 10 + kTitleOffset, kKeyWidth, kTitleHeight});
    title->SetWordWrap(true);
    title->SetAlignment(ui::Align::Center);
    title->SetFontColor(keys[i].text);
    title->SetCaption(keys[i].title);
    PaintShape(dc.get(), *shape, scale, colors);
    PaintLabel(dc.get(), *title, scale, fonts, colors);
    controls.push_back(std::move(shape));
    controls.push_back(std::move(title));
  }
  ::GdiFlush();
  auto pixel = [&](int x, int y) {
    const DWORD v = static_cast<const DWORD*>(bits)[y * kWidth + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  };
  EXPECT_EQ(pixel(5, 90), HighContrastBlack(ui::SystemColor::Window));
  EXPECT_EQ(pixel(10 + 28, 10 + 60), HighContrastBlack(ui::SystemColor::Highlight)) << "the selected key";
  EXPECT_EQ(pixel(80 + 28, 10 + 60), HighContrastBlack(ui::SystemColor::ButtonFace)) << "a set key";
  EXPECT_EQ(pixel(150 + 28, 10 + 60), HighContrastBlack(ui::SystemColor::Window)) << "a free key";
  EXPECT_EQ(pixel(150, 40), HighContrastBlack(ui::SystemColor::WindowText)) << "its outline";
  // Every pixel is one of the scheme's colours or a blend of text into its ground: none of the
  // palette's own colours is left.
  std::set<COLORREF> palette = {RGB(0xD8, 0xD8, 0xFF), RGB(0x44, 0x44, 0xDD), RGB(0xAA, 0xAA, 0xDD),
                                RGB(0xC0, 0xC0, 0xC0), RGB(0x80, 0x80, 0x80), RGB(0x00, 0x00, 0xFF)};
  std::set<COLORREF> seen;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) seen.insert(pixel(x, y));
  for (COLORREF fixed : palette) EXPECT_EQ(seen.count(fixed), 0u) << std::hex << fixed;
  EXPECT_GT(seen.count(HighContrastBlack(ui::SystemColor::GrayText)), 0u) << "F12's grey text";

  // The picture, to be looked at.
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  const DWORD size = kWidth * kHeight * 4;
  file.bfSize = file.bfOffBits + size;
  if (FILE* out = std::fopen("high-contrast-keys.bmp", "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, size, 1, out);
    std::fclose(out);
  }
}

}  // namespace
}  // namespace kv::win32
