#include "dadez/isotherm.h"

#include "dadez/coefficients.h"
#include "dadez/jet.h"

namespace dadez {

using namespace ifc67;

Isotherm Isotherm::Subregion3(double theta) {
    Isotherm iso;
    const double t = theta - 1.0;
    const double t2 = t * t;
    const double t3 = t2 * t;
    iso.m_linear = kC0[1] + t * kC1[1] + t2 * kC2[1] + t3 * kC3[1];
    iso.m_logarithm = kC0[12] + t * kC1[7] + t2 * kC2[8] + t3 * kC3[10];
    // χ^(1−ν) = χ^(−k) with k = ν − 1.
    for (int nu = 2; nu <= 11; ++nu) {
        double c = kC0[nu];
        if (nu <= 6) {
            c += t * kC1[nu];
        }
        if (nu <= 7) {
            c += t2 * kC2[nu];
        }
        if (nu <= 9) {
            c += t3 * kC3[nu];
        }
        iso.m_inverse[nu - 1] = c;
    }
    iso.m_inverse[5] += t * kC41 * IntPow(theta, -23);
    const double inv = 1.0 / theta;
    double c6 = kC6[4];
    for (int nu = 3; nu >= 0; --nu) {
        c6 = c6 * inv + kC6[nu];
    }
    iso.m_sixth = c6 * inv * inv;
    return iso;
}

Isotherm Isotherm::Subregion4(double theta) {
    Isotherm iso = Subregion3(theta);
    const double y = (1.0 - theta) / (1.0 - kTheta1);
    const double y3 = y * y * y;
    const double y4 = y3 * y;
    for (int nu = 1; nu <= 4; ++nu) {
        iso.m_inverse[nu] += y3 * kD3[nu] + y4 * kD4[nu];
    }
    const double y32 = IntPow(y, 32);
    iso.m_linear += y32 * kD5[1];
    iso.m_square = y32 * kD5[2];
    return iso;
}

Isotherm::Point Isotherm::At(double chi) const {
    const double w = 1.0 / chi;
    // Σ k c_k w^(k+1) and Σ k(k+1) c_k w^(k+2) by Horner's rule in w.
    double first = 0.0;
    double second = 0.0;
    for (int k = 10; k >= 1; --k) {
        first = first * w + k * m_inverse[k];
        second = second * w + k * (k + 1) * m_inverse[k];
    }
    first *= w * w;
    second *= w * w * w;
    const double chi2 = chi * chi;
    const double chi4 = chi2 * chi2;
    const double psiChi =
        m_linear + m_logarithm * w - first + 6.0 * m_sixth * chi4 * chi + 2.0 * m_square * chi;
    const double psiChiChi = -m_logarithm * w * w + second + 30.0 * m_sixth * chi4 + 2.0 * m_square;
    return {-psiChi, -psiChiChi};
}

} // namespace dadez
