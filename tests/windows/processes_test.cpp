// Starting other programs against the real API: the wait that keeps the main thread's
// messages flowing (and costs no processor time), the quit message met during that wait,
// the associated program of a document, ShellExecute and the start that does not wait.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_processes.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

std::string HelperCommand(const std::wstring& arguments) {
  return Narrow(L"\"" + OwnFolder() + L"\\keyvane_testhelper.exe\" " + arguments);
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Processor time (user + kernel) this process has used so far, in milliseconds.
double CpuMilliseconds() {
  FILETIME creation{}, exit{}, kernel{}, user{};
  if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user)) return -1;
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// Drops whatever earlier tests left in this thread's queue (a stray quit message included).
void DrainQueue() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

// A message-only window that stands for Keyvane's main window: it counts what reaches it
// and when.
constexpr UINT kPing = WM_APP + 5;
constexpr UINT_PTR kTimerId = 77;

struct Recorder {
  std::vector<ULONGLONG> pings;
  std::vector<ULONGLONG> ticks;
  int sent = 0;
};

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* recorder = reinterpret_cast<Recorder*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (recorder != nullptr) {
    if (message == kPing) {
      recorder->pings.push_back(::GetTickCount64());
      return 0;
    }
    if (message == WM_TIMER && wParam == kTimerId) {
      recorder->ticks.push_back(::GetTickCount64());
      return 0;
    }
    if (message == WM_APP + 6) {
      ++recorder->sent;
      return 1234;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateRecordingWindow(Recorder* recorder) {
  static const ATOM windowClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KeyvaneProcessTestWindow";
    return ::RegisterClassW(&wc);
  }();
  if (windowClass == 0) return nullptr;
  HWND window = ::CreateWindowExW(0, L"KeyvaneProcessTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window != nullptr) ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(recorder));
  return window;
}

// A thread timer's action: the application is asked to quit with exit code 7.
void CALLBACK QuitSoon(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  ::PostQuitMessage(7);
}

class ProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DrainQueue();
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = std::wstring(temp) + L"keyvane-processes-" + std::to_wstring(::GetCurrentProcessId()) +
              L"-" + std::to_wstring(++counter);
    RemoveTree(folder_);
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override {
    DrainQueue();
    RemoveTree(folder_);
  }

  // Starts the helper with these arguments, waits for it serving messages, and returns
  // the milliseconds the wait took.
  ULONGLONG StartAndWait(const std::wstring& arguments) {
    const uintptr_t process = processes_.StartProcess(HelperCommand(arguments), SW_SHOW);
    EXPECT_NE(process, 0u) << "the helper did not start";
    if (process == 0) return 0;
    const ULONGLONG start = ::GetTickCount64();
    processes_.WaitServingMessages(process);
    const ULONGLONG took = ::GetTickCount64() - start;
    processes_.CloseProcess(process);
    return took;
  }

  std::wstring folder_;
  Win32Processes processes_{[] { return static_cast<HWND>(nullptr); }};
};

TEST_F(ProcessesTest, WaitReturnsOnlyAfterTheProgramHasEnded) {
  const std::wstring marker = folder_ + L"\\ended.txt";
  const ULONGLONG took = StartAndWait(L"sleep 1000 \"" + marker + L"\"");
  EXPECT_GE(took, 900u);
  EXPECT_TRUE(Exists(marker)) << "the wait ended before the program had finished";

  // A program that ends at once is waited for too.
  const uintptr_t process = processes_.StartProcess("cmd /c exit 0", SW_SHOW);
  ASSERT_NE(process, 0u);
  const ULONGLONG start = ::GetTickCount64();
  processes_.WaitServingMessages(process);
  EXPECT_LT(::GetTickCount64() - start, 5000u);
  processes_.CloseProcess(process);
}

// The exit code STILL_ACTIVE (259) is an ordinary code for the program that returns it; the
// wait must not mistake it for "still running".
TEST_F(ProcessesTest, WaitEndsForAProgramWhoseExitCodeLooksLikeStillActive) {
  const uintptr_t process = processes_.StartProcess(HelperCommand(L"exit 259"), SW_SHOW);
  ASSERT_NE(process, 0u);
  DWORD waiterId = 0;
  HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread waiter([&] {
    waiterId = ::GetCurrentThreadId();
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
    ::SetEvent(ready);
    processes_.WaitServingMessages(process);
  });
  ::WaitForSingleObject(ready, INFINITE);
  ::CloseHandle(ready);
  // The waiter serves its own thread's messages; a quit message is the way to free it.
  UniqueHandle thread(::OpenThread(SYNCHRONIZE, FALSE, waiterId));
  const DWORD waited = ::WaitForSingleObject(thread.get(), 5000);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the wait did not end after the program exited with 259";
  if (waited != WAIT_OBJECT_0) ::PostThreadMessageW(waiterId, WM_QUIT, 0, 0);
  waiter.join();
  processes_.CloseProcess(process);
}

TEST_F(ProcessesTest, WaitServesPostedSentAndTimerMessages) {
  Recorder recorder;
  HWND window = CreateRecordingWindow(&recorder);
  ASSERT_NE(window, nullptr);
  const DWORD waitingThread = ::GetCurrentThreadId();
  ASSERT_TRUE(::PostMessageW(window, kPing, 0, 0));  // already waiting before the wait begins
  ASSERT_NE(::SetTimer(window, kTimerId, 100, nullptr), 0u);

  // Another thread posts to the window and sends to it while the program runs.
  ULONGLONG sendTook = 0;
  DWORD_PTR sendResult = 0;
  LRESULT sendOk = 0;
  std::thread other([&] {
    ::Sleep(300);
    ::PostMessageW(window, kPing, 0, 0);
    ::PostThreadMessageW(waitingThread, WM_NULL, 0, 0);
    const ULONGLONG start = ::GetTickCount64();
    sendOk = ::SendMessageTimeoutW(window, WM_APP + 6, 0, 0, SMTO_NORMAL, 3000, &sendResult);
    sendTook = ::GetTickCount64() - start;
  });

  const std::wstring marker = folder_ + L"\\ended.txt";
  const ULONGLONG start = ::GetTickCount64();
  const ULONGLONG took = StartAndWait(L"sleep 1500 \"" + marker + L"\"");
  const ULONGLONG end = start + took;
  other.join();
  ::KillTimer(window, kTimerId);

  EXPECT_GE(took, 1400u);
  EXPECT_TRUE(Exists(marker));
  ASSERT_EQ(recorder.pings.size(), 2u) << "posted messages were not dispatched during the wait";
  EXPECT_LT(recorder.pings[1] + 500, end) << "dispatched late, not while the program ran";
  EXPECT_GE(recorder.ticks.size(), 5u) << "a 100 ms timer during a 1.5 s wait";
  if (!recorder.ticks.empty()) {
    EXPECT_LT(recorder.ticks.front() + 500, end);
  }
  EXPECT_NE(sendOk, 0) << "a message sent during the wait was not answered";
  EXPECT_EQ(sendResult, 1234u);
  EXPECT_EQ(recorder.sent, 1);
  EXPECT_LT(sendTook, 1000u) << "a sent message had to wait for the program to end";
  ::DestroyWindow(window);
}

TEST_F(ProcessesTest, QuitMessageEndsTheWaitAndIsPutBack) {
  // Met while the program runs: a timer asks the application to quit after 200 ms.
  const std::wstring marker = folder_ + L"\\ended.txt";
  const uintptr_t process = processes_.StartProcess(HelperCommand(L"sleep 1500 \"" + marker + L"\""), SW_SHOW);
  ASSERT_NE(process, 0u);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, QuitSoon);
  ASSERT_NE(timer, 0u);
  ULONGLONG start = ::GetTickCount64();
  processes_.WaitServingMessages(process);
  EXPECT_LT(::GetTickCount64() - start, 1000u) << "the quit message did not end the wait";
  EXPECT_FALSE(Exists(marker));
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) << "the quit message was lost";
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);

  // Posted from outside as a plain message while waiting.
  const DWORD waitingThread = ::GetCurrentThreadId();
  std::thread other([&] {
    ::Sleep(200);
    ::PostThreadMessageW(waitingThread, WM_QUIT, 9, 0);
  });
  start = ::GetTickCount64();
  processes_.WaitServingMessages(process);
  other.join();
  EXPECT_LT(::GetTickCount64() - start, 1000u);
  message = {};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 9u);

  // Already pending when the wait begins: the wait ends at once and the quit stays.
  ::PostQuitMessage(11);
  start = ::GetTickCount64();
  processes_.WaitServingMessages(process);
  EXPECT_LT(::GetTickCount64() - start, 500u);
  message = {};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 11u);

  // With the queue empty again, the wait goes on until the program ends.
  processes_.WaitServingMessages(process);
  EXPECT_TRUE(Exists(marker));
  processes_.CloseProcess(process);
}

