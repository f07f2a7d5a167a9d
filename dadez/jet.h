#pragma once

// Forward-mode derivatives for the fundamental equations. Each fundamental function is written
// once as a template; evaluating it on these types yields its partial derivatives exactly (to
// rounding), so no derivative of a coefficient-heavy expression is derived or typed by hand.
//
// Dual carries first derivatives in two variables (x, y); Jet carries first and second ones.
// Variables are seeded with Dual::Var / Jet::Var; constants convert implicitly.

#include <cmath>

namespace dadez {

struct Dual {
    double v = 0, dx = 0, dy = 0;

    constexpr Dual() = default;
    constexpr Dual(double value) : v(value) {} // NOLINT: constants convert implicitly
    constexpr Dual(double value, double ddx, double ddy) : v(value), dx(ddx), dy(ddy) {}

    static constexpr Dual VarX(double value) { return {value, 1.0, 0.0}; }
    static constexpr Dual VarY(double value) { return {value, 0.0, 1.0}; }

    // Function f applied to this value, given f, f' and f'' at v (f'' unused at first order).
    constexpr Dual Chain(double f0, double f1, double /*f2*/) const {
        return {f0, f1 * dx, f1 * dy};
    }
};

struct Jet {
    double v = 0, dx = 0, dy = 0, dxx = 0, dxy = 0, dyy = 0;

    constexpr Jet() = default;
    constexpr Jet(double value) : v(value) {} // NOLINT: constants convert implicitly
    constexpr Jet(double value, double ddx, double ddy, double ddxx, double ddxy, double ddyy)
        : v(value), dx(ddx), dy(ddy), dxx(ddxx), dxy(ddxy), dyy(ddyy) {}

    static constexpr Jet VarX(double value) { return {value, 1.0, 0.0, 0.0, 0.0, 0.0}; }
    static constexpr Jet VarY(double value) { return {value, 0.0, 1.0, 0.0, 0.0, 0.0}; }

    constexpr Jet Chain(double f0, double f1, double f2) const {
        return {f0,
                f1 * dx,
                f1 * dy,
                f1 * dxx + f2 * dx * dx,
                f1 * dxy + f2 * dx * dy,
                f1 * dyy + f2 * dy * dy};
    }
};

// Second-order derivatives in one variable (x only): the cheaper choice when the second
// variable is held constant.
struct Jet1 {
    double v = 0, dx = 0, dxx = 0;

    constexpr Jet1() = default;
    constexpr Jet1(double value) : v(value) {} // NOLINT: constants convert implicitly
    constexpr Jet1(double value, double ddx, double ddxx) : v(value), dx(ddx), dxx(ddxx) {}

    static constexpr Jet1 VarX(double value) { return {value, 1.0, 0.0}; }

