// Settings files against the real file API: whole reads, replacement in one step (kept
// attributes, refusals that leave the old file and no temporary behind), listing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/error.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_files.h"
#include "platform/win32/services/win32_system.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

// Each test gets an empty folder of its own under the temporary folder.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = std::wstring(temp) + L"keyvane-files-" + std::to_wstring(::GetCurrentProcessId()) +
              L"-" + std::to_wstring(++counter);
    RemoveTree(folder_);
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(folder_); }

  std::string Folder() const { return Narrow(folder_); }
  std::string Path(const std::string& name) const { return Folder() + "\\" + name; }

  // Everything in the folder, temporaries included.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(::FindFirstFileW((folder_ + L"\\*").c_str(), &found));
    if (!search) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (::FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
  }

  void WriteRaw(const std::string& name, const std::string& bytes) {
    UniqueHandle file(::CreateFileW(Widen(Path(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  }

  DWORD Attributes(const std::string& name) const {
    return ::GetFileAttributesW(Widen(Path(name)).c_str());
  }

  std::wstring folder_;
  Win32Files files_;
};

std::string Binary(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
  return bytes;
}

TEST_F(FilesTest, ReadAllGivesEveryByteAndNothingForMissingFiles) {
  const std::string bytes = Binary(200 * 1024 + 3) + "\r\n\0end";
  WriteRaw("data.bin", bytes);
  EXPECT_EQ(files_.ReadAll(Path("data.bin")), bytes);

  WriteRaw("empty.ini", "");
  EXPECT_EQ(files_.ReadAll(Path("empty.ini")), std::string());

  EXPECT_EQ(files_.ReadAll(Path("missing.ini")), std::nullopt);
  EXPECT_EQ(files_.ReadAll(Path("no folder\\missing.ini")), std::nullopt);
}

TEST_F(FilesTest, ReadAllSharesWithWritersButReportsWhatItCannotRead) {
  WriteRaw("open.ini", "[Keys]\r\n");
  {
    // Another program writing the file (sharing reads) does not stop Keyvane reading it.
    UniqueHandle writer(::CreateFileW(Widen(Path("open.ini")).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(files_.ReadAll(Path("open.ini")), "[Keys]\r\n");
  }
  {
    UniqueHandle exclusive(::CreateFileW(Widen(Path("open.ini")).c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    try {
      files_.ReadAll(Path("open.ini"));
      ADD_FAILURE() << "an exclusively opened file cannot be read";
    } catch (const KeyvaneError& error) {
      EXPECT_NE(std::string(error.what()).find(Path("open.ini")), std::string::npos)
          << error.what();
    }
  }
  ASSERT_TRUE(::CreateDirectoryW(Widen(Path("folder.ini")).c_str(), nullptr));
  EXPECT_THROW(files_.ReadAll(Path("folder.ini")), KeyvaneError);
}

TEST_F(FilesTest, ReplaceCreatesAndReplacesWholeFilesLeavingNoTemporary) {
  const std::string path = Path("Keyvane.ini");
  files_.ReplaceAtomically(path, "[Options]\r\nLong=" + std::string(5000, 'x') + "\r\n");
  files_.ReplaceAtomically(path, "short");
  EXPECT_EQ(files_.ReadAll(path), "short") << "no tail of the longer old content";

  const std::string big = Binary(3 * 1024 * 1024 + 17);
  files_.ReplaceAtomically(path, big);
  EXPECT_EQ(files_.ReadAll(path), big);

  files_.ReplaceAtomically(path, "");
  EXPECT_EQ(files_.ReadAll(path), std::string());
  EXPECT_EQ(Entries(), std::vector<std::string>{"Keyvane.ini"});
}

TEST_F(FilesTest, ReplaceKeepsHiddenAndSystemAttributes) {
  WriteRaw("Keyvane.ini", "old");
  const DWORD wanted = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(::SetFileAttributesW(Widen(Path("Keyvane.ini")).c_str(), wanted));
  if ((Attributes("Keyvane.ini") & wanted) != wanted) {
    GTEST_SKIP() << "this file system does not keep DOS attributes";
  }
  files_.ReplaceAtomically(Path("Keyvane.ini"), "new");
  EXPECT_EQ(files_.ReadAll(Path("Keyvane.ini")), "new");
  EXPECT_EQ(Attributes("Keyvane.ini") & (wanted | FILE_ATTRIBUTE_READONLY), wanted);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Keyvane.ini"});
}

TEST_F(FilesTest, ReplaceRefusesReadOnlyFileAndLeavesItAsItWas) {
  WriteRaw("Keyvane.ini", "kept");
  ASSERT_TRUE(::SetFileAttributesW(Widen(Path("Keyvane.ini")).c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    files_.ReplaceAtomically(Path("Keyvane.ini"), "lost?");
    ADD_FAILURE() << "a read-only file must not be replaced";
  } catch (const KeyvaneError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(Path("Keyvane.ini")), std::string::npos) << message;
    EXPECT_NE(message.find("read-only"), std::string::npos) << message;
  }
  EXPECT_EQ(files_.ReadAll(Path("Keyvane.ini")), "kept");
  EXPECT_TRUE(Attributes("Keyvane.ini") & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Keyvane.ini"});
}

TEST_F(FilesTest, ReplaceOfFileHeldOpenFailsCleanlyOrReplacesWhole) {
  WriteRaw("Keyvane.ini", "old content");
  UniqueHandle holder(::CreateFileW(Widen(Path("Keyvane.ini")).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  ASSERT_TRUE(holder);
  bool replaced = true;
  try {
    files_.ReplaceAtomically(Path("Keyvane.ini"), "new content");
  } catch (const KeyvaneError& error) {
    replaced = false;
    EXPECT_NE(std::string(error.what()).find(Path("Keyvane.ini")), std::string::npos);
  }
  // The holder still reads what it opened, whole.
  char buffer[64] = {};
  DWORD got = 0;
  ASSERT_TRUE(::ReadFile(holder.get(), buffer, sizeof(buffer), &got, nullptr));
  EXPECT_EQ(std::string(buffer, got), "old content");
  holder.reset();

  EXPECT_EQ(files_.ReadAll(Path("Keyvane.ini")), replaced ? "new content" : "old content");
  EXPECT_EQ(Entries(), std::vector<std::string>{"Keyvane.ini"});
}

// A file another program keeps open for reading only (a virus scanner, a sync tool) cannot be
// replaced: the user is told once which file and why, in the system's words.
TEST_F(FilesTest, AFailedSaveNamesTheFileOnceWithTheSystemsReason) {
  WriteRaw("Keyvane.ini", "old content");
  const std::string path = Path("Keyvane.ini");
  UniqueHandle holder(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  try {
    files_.ReplaceAtomically(path, "new content");
    ADD_FAILURE() << "a file open without write sharing was replaced";
  } catch (const KeyvaneError& error) {
    const std::string message = error.what();
    const bool denied = message == "Cannot save \"" + path + "\": " + SystemErrorText(ERROR_ACCESS_DENIED);
    const bool shared = message == "Cannot save \"" + path + "\": " + SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(denied || shared) << message;
  }
  holder.reset();
  EXPECT_EQ(files_.ReadAll(path), "old content");
  EXPECT_EQ(Entries(), std::vector<std::string>{"Keyvane.ini"});
}

// A full disk, where the test run provides one (a small file system, as a Windows folder path
// in KEYVANE_FULL_DISK_FOLDER).
TEST_F(FilesTest, ASaveOnAFullDiskSaysSoOnceAndKeepsTheOldFile) {
  wchar_t folder[MAX_PATH] = L"";
  if (::GetEnvironmentVariableW(L"KEYVANE_FULL_DISK_FOLDER", folder, MAX_PATH) == 0)
    GTEST_SKIP() << "no small file system to fill (KEYVANE_FULL_DISK_FOLDER)";
  const std::string path = Narrow(folder) + "\\Keyvane.ini";
  files_.ReplaceAtomically(path, "old content");
  try {
    files_.ReplaceAtomically(path, Binary(8 * 1024 * 1024));
    ADD_FAILURE() << "8 MB fitted on the small file system";
  } catch (const KeyvaneError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot save \"" + path + "\": " + SystemErrorText(ERROR_DISK_FULL));
  }
  EXPECT_EQ(files_.ReadAll(path), "old content");
  EXPECT_TRUE(files_.Delete(path));
  WIN32_FIND_DATAW found{};
  UniqueFindHandle left(::FindFirstFileW((std::wstring(folder) + L"\\*.tmp").c_str(), &found));
  EXPECT_FALSE(left) << "a temporary was left behind";
}

// Theme names are file names: the system's comparison ignores letter case for every letter.
TEST_F(FilesTest, FileNamesCompareAsTheFileSystemDoes) {
  for (const auto& [a, b] : {std::pair{"\xC3\x9C" "ber", "\xC3\xBC" "ber"},       // Über, über
                             {"\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86"},  // ΣΟΦ, σοφ
                             {"\xD0\x94\xD0\x9E\xD0\x9C", "\xD0\xB4\xD0\xBE\xD0\xBC"},  // ДОМ, дом
                             {"Quick Start", "QUICK START"}}) {
    EXPECT_TRUE(files_.SameFileName(a, b)) << a << " / " << b;
    WriteRaw(std::string(a) + ".kth", "x");
    EXPECT_TRUE(files_.Exists(Path(std::string(b) + ".kth"))) << "the file system agrees: " << b;
  }
  EXPECT_FALSE(files_.SameFileName("Uber", "\xC3\x9C" "ber"));
  EXPECT_FALSE(files_.SameFileName("Games", "Game"));
}

TEST_F(FilesTest, ReplaceReportsMissingFolderAndFolderTarget) {
  const std::string inMissing = Path("gone\\Keyvane.ini");
  try {
    files_.ReplaceAtomically(inMissing, "x");
    ADD_FAILURE() << "nothing can be written in a missing folder";
  } catch (const KeyvaneError& error) {
    EXPECT_NE(std::string(error.what()).find(inMissing), std::string::npos) << error.what();
  }
  EXPECT_FALSE(files_.Exists(Path("gone")));

  ASSERT_TRUE(::CreateDirectoryW(Widen(Path("Themes.kth")).c_str(), nullptr));
  EXPECT_THROW(files_.ReplaceAtomically(Path("Themes.kth"), "x"), KeyvaneError);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Themes.kth"});
}

TEST_F(FilesTest, ReadersNeverSeeAPartialFile) {
  const std::string path = Path("Keyvane.ini");
  const std::string a(96 * 1024, 'a');
  const std::string b(32 * 1024, 'b');
  files_.ReplaceAtomically(path, a);

  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (!done) {
      try {
        const std::optional<std::string> seen = files_.ReadAll(path);
        if (!seen || (*seen != a && *seen != b)) ++torn;
        ++reads;
      } catch (const KeyvaneError&) {
        // A read may lose a race with the rename on some systems; it never sees half a file.
      }
      ::Sleep(1);  // leave the writer moments when nobody has the file open
    }
  });
  int failedWrites = 0;
  for (int i = 0; i < 30; ++i) {
    try {
      files_.ReplaceAtomically(path, i % 2 == 0 ? b : a);
    } catch (const KeyvaneError&) {
      ++failedWrites;  // a reader had the file open at the moment of the rename
    }
  }
  done = true;
  reader.join();

  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_LT(failedWrites, 30);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Keyvane.ini"});
}

TEST_F(FilesTest, ExistsAndDeleteWithUnicodeNames) {
  const std::string name = "Th\xC3\xA8me \xE4\xB8\xAD.kth";  // "Thème 中.kth"
  EXPECT_FALSE(files_.Exists(Path(name)));
  files_.ReplaceAtomically(Path(name), "[Theme]");
  EXPECT_TRUE(files_.Exists(Path(name)));
  EXPECT_EQ(files_.ReadAll(Path(name)), "[Theme]");
  EXPECT_EQ(Entries(), std::vector<std::string>{name});

  EXPECT_TRUE(files_.Delete(Path(name)));
  EXPECT_FALSE(files_.Exists(Path(name)));
  EXPECT_FALSE(files_.Delete(Path(name)));
}

TEST_F(FilesTest, ListGivesMatchingFileNamesOnly) {
  for (const char* name :
       {"Blue.kth", "green.KTH", "notes.txt", "Blue.kth.bak", "old.kthbak", "Caf\xC3\xA9.kth"}) {
    WriteRaw(name, "x");
  }
  ASSERT_TRUE(::CreateDirectoryW(Widen(Path("folder.kth")).c_str(), nullptr));
  ASSERT_TRUE(::SetFileAttributesW(Widen(Path("green.KTH")).c_str(), FILE_ATTRIBUTE_HIDDEN));

  std::vector<std::string> listed = files_.List(Folder(), "*.kth");
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"Blue.kth", "Caf\xC3\xA9.kth", "green.KTH"}));

  std::vector<std::string> withSeparator = files_.List(Folder() + "\\", "*.kth");
  std::sort(withSeparator.begin(), withSeparator.end());
  EXPECT_EQ(withSeparator, listed);

  EXPECT_EQ(files_.List(Folder(), "*.none"), std::vector<std::string>{});
  EXPECT_EQ(files_.List(Path("missing"), "*.kth"), std::vector<std::string>{});
}

}  // namespace
}  // namespace kv::win32
