#include "LineSplitter.h"

template class BasicLineSplitter<LineSink>;
