#include "platform/win32/services/win32_files.h"

#include <shlwapi.h>

#include <atomic>
#include <string_view>

#include "core/error.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_system.h"

namespace kv::win32 {

namespace {

constexpr DWORD kIoChunk = 1u << 20;
constexpr int kMoveAttempts = 5;
constexpr DWORD kMoveRetryMs = 40;

// One sentence, as the user reads it in the error box: which file, and why, in Windows' words.
[[noreturn]] void FailRead(const std::string& path, DWORD error) {
  throw KeyvaneError("Cannot read \"" + path + "\": " + SystemErrorText(error));
}

[[noreturn]] void FailWrite(const std::string& path, const std::string& reason) {
  throw KeyvaneError("Cannot save \"" + path + "\": " + reason);
}

[[noreturn]] void FailWrite(const std::string& path, DWORD error) {
  FailWrite(path, SystemErrorText(error));
}

// The attributes a replaced file keeps; the rest (read-only, compression, ...) either was
// refused earlier or belongs to the file system, not to the content.
DWORD AttributesToKeep(DWORD oldAttributes) {
  if (oldAttributes == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_NORMAL;
  const DWORD kept = oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

// The sibling file a new version is written to; removed unless it became the real file.
class SiblingTemporary {
 public:
  SiblingTemporary() = default;
  SiblingTemporary(const SiblingTemporary&) = delete;
  SiblingTemporary& operator=(const SiblingTemporary&) = delete;
  ~SiblingTemporary() {
    handle.reset();
    if (!path.empty() && !committed) ::DeleteFileW(path.c_str());
  }

  std::wstring path;
  UniqueHandle handle;
  bool committed = false;
};

// Creates a new, uniquely named file beside `target` (never opening an existing one, so two
// writers cannot share a temporary). Returns the error when none could be created.
DWORD CreateSiblingTemporary(const std::wstring& target, DWORD attributes, SiblingTemporary& temp) {
  static std::atomic<unsigned> counter{0};
  std::wstring folder = FolderOf(target);
  if (!folder.empty()) folder += L'\\';
  const std::wstring stem = folder + L"~Keyvane" + std::to_wstring(::GetCurrentProcessId()) + L"-";
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring name = stem + std::to_wstring(counter.fetch_add(1)) + L".tmp";
    HANDLE created =
        ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (created != INVALID_HANDLE_VALUE) {
      temp.path = std::move(name);
      temp.handle.reset(created);
      return ERROR_SUCCESS;
    }
    error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
  }
  return error;
}

// A short write is not yet a failure: the next write of the rest says why it stopped (on a
// full disk, ERROR_DISK_FULL), which is the reason the user needs to read.
bool WriteEverything(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() < kIoChunk ? static_cast<DWORD>(bytes.size()) : kIoChunk;
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// One rename: readers see the old file or the new one, never a part of either. A virus
// scanner or indexer that briefly opens the target makes the rename fail; it is tried again
// for a moment before giving up.
DWORD MoveOver(const std::wstring& from, const std::wstring& to) {
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
    if (attempt > 0) ::Sleep(kMoveRetryMs);
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return ERROR_SUCCESS;
    }
    error = ::GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
        error != ERROR_LOCK_VIOLATION) {
      break;
    }
  }
  return error;
}

}  // namespace

std::wstring FolderOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::optional<std::string> Win32Files::ReadAll(const std::string& path) {
  // Shared every way, so a file another program (or another Keyvane) has open still reads.
  UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    FailRead(path, error);
  }
  std::string bytes;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30)) {
    bytes.reserve(static_cast<size_t>(size.QuadPart));
  }
  // Read to the end rather than trusting the size: the file may grow while it is read.
  std::string chunk(64 * 1024, '\0');
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      FailRead(path, ::GetLastError());
    }
    if (got == 0) break;
    bytes.append(chunk.data(), got);
  }
  return bytes;
}

void Win32Files::ReplaceAtomically(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path);
  const DWORD oldAttributes = ::GetFileAttributesW(target.c_str());
  if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
    if (oldAttributes & FILE_ATTRIBUTE_DIRECTORY) FailWrite(path, "It is a folder.");
    if (oldAttributes & FILE_ATTRIBUTE_READONLY) FailWrite(path, "The file is read-only.");
  }

  // Created with the old file's attributes, so the rename below carries them over.
  SiblingTemporary temp;
  const DWORD createError = CreateSiblingTemporary(target, AttributesToKeep(oldAttributes), temp);
  // No new file may be made beside it: the folder itself is closed to writing.
  if (createError == ERROR_ACCESS_DENIED || createError == ERROR_WRITE_PROTECT) {
    const size_t slash = path.find_last_of("\\/");
    throw FolderNotWritable("Cannot save \"" + path + "\": " + SystemErrorText(createError),
                            slash == std::string::npos ? std::string() : path.substr(0, slash));
  }
  if (createError != ERROR_SUCCESS) FailWrite(path, createError);
  if (!WriteEverything(temp.handle.get(), bytes) || !::FlushFileBuffers(temp.handle.get())) {
    const DWORD error = ::GetLastError();
    FailWrite(path, error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_WRITE_FAULT));
  }
  if (!::CloseHandle(temp.handle.release())) FailWrite(path, ::GetLastError());

  const DWORD moveError = MoveOver(temp.path, target);
  if (moveError != ERROR_SUCCESS) FailWrite(path, moveError);
  temp.committed = true;
}

bool Win32Files::Exists(const std::string& path) {
  return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Files::Delete(const std::string& path) { return ::DeleteFileW(Widen(path).c_str()) != 0; }

std::vector<std::string> Win32Files::List(const std::string& folder, const std::string& pattern) {
  std::wstring prefix = Widen(folder);
  if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
  const std::wstring widePattern = Widen(pattern);
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  UniqueFindHandle search(::FindFirstFileW((prefix + widePattern).c_str(), &found));
  if (!search) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    // The search also matches 8.3 short names ("*.kth" finds "old.kthbak" through
    // "OLDKTH~1.KTH"); a file with a short name must match by its real name too.
    if (found.cAlternateFileName[0] != L'\0' &&
        !::PathMatchSpecW(found.cFileName, widePattern.c_str())) {
      continue;
    }
    names.push_back(Narrow(UpToNul({found.cFileName, MAX_PATH})));
  } while (::FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace kv::win32

namespace kv::win32 {

unsigned Win32Files::DriveType(const std::string& root) {
  return ::GetDriveTypeW(Widen(root).c_str());
}

// The comparison Windows documents for file names: ordinal, with the system's own upper-case
// table, so it agrees with the file system whatever the user's language.
bool Win32Files::SameFileName(std::string_view a, std::string_view b) {
  const std::wstring wa = Widen(a), wb = Widen(b);
  return ::CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

std::optional<std::string> Win32Files::FindOnSearchPath(const std::string& fileName) {
  const std::wstring name = Widen(fileName);
  std::wstring found(MAX_PATH, L'\0');
  DWORD length = ::SearchPathW(nullptr, name.c_str(), nullptr, static_cast<DWORD>(found.size()),
                               found.data(), nullptr);
  // A path longer than the buffer reports the size it needs, its NUL included.
  if (length >= found.size()) {
    found.assign(length, L'\0');
    length = ::SearchPathW(nullptr, name.c_str(), nullptr, static_cast<DWORD>(found.size()),
                           found.data(), nullptr);
  }
  if (length == 0 || length >= found.size()) return std::nullopt;
  found.resize(length);
  return Narrow(found);
}

}  // namespace kv::win32
