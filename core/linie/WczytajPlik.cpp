#include "linie/WczytajPlik.h"

#include <memory>

#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"

namespace Typy {

namespace {
constexpr std::size_t kChunk = 1 << 20;
}

std::unique_ptr<platform::InputFile> OtworzPlikZrodlowy(const std::string& path) {
  switch (platform::Inspect(path)) {
    case platform::PathKind::Regular:
      break;
    // The file vanished since it was chosen: telling the user it is clean
    // would be a lie, so say it is gone.
    case platform::PathKind::Missing:
      throw EInOutError(io_codes::kFileNotFound);
    case platform::PathKind::Directory:
    case platform::PathKind::Other:
      throw EInOutError(io_codes::kAccessDenied);
  }
  return std::make_unique<platform::InputFile>(path);
}

void WczytajPlik(TStan& stan) {
  const auto opened = OtworzPlikZrodlowy(stan.NazwaPliku);
  platform::InputFile& file = *opened;

  stan.LinieOrg.clear();
  stan.LinieNew.clear();
  const std::uint64_t hint = file.SizeHint();
  if (hint > 0 && hint < SIZE_MAX / 2) stan.LinieOrg.ReserveBytes(static_cast<std::size_t>(hint));

  auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  TLinieDoStanu linie(stan);
  LineSplitter splitter(linie);
  try {
    for (;;) {
      const std::size_t n = file.Read(chunk.get(), kChunk);
      if (n == 0) {
        splitter.Finish();
        break;
      }
      if (!splitter.Feed(chunk.get(), n)) break;
    }
  } catch (...) {
    splitter.Abandon();
    throw;
  }
  file.Close();
}

}  // namespace Typy
