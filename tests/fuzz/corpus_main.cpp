// Runs a fuzz target over files and folders of inputs without libFuzzer, so
// the seed corpus is an ordinary test with any compiler. A failed check
// aborts, which the test runner reports with the input being run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  if (!f) {
    std::fprintf(stderr, "cannot read %s\n", p.c_str());
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::fprintf(stderr, "running %s (%zu bytes)\n", p.c_str(), bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
    return 2;
  }
  int failures = 0;
  std::size_t runs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (!std::filesystem::is_directory(arg)) {
      failures += RunFile(arg);
      ++runs;
      continue;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(arg))
      if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
      failures += RunFile(f);
      ++runs;
    }
  }
  // Fewer inputs than expected would pass for no reason: an empty corpus
  // is a failure.
  if (runs == 0) {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  std::fprintf(stderr, "%zu inputs, all checks passed\n", runs);
  return failures ? 1 : 0;
}
