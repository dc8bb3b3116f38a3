// Loaded into a running keyvane.exe by keyvane_soak.exe, it counts the process's GDI objects
// and writes the figure beside itself (gdi_census.txt), then declines to stay loaded.
// GetGuiResources is a stub under Wine; the GDI handle table that the process environment block
// points to is the same table Windows keeps, and it is kept under Wine too.
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>

namespace {

// One entry of the GDI handle table, as 64-bit Windows (and Wine) lay it out.
struct GdiEntry {
  uint64_t object;
  uint16_t processId;
  uint16_t count;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr int kTableEntries = 0x10000;
constexpr size_t kHandleTableOffset = 0xF8;  // PEB.GdiSharedHandleTable on 64-bit Windows

int CountGdiObjects() {
  // GCC 12 takes the TEB read through the gs segment for an out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
  const auto* table = *reinterpret_cast<const GdiEntry* const*>(peb + kHandleTableOffset);
  if (table == nullptr) return -1;
  // Windows keeps every process's objects in one table, Wine one table per process.
  const uint16_t self = static_cast<uint16_t>(::GetCurrentProcessId());
  int all = 0, own = 0;
  for (int i = 0; i < kTableEntries; ++i) {
    if (table[i].type == 0) continue;
    ++all;
    if (table[i].processId == self) ++own;
  }
  return own > 0 ? own : all;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH - 4) return FALSE;
  wchar_t* dot = wcsrchr(path, L'.');
  if (dot == nullptr) return FALSE;
  wcscpy(dot, L".txt");
  char text[32];
  const int size = std::snprintf(text, sizeof text, "%d\n", CountGdiObjects());
  HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(file);
  }
  return FALSE;  // counted: nothing of this library stays in the program
}
