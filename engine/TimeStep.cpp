#include "engine/TimeStep.h"

namespace vaultrix {
namespace {

// The time rounded down to the step, also before 1970.
std::int64_t roundedDown(std::int64_t ns, std::int64_t stepNs) {
    const std::int64_t rest = ns % stepNs;
    return rest < 0 ? ns - rest - stepNs : ns - rest;
}

}  // namespace

bool sameTimeWithinStep(std::int64_t kept, std::int64_t given, std::int64_t stepNs) {
    if (stepNs <= 1) return kept == given;
    const std::int64_t down = roundedDown(given, stepNs);
    return kept == down || (down != given && kept == down + stepNs);
}

std::int64_t timeStepFrom(const std::array<std::int64_t, 2>& kept) {
    for (const std::int64_t step : kTimeStepsNs) {
        if (sameTimeWithinStep(kept[0], kProbeTimesNs[0], step) &&
            sameTimeWithinStep(kept[1], kProbeTimesNs[1], step)) {
            return step;
        }
    }
    return 1;
}

}  // namespace vaultrix
