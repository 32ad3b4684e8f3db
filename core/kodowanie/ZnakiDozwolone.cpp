#include "kodowanie/ZnakiDozwolone.h"

namespace kodowanie::detail {
// Constant-initialised: the default is in use before any constructor runs.
constinit const TRegulaZnakow* regula = &kRegulaDomyslna;
}  // namespace kodowanie::detail
