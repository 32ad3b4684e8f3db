#pragma once
// Running Windows programs from a test: the checker with its output caught
// in files, and a second process that holds a file open as another program
// on the workstation would.
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_win {

inline std::wstring Wide(const std::string& utf8) {
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

inline std::string Utf8(const std::wstring& w) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
  return s;
}

// The folder of the running test program, where its helpers are built.
inline std::wstring FolderOfThisProgram() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

class THandle {
 public:
  explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~THandle() { Close(); }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE* out() { return &h_; }
  void Close() {
    if (h_ != INVALID_HANDLE_VALUE && h_ != nullptr) ::CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

inline std::wstring CommandLine(const std::wstring& program,
                                const std::vector<std::wstring>& args) {
  std::wstring line = L"\"" + program + L"\"";
  for (const auto& a : args) line += L" \"" + a + L"\"";
  return line;
}

// Starts the program with the given standard handles (inheritable ones) and
// returns the process handle.
inline HANDLE Start(const std::wstring& program, const std::vector<std::wstring>& args,
                    const std::wstring& folder, HANDLE in, HANDLE out, HANDLE err) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  std::wstring line = CommandLine(program, args);
  // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while
  // another process is starting; a second try goes through.
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &si, &pi))
      break;
    const DWORD err = ::GetLastError();
    if (err != ERROR_INTERNAL_ERROR || attempt == 5)
      throw std::runtime_error("CreateProcessW failed: " + std::to_string(err));
    ::Sleep(200);
  }
  ::CloseHandle(pi.hThread);
  return pi.hProcess;
}

inline SECURITY_ATTRIBUTES Inheritable() {
  SECURITY_ATTRIBUTES sa{};
  sa.nLength = sizeof sa;
  sa.bInheritHandle = TRUE;
  return sa;
}

struct TWynik {
  std::string out;
  std::string err;
  int kod = -1;
};

// Reads back a file the child wrote and removes it.
inline std::string Zabierz(const std::wstring& path) {
  std::string bytes;
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) bytes.append(buf, n);
    ::CloseHandle(h);
  }
  ::DeleteFileW(path.c_str());
  return bytes;
}

// Runs the program in a folder and waits for it; its standard output and
// error go to files, so what it writes arrives byte for byte.
inline TWynik Uruchom(const std::wstring& program, const std::vector<std::wstring>& args,
                      const std::wstring& folder) {
  SECURITY_ATTRIBUTES sa = Inheritable();
  const std::wstring outPath = folder + L"\\.stdout", errPath = folder + L"\\.stderr";
  TWynik w;
  {
    THandle out(::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                              0, nullptr));
    THandle err(::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                              0, nullptr));
    THandle process(Start(program, args, folder, nullptr, out.get(), err.get()));
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    w.kod = static_cast<int>(code);
  }
  w.out = Zabierz(outPath);
  w.err = Zabierz(errPath);
  return w;
}

// A second process holding the file open until this object goes away.
// `sposob`: "pisz" (open for writing, others may read and write),
// "czytaj" (reading, others may read), "wylacznie" (reading, nobody else).
class TTrzymany {
 public:
  TTrzymany(const std::string& sposob, const std::string& path) {
    SECURITY_ATTRIBUTES sa = Inheritable();
    THandle childIn, childOut;
    if (!::CreatePipe(childIn.out(), input_.out(), &sa, 0) ||
        !::CreatePipe(output_.out(), childOut.out(), &sa, 0))
      throw std::runtime_error("CreatePipe failed");
    ::SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);
    process_ = std::make_unique<THandle>(Start(FolderOfThisProgram() + L"trzymaj_plik.exe",
                                               {Wide(sposob), Wide(path)}, L"", childIn.get(),
                                               childOut.get(), childOut.get()));
    childIn.Close();
    childOut.Close();
    char reply[2] = {};
    DWORD n = 0;
    ::ReadFile(output_.get(), reply, 2, &n, nullptr);
    if (reply[0] != '1') throw std::runtime_error("the second process could not open " + path);
  }
  ~TTrzymany() {
    input_.Close();  // the child's cue to close the file and end
    ::WaitForSingleObject(process_->get(), 10000);
  }
  TTrzymany(const TTrzymany&) = delete;
  TTrzymany& operator=(const TTrzymany&) = delete;

 private:
  THandle input_, output_;
  std::unique_ptr<THandle> process_;
};

}  // namespace testing_win