TEST_F(ProcessesTest, WaitUsesNoProcessorTime) {
  // First make sure the clock counts: 300 ms of spinning must show.
  const double spinStart = CpuMilliseconds();
  const ULONGLONG spinEnd = ::GetTickCount64() + 300;
  volatile unsigned long long sink = 0;
  while (::GetTickCount64() < spinEnd) sink = sink + 1;
  const double spun = CpuMilliseconds() - spinStart;
  if (spun < 100.0) GTEST_SKIP() << "processor time is not measurable here (" << spun << " ms for 300 ms)";

  Recorder recorder;
  HWND window = CreateRecordingWindow(&recorder);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(::SetTimer(window, kTimerId, 100, nullptr), 0u);  // some traffic, as in the program
  const double before = CpuMilliseconds();
  const ULONGLONG took = StartAndWait(L"sleep 2000");
  const double used = CpuMilliseconds() - before;
  ::KillTimer(window, kTimerId);
  ::DestroyWindow(window);
  std::printf("[ measure  ] processor time during a %llu ms wait: %.1f ms\n", took, used);
  EXPECT_GE(took, 1900u);
  EXPECT_GE(used, 0.0);
  EXPECT_LT(used, 200.0) << "the wait keeps the processor busy";
}

TEST_F(ProcessesTest, StartingAMissingProgramGivesZero) {
  EXPECT_EQ(processes_.StartProcess("keyvane-no-such-program-4711.exe", SW_SHOW), 0u);
  EXPECT_EQ(processes_.StartProcess(Narrow(folder_) + "\\missing.exe /x", SW_SHOW), 0u);
  EXPECT_EQ(processes_.StartProcess("", SW_SHOW), 0u);
}

