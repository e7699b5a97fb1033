#pragma once
#include "core/Progress.h"

namespace qb {

// Advances the bar by `stepSize` while it is below 100, never beyond 100.
// The bar's maximum takes no part in this.
void progressStep(Progress& bar, int stepSize);

} // namespace qb
