#include "linie/LineSplitter.h"

template class BasicLineSplitter<LineSink>;
