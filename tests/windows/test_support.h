// What many of the Windows tests need: this test program's own path, the helper program
// beside it, scratch folders and files.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

inline std::wstring OwnPath() {
  wchar_t path[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return path;
}

inline std::wstring OwnFolder() {
  const std::wstring path = OwnPath();
  return path.substr(0, path.find_last_of(L'\\'));
}

// Runs the helper exe beside this one and returns its exit code (-1 when it did not run).
inline int RunHelper(const std::wstring& arguments) {
  const std::wstring exe = OwnFolder() + L"\\keyvane_testhelper.exe";
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start the helper, error " << ::GetLastError();
    return -1;
  }
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
  if (::WaitForSingleObject(processHandle.get(), 20000) != WAIT_OBJECT_0) {
    ::TerminateProcess(processHandle.get(), 99);
    ADD_FAILURE() << "the helper did not finish";
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(processHandle.get(), &code);
  return static_cast<int>(code);
}

// Deletes a folder with everything in it, read-only files included.
inline void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (search) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(search.get(), &found));
  }
  search.reset();
  ::RemoveDirectoryW(folder.c_str());
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "cannot create " << Narrow(path);
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

}  // namespace kv::win32
