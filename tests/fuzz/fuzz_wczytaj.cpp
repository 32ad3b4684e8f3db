// The reader and the validator over arbitrary bytes: the input is cut into
// lines whole, at a split point the input chooses, and one byte at a time;
// every way must give the state the model describes.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "LineSplitter.h"

namespace {

void FeedWhole(Typy::TStan& s, std::string_view in) {
  LineSplitter sp(s);
  if (sp.Feed(in.data(), in.size())) sp.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);

  Typy::TStan whole;
  FeedWhole(whole, in);
  fuzz::CheckState(whole, in);

  // Two pieces, the cut chosen by the input's first and last bytes; an
  // empty piece on either side is allowed, as a read may return one.
  const std::size_t cut = size ? (data[0] | (data[size - 1] << 8)) % (size + 1) : 0;
  Typy::TStan split;
  {
    LineSplitter sp(split);
    if (sp.Feed(in.data(), cut) && sp.Feed(in.data() + cut, 0) &&
        sp.Feed(in.data() + cut, size - cut))
      sp.Finish();
  }
  fuzz::CheckState(split, in);

  // One byte at a time into a state reused across inputs, as the program
  // reuses its one state; bytes keep coming after the end-of-text mark and
  // Finish is called even after it, neither of which may add anything.
  static Typy::TStan reused;
  fuzz::ResetState(reused);
  {
    LineSplitter sp(reused);
    for (std::size_t i = 0; i < size; ++i) sp.Feed(in.data() + i, 1);
    sp.Finish();
    sp.Finish();
  }
  fuzz::CheckState(reused, in);
  return 0;
}
