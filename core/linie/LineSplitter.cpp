#include "linie/LineSplitter.h"

namespace linie {

template class BasicLineSplitter<LineSink>;

}  // namespace linie