    constexpr Jet1 Chain(double f0, double f1, double f2) const {
        return {f0, f1 * dx, f1 * dxx + f2 * dx * dx};
    }
};

// ---- Dual arithmetic ----
constexpr Dual operator+(const Dual& a, const Dual& b) {
    return {a.v + b.v, a.dx + b.dx, a.dy + b.dy};
}
constexpr Dual operator-(const Dual& a, const Dual& b) {
    return {a.v - b.v, a.dx - b.dx, a.dy - b.dy};
}
constexpr Dual operator-(const Dual& a) {
    return {-a.v, -a.dx, -a.dy};
}
constexpr Dual operator*(const Dual& a, const Dual& b) {
    return {a.v * b.v, a.dx * b.v + a.v * b.dx, a.dy * b.v + a.v * b.dy};
}
constexpr Dual operator*(double k, const Dual& a) {
    return {k * a.v, k * a.dx, k * a.dy};
}
constexpr Dual operator*(const Dual& a, double k) {
    return k * a;
}
constexpr Dual operator/(const Dual& a, const Dual& b) {
    const double q = a.v / b.v;
    return {q, (a.dx - q * b.dx) / b.v, (a.dy - q * b.dy) / b.v};
}
constexpr Dual operator/(const Dual& a, double k) {
    return {a.v / k, a.dx / k, a.dy / k};
}
constexpr Dual operator+(const Dual& a, double k) {
    return {a.v + k, a.dx, a.dy};
}
constexpr Dual operator+(double k, const Dual& a) {
    return a + k;
}
constexpr Dual operator-(const Dual& a, double k) {
    return {a.v - k, a.dx, a.dy};
}
constexpr Dual operator-(double k, const Dual& a) {
    return {k - a.v, -a.dx, -a.dy};
}

// ---- Jet arithmetic ----
constexpr Jet operator+(const Jet& a, const Jet& b) {
    return {a.v + b.v, a.dx + b.dx, a.dy + b.dy, a.dxx + b.dxx, a.dxy + b.dxy, a.dyy + b.dyy};
}
constexpr Jet operator-(const Jet& a, const Jet& b) {
    return {a.v - b.v, a.dx - b.dx, a.dy - b.dy, a.dxx - b.dxx, a.dxy - b.dxy, a.dyy - b.dyy};
}
constexpr Jet operator-(const Jet& a) {
    return {-a.v, -a.dx, -a.dy, -a.dxx, -a.dxy, -a.dyy};
}
constexpr Jet operator*(const Jet& a, const Jet& b) {
    return {a.v * b.v,
            a.dx * b.v + a.v * b.dx,
            a.dy * b.v + a.v * b.dy,
            a.dxx * b.v + 2.0 * a.dx * b.dx + a.v * b.dxx,
            a.dxy * b.v + a.dx * b.dy + a.dy * b.dx + a.v * b.dxy,
            a.dyy * b.v + 2.0 * a.dy * b.dy + a.v * b.dyy};
}
constexpr Jet operator*(double k, const Jet& a) {
    return {k * a.v, k * a.dx, k * a.dy, k * a.dxx, k * a.dxy, k * a.dyy};
}
constexpr Jet operator*(const Jet& a, double k) {
    return k * a;
}
constexpr Jet operator/(const Jet& a, const Jet& b) {
    const double r = 1.0 / b.v;
    return a * b.Chain(r, -r * r, 2.0 * r * r * r);
}
constexpr Jet operator/(const Jet& a, double k) {
    return (1.0 / k) * a;
}
constexpr Jet operator+(const Jet& a, double k) {
    return {a.v + k, a.dx, a.dy, a.dxx, a.dxy, a.dyy};
}
constexpr Jet operator+(double k, const Jet& a) {
    return a + k;
}
constexpr Jet operator-(const Jet& a, double k) {
    return {a.v - k, a.dx, a.dy, a.dxx, a.dxy, a.dyy};
}
constexpr Jet operator-(double k, const Jet& a) {
    return {k - a.v, -a.dx, -a.dy, -a.dxx, -a.dxy, -a.dyy};
}

// ---- Jet1 arithmetic ----
constexpr Jet1 operator+(const Jet1& a, const Jet1& b) {
    return {a.v + b.v, a.dx + b.dx, a.dxx + b.dxx};
}
constexpr Jet1 operator-(const Jet1& a, const Jet1& b) {
    return {a.v - b.v, a.dx - b.dx, a.dxx - b.dxx};
}
constexpr Jet1 operator-(const Jet1& a) {
    return {-a.v, -a.dx, -a.dxx};
}
constexpr Jet1 operator*(const Jet1& a, const Jet1& b) {
    return {a.v * b.v, a.dx * b.v + a.v * b.dx, a.dxx * b.v + 2.0 * a.dx * b.dx + a.v * b.dxx};
}
constexpr Jet1 operator*(double k, const Jet1& a) {
    return {k * a.v, k * a.dx, k * a.dxx};
}
constexpr Jet1 operator*(const Jet1& a, double k) {
    return k * a;
}
constexpr Jet1 operator/(const Jet1& a, const Jet1& b) {
    const double r = 1.0 / b.v;
    return a * b.Chain(r, -r * r, 2.0 * r * r * r);
}
constexpr Jet1 operator/(const Jet1& a, double k) {
    return (1.0 / k) * a;
}
constexpr Jet1 operator+(const Jet1& a, double k) {
    return {a.v + k, a.dx, a.dxx};
}
constexpr Jet1 operator+(double k, const Jet1& a) {
    return a + k;
}
constexpr Jet1 operator-(const Jet1& a, double k) {
    return {a.v - k, a.dx, a.dxx};
}
constexpr Jet1 operator-(double k, const Jet1& a) {
    return {k - a.v, -a.dx, -a.dxx};
}

// ---- Elementary functions of the three types ----
template <class T>
T Log(const T& a) {
    const double r = 1.0 / a.v;
    return a.Chain(std::log(a.v), r, -r * r);
}
template <class T>
T Sqrt(const T& a) {
    const double s = std::sqrt(a.v);
    return a.Chain(s, 0.5 / s, -0.25 / (s * a.v));
}
// Real power a^n (a > 0 unless n is integral).
template <class T>
T Pow(const T& a, double n) {
    const double p2 = n == 2.0 ? 1.0 : std::pow(a.v, n - 2.0);
    const double p1 = p2 * a.v;
    return a.Chain(p1 * a.v, n * p1, n * (n - 1.0) * p2);
}

// Integer power by repeated squaring on plain doubles (negative exponents allowed).
constexpr double IntPow(double a, int n) {
    if (n < 0) {
        return 1.0 / IntPow(a, -n);
    }
    double result = 1.0;
    double base = a;
    while (n > 0) {
        if ((n & 1) != 0) {
            result *= base;
        }
        base *= base;
        n >>= 1;
    }
    return result;
}

template <class T>
T IntPow(const T& a, int n) {
    const double p2 = IntPow(a.v, n - 2);
    const double p1 = p2 * a.v;
    return a.Chain(p1 * a.v, n * p1, static_cast<double>(n) * (n - 1) * p2);
}

// Value of a number of any of these types.
template <class T>
constexpr double ValueOf(const T& a) {
    return a.v;
}

// A function of the first variable alone, known by its value and first two derivatives there,
// as a number of the type of x. Lets a fundamental equation compute its parts that depend on θ
// only once, in one variable, and lift them into the two-variable arithmetic.
template <class T>
constexpr T OfX(const T& x, const Jet1& f) {
    return x.Chain(f.v, f.dx, f.dxx);
}

} // namespace dadez
