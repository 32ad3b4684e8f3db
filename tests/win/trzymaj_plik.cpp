// Holds a file open in a second process, the way another program on the
// workstation would, until its standard input closes. Prints "1" once the
// file is open, "0" when it could not be opened.
//   trzymaj_plik pisz|czytaj|wylacznie PATH
#include <windows.h>

#include <shellapi.h>

#include <cwchar>

int main() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv || argc != 3) return 2;
  DWORD access = GENERIC_READ, share = FILE_SHARE_READ;
  if (std::wcscmp(argv[1], L"pisz") == 0) {
    // An editor with the file open for writing, letting others read.
    access = GENERIC_READ | GENERIC_WRITE;
    share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  } else if (std::wcscmp(argv[1], L"wylacznie") == 0) {
    share = 0;
  }
  HANDLE h = ::CreateFileW(argv[2], access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  const char* reply = h == INVALID_HANDLE_VALUE ? "0\n" : "1\n";
  DWORD n = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), reply, 2, &n, nullptr);
  char c;
  while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &c, 1, &n, nullptr) && n > 0) {
  }
  if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  return 0;
}
