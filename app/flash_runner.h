#pragma once

// The window side of the flash driver: hands the mixture to the flash case, runs the flash of
// the chosen type and brings the results back into the mixture.

#include "app/main_state.h"

#include <QString>

namespace quorvane {

struct FlashRunOutcome {
    bool ran = false;       // a flash was attempted
    bool completed = false; // it completed (the recalculation flag may be cleared)
    QString message;        // for the user: why nothing ran, why it failed, or a warning
};

// Copies components, feed, critical data, vapour-pressure sets and kij into the flash case.
void LoadFlashCase(MainState& state);
void LoadFlashCase(const MixtureComponents& mixture, FlashCase& flash);

// Runs the flash when there are components, the flag is set and an equation of state is
// chosen. Never throws; a failure leaves the flag set and is described in the outcome.
FlashRunOutcome RunMixtureFlash(MainState& state);

} // namespace quorvane