TEST_F(ProcessesTest, AssociatedProgramOfATextFileIsNamedInAFullBuffer) {
  WriteBytes(folder_ + L"\\notes.txt", "Keyvane\r\n");
  for (const bool withFolder : {true, false}) {
    SCOPED_TRACE(withFolder ? "name and folder" : "full path, no folder");
    const platform::FoundExecutable found =
        withFolder ? processes_.FindAssociated("notes.txt", Narrow(folder_))
                   : processes_.FindAssociated(Narrow(folder_) + "\\notes.txt", "");
    EXPECT_GT(found.result, 32);
    ASSERT_EQ(found.buffer.size(), 261u) << "the whole buffer, NULs included";
    const std::string program = found.buffer.substr(0, found.buffer.find('\0'));
    EXPECT_NE(Lower(program).find("notepad"), std::string::npos) << program;
    // Everything after the name is the cleared rest of the buffer.
    EXPECT_EQ(found.buffer.find_first_not_of('\0', program.size()), std::string::npos);
  }
}

TEST_F(ProcessesTest, AssociatedProgramOfAMissingFileIsAnError) {
  const platform::FoundExecutable found = processes_.FindAssociated("missing.txt", Narrow(folder_));
  EXPECT_LE(found.result, 32);
  EXPECT_EQ(found.buffer.size(), 261u);
  const platform::FoundExecutable nowhere =
      processes_.FindAssociated(Narrow(folder_) + "\\no-folder\\missing.txt", "");
  EXPECT_LE(nowhere.result, 32);
}

// A program is its own associated program; its name comes back as written, also beyond
// the 16-bit characters.
TEST_F(ProcessesTest, AssociatedProgramKeepsCharactersOutsideTheBasicPlane) {
  const std::wstring folder = folder_ + L"\\Tools \u00C5 \U0001F511";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring program = folder + L"\\helper.exe";
  ASSERT_TRUE(::CopyFileW((OwnFolder() + L"\\keyvane_testhelper.exe").c_str(), program.c_str(), TRUE));
  const platform::FoundExecutable found = processes_.FindAssociated("helper.exe", Narrow(folder));
  ASSERT_GT(found.result, 32);
  const std::string name = found.buffer.substr(0, found.buffer.find('\0'));
  EXPECT_NE(name.find(Narrow(L"\U0001F511")), std::string::npos) << name;
  EXPECT_EQ(name.find("\xEF\xBF\xBD"), std::string::npos) << "replacement characters in " << name;
  EXPECT_EQ(found.buffer.find_first_not_of('\0', name.size()), std::string::npos);
}

TEST_F(ProcessesTest, ShellExecuteOfAMissingFileFails) {
  EXPECT_LE(processes_.ShellExec("open", Narrow(folder_) + "\\missing.txt", "", "", SW_SHOW, false), 32);
  EXPECT_LE(processes_.ShellExec("open", "missing.txt", "", Narrow(folder_), SW_SHOW, true), 32);
}

TEST_F(ProcessesTest, WinExecStartsTheProgramWithoutWaitingForIt) {
  const std::wstring marker = folder_ + L"\\started.txt";
  const ULONGLONG start = ::GetTickCount64();
  const unsigned result = processes_.WinExec(HelperCommand(L"sleep 1200 \"" + marker + L"\""), SW_SHOW);
  const ULONGLONG took = ::GetTickCount64() - start;
  EXPECT_GT(result, 31u);
  EXPECT_LT(took, 1000u) << "WinExec waited for the program";
  EXPECT_FALSE(Exists(marker));
  const ULONGLONG deadline = ::GetTickCount64() + 10000;
  while (!Exists(marker) && ::GetTickCount64() < deadline) ::Sleep(50);
  EXPECT_TRUE(Exists(marker)) << "the program did not run";
  ::Sleep(100);  // lets the helper close the file before the folder goes

  EXPECT_LE(processes_.WinExec("keyvane-no-such-program-4711.exe", SW_SHOW), 31u);
}

}  // namespace
}  // namespace kv::win32
