// The reader and the validator over arbitrary bytes: the input is cut into
// lines whole and in pieces; both ways must give the state the model
// describes.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);

  Typy::TStan whole;
  {
    linie::TLinieDoStanu linie(whole);
    linie::LineSplitter sp(linie);
    if (sp.Feed(in.data(), in.size())) sp.Finish();
  }
  fuzz::CheckState(whole, in);

  // The same input in pieces, into a state reused across inputs as the
  // program reuses its one state: the bytes before a cut that the input
  // chooses (by its first and last bytes) in one piece, an empty piece, and
  // the rest one byte at a time, so that every other place is a piece
  // boundary too. Bytes keep coming after the end-of-text mark and Finish
  // is called even after it; neither may add anything.
  const std::size_t cut = size ? (data[0] | (data[size - 1] << 8)) % (size + 1) : 0;
  static Typy::TStan reused;
  fuzz::ResetState(reused);
  {
    linie::TLinieDoStanu linie(reused);
    linie::LineSplitter sp(linie);
    sp.Feed(in.data(), cut);
    sp.Feed(in.data() + cut, 0);
    for (std::size_t i = cut; i < size; ++i) sp.Feed(in.data() + i, 1);
    sp.Finish();
    sp.Finish();
  }
  fuzz::CheckState(reused, in);
  return 0;
}
