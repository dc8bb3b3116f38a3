#include "platform/win32/window/font_cache.h"

#include "platform/win32/wide.h"

namespace kv::win32 {

HFONT FontCache::Get(const ui::Font& font, int dpi) {
  Key key{font.face, font.height, font.bold, font.underline, dpi};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  LOGFONTW lf{};
  // A negative height asks for the character height, as the layout gives it.
  lf.lfHeight = -MulDiv(font.height, dpi, 96);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring face = Widen(font.face);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT created = ::CreateFontIndirectW(&lf);
  if (!created) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  return fonts_.emplace(key, UniqueFont(created)).first->second.get();
}

}  // namespace kv::win32
