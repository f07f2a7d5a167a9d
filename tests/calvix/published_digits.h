#pragma once

// Comparison with published values printed to a fixed number of significant digits.

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <string>

namespace calvix::test {

// Success when `value` rounds to `published` at `digits` significant digits, i.e. lies
// within half a unit of the last printed digit.
inline ::testing::AssertionResult MatchesPublished(double value, double published, int digits = 9) {
    const double exponent = std::floor(std::log10(std::fabs(published)));
    const double halfUnit = 0.5 * std::pow(10.0, exponent - digits + 1) * (1.0 + 1e-9);
    if (std::fabs(value - published) <= halfUnit) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "computed " << value << " against published "
                                         << published << " (half unit " << halfUnit << ")";
}

// Keeps the largest relative deviation seen, for the test's record.
class DeviationLog {
public:
    void Add(double value, double published) {
        m_max = std::max(m_max, std::fabs(value - published) / std::fabs(published));
    }
    double Max() const { return m_max; }
    // The largest deviation as text, for the test's record.
    std::string MaxText() const {
        std::ostringstream text;
        text << std::scientific << std::setprecision(2) << m_max;
        return text.str();
    }

private:
    double m_max = 0.0;
};

} // namespace calvix::test
