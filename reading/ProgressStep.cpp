#include "reading/ProgressStep.h"

namespace qb {

void progressStep(Progress& bar, int stepSize)
{
    if (bar.position() < 100)
        bar.setPosition(bar.position() + stepSize);
    if (bar.position() >= 100)
        bar.setPosition(100);
}

} // namespace qb
