#pragma once

// Newton's method kept inside a bracket: every step that would leave the bracket is replaced by
// bisection, and the bracket shrinks with each evaluation.

#include <cmath>

namespace dadez {

struct NewtonPoint {
    double value; // f(x)
    double slope; // f'(x)
};

// Root of f in [low, high], where f < 0 at low and > 0 at high when `rising`, the reverse
// otherwise, starting from x. Converged when the Newton step is below `tolerance` relative to x.
// Returns -1 when it does not converge.
template <class F>
double SolveBracketed(F&& f, double x, double low, double high, bool rising, double tolerance) {
    for (int step = 0; step < 200; ++step) {
        const NewtonPoint p = f(x);
        if (p.value == 0.0) {
            return x;
        }
        if ((p.value > 0.0) == rising) {
            high = x;
        } else {
            low = x;
        }
        const double newtonStep = p.value / p.slope;
        double next = x - newtonStep;
        if (std::fabs(newtonStep) <= tolerance * std::fabs(x)) {
            return next;
        }
        if (!(next > low && next < high)) {
            next = 0.5 * (low + high);
        }
        if (high - low <= tolerance * std::fabs(x)) {
            return next;
        }
        x = next;
    }
    return -1.0;
}

} // namespace dadez
