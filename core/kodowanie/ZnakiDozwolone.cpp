#include "kodowanie/ZnakiDozwolone.h"

namespace Typy::detail {
// Constant-initialised: the default is in use before any constructor runs.
constinit const TRegulaZnakow* regula = &kRegulaDomyslna;
}  // namespace Typy::detail
