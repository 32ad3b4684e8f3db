#pragma once
// A folder of its own for one test, under the system's temporary folder
// ($TMPDIR, else /tmp; on Windows GetTempPath's), removed with everything in it when the test ends.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace test_support {

class TempDir {
 public:
#ifdef _WIN32
  static constexpr char kSeparator = '\\';
#else
  static constexpr char kSeparator = '/';
#endif

  TempDir() {
#ifdef _WIN32
    // The system's temporary folder, which under wine lies in the prefix,
    // spelled with backslashes as the system spells the paths it returns.
    const auto base = std::filesystem::temp_directory_path();
    for (unsigned n = std::random_device{}();; ++n) {
      const auto dir = base / ("weryfikacja-" + std::to_string(n));
      if (!std::filesystem::create_directory(dir)) continue;
      const std::u8string utf8 = dir.u8string();
      path_.assign(utf8.begin(), utf8.end());
      break;
    }
#else
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/weryfikacja-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const {
    return path_;
  }
  std::string File(const std::string& name) const {
    return path_ + kSeparator + name;
  }
  std::string operator/(const std::string& name) const {
    return File(name);
  }

  // Writes a file of the folder; returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    return WriteTo(File(name), bytes);
  }
  static std::string WriteTo(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
  }

 private:
  std::string path_;
};

}  // namespace test_support
