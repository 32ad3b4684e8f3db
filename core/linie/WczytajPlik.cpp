#include "linie/WczytajPlik.h"

#include <memory>

#include "linie/CzytajKawalkami.h"
#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"

namespace linie {

std::unique_ptr<platform::InputFile> OtworzPlikZrodlowy(const std::string& path) {
  switch (platform::Inspect(path)) {
    case platform::PathKind::Regular:
      break;
    // The file vanished since it was chosen: telling the user it is clean
    // would be a lie, so say it is gone.
    case platform::PathKind::Missing:
      throw platform::EInOutError(platform::io_codes::kFileNotFound);
    case platform::PathKind::Directory:
    case platform::PathKind::Other:
      throw platform::EInOutError(platform::io_codes::kAccessDenied);
  }
  return std::make_unique<platform::InputFile>(path);
}

void WczytajPlik(Typy::TStan& stan) {
  const auto opened = OtworzPlikZrodlowy(stan.NazwaPliku);
  platform::InputFile& file = *opened;

  stan.LinieOrg.clear();
  stan.LinieNew.clear();
  stan.LinieZLf.clear();
  const std::uint64_t hint = file.SizeHint();
  if (hint > 0 && hint < SIZE_MAX / 2) stan.LinieOrg.ReserveBytes(static_cast<std::size_t>(hint));

  TLinieDoStanu linie(stan);
  LineSplitter splitter(linie);
  try {
    CzytajKawalkami(file, [&splitter](const char* data, std::size_t n) {
      if (n > 0) return splitter.Feed(data, n);
      splitter.Finish();
      return true;
    });
  } catch (...) {
    // A file that changed under the read fails as a failed read does: the
    // window offers nothing of it.
    splitter.Abandon();
    throw;
  }
}

}  // namespace linie
