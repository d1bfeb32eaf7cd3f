// SPDX-License-Identifier: MIT
// Accuracy against binary128 arithmetic. Products of two doubles are exact in
// binary128 and its exponent range covers every intermediate, so the
// reference parts below are within a few units of 2^-113 of the truth.
#include "complex/Complex.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "quad.hpp"

using cplx::Complex;

namespace {

constexpr double u = 0x1p-53; // unit roundoff

// Random operand pairs: 200,000, or ten times CPLX_ACCURACY_POINTS from the
// environment, which the aarch64 build (software binary128 under an
// emulator) sets to 2,000.
int pairs() {
    static const int n = [] {
        const char* s = std::getenv("CPLX_ACCURACY_POINTS");
        return s && std::atoi(s) > 0 ? 10 * std::atoi(s) : 200000;
    }();
    return n;
}

struct QComplex {
    Quad re, im;
};

QComplex exact_quotient(const Complex& a, const Complex& b) {
    const Quad den = Quad(b.re) * b.re + Quad(b.im) * b.im;
    return {(Quad(a.re) * b.re + Quad(a.im) * b.im) / den, (Quad(a.im) * b.re - Quad(a.re) * b.im) / den};
}

QComplex exact_product(const Complex& a, const Complex& b) {
    return {Quad(a.re) * b.re - Quad(a.im) * b.im, Quad(a.re) * b.im + Quad(a.im) * b.re};
}

Quad abs(Quad x) { return x < 0 ? -x : x; }
Quad norm2(const QComplex& z) { return z.re * z.re + z.im * z.im; }

// A part is normal, or zero: a complex result is normal when both parts are.
bool normal(Quad x) { return x == 0 || (abs(x) >= DBL_MIN && abs(x) <= DBL_MAX); }
bool normal(const QComplex& z) { return normal(z.re) && normal(z.im) && (z.re != 0 || z.im != 0); }

// An infinity, NaN or zero where the exact value's modulus is a normal number.
bool spurious(const Complex& got, const QComplex& exact) {
    const Quad n = norm2(exact);
    const bool normal_size = n >= Quad(DBL_MIN) * DBL_MIN && n <= Quad(DBL_MAX) * DBL_MAX;
    return normal_size && (!std::isfinite(got.re) || !std::isfinite(got.im) || (got.re == 0 && got.im == 0));
}

// |computed - exact| / |exact|, in units of u.
double normwise_error(const Complex& got, const QComplex& exact) {
    const QComplex diff{got.re - exact.re, got.im - exact.im};
    return std::sqrt(static_cast<double>(norm2(diff) / norm2(exact))) / u;
}

double ulp_error(double got, Quad exact) {
    const double rounded = static_cast<double>(exact);
    int e = std::ilogb(rounded);
    if (Quad(std::ldexp(1.0, e)) > abs(exact)) --e; // rounded up into the next binade
    return static_cast<double>(abs(got - exact)) / std::ldexp(1.0, (e < DBL_MIN_EXP - 1 ? DBL_MIN_EXP - 1 : e) - 52);
}

Quad sqrt_quad(Quad s, double guess) {
    Quad y = guess;
    for (int i = 0; i < 3; ++i) y = (y + s / y) / 2; // Newton: 53 -> 106 -> 212 bits
    return y;
}

// A part whose exponent is spread evenly over the whole double range.
double any_magnitude(std::mt19937_64& gen) {
    std::uniform_int_distribution<int> exponent(DBL_MIN_EXP - 53, DBL_MAX_EXP - 1);
    std::uniform_real_distribution<double> mantissa(1, 2);
    const double v = std::ldexp(mantissa(gen), exponent(gen));
    return gen() & 1 ? -v : v;
}

} // namespace

TEST(Accuracy, RandomOperandsOverTheWholeRange) {
    std::mt19937_64 gen(12345);
    double worst_div = 0, worst_mul = 0, worst_mod = 0;
    int counted_div = 0, counted_mul = 0, counted_mod = 0;
    for (int i = 0; i < pairs(); ++i) {
        const Complex a(any_magnitude(gen), any_magnitude(gen)), b(any_magnitude(gen), any_magnitude(gen));

        const Complex q = a / b;
        const QComplex xq = exact_quotient(a, b);
        ASSERT_FALSE(spurious(q, xq)) << a << " / " << b << " = " << q;
        if (normal(xq)) {
            const double e = normwise_error(q, xq);
            ASSERT_LE(e, 4.0) << a << " / " << b;
            worst_div = e > worst_div ? e : worst_div;
            ++counted_div;
        }

        const QComplex xp = exact_product(a, b);
        ASSERT_FALSE(spurious(a * b, xp)) << a << " * " << b << " = " << a * b;
        if (normal(xp)) {
            const double e = normwise_error(a * b, xp);
            ASSERT_LE(e, std::sqrt(5.0)) << a << " * " << b;
            worst_mul = e > worst_mul ? e : worst_mul;
            ++counted_mul;
        }

        const double reference = std::hypot(a.re, a.im);
        if (reference >= DBL_MIN && reference <= DBL_MAX) {
            const double m = mod(a);
            ASSERT_TRUE(m != 0 && std::isfinite(m)) << a;
            const double e = ulp_error(m, sqrt_quad(Quad(a.re) * a.re + Quad(a.im) * a.im, reference));
            ASSERT_LE(e, 1.5) << a;
            worst_mod = e > worst_mod ? e : worst_mod;
            ++counted_mod;
        }
    }
    EXPECT_GE(counted_div, pairs() / 2);
    EXPECT_GE(counted_mul, pairs() / 2);
    EXPECT_GE(counted_mod, pairs() / 2);
    RecordProperty("worst_division_u", std::to_string(worst_div));
    RecordProperty("worst_product_u", std::to_string(worst_mul));
    RecordProperty("worst_modulus_ulp", std::to_string(worst_mod));
    std::printf("worst errors: division %.3f u, product %.3f u (normwise), modulus %.3f ulp\n", worst_div, worst_mul,
                worst_mod);
}

// Baudin and Smith's hard divisions ("A Robust Complex Division in Scilab",
// 2012, figure 6), each part within 4 ulp of the correctly rounded result.
TEST(Accuracy, HardDivisions) {
    // clang-format off
    const struct { Complex a, b, q; } cases[] = {
        {{1, 1}, {1, 0x1p1023}, {0x1p-1023, -0x1p-1023}},
        {{1, 1}, {0x1p-1023, 0x1p-1023}, {0x1p1023, 0}},
        {{0x1p1023, 0x1p-1023}, {0x1p677, 0x1p-677}, {0x1p346, -0x1p-1008}},
        {{0x1p1023, 0x1p1023}, {1, 1}, {0x1p1023, 0}},
        {{0x1p1020, 0x1p-844}, {0x1p656, 0x1p-780}, {0x1p364, -0x1p-1072}},
        {{0x1p-71, 0x1p1021}, {0x1p1001, 0x1p-323}, {0x1p-1072, 0x1p20}},
        {{0x1p-347, 0x1p-54}, {0x1p-1037, 0x1p-1058}, {0x1.ffffffffff8p961, 0x1.ffffffffff8p982}},
        {{0x1p-1074, 0x1p-1074}, {0x1p-1073, 0x1p-1074}, {0x1.3333333333333p-1, 0x1.999999999999ap-3}},
        {{0x1p1015, 0x1p-989}, {0x1p1023, 0x1p1023}, {0x1p-9, -0x1p-9}},
        {{0x1p-622, 0x1p-1071}, {0x1p-343, 0x1p-798}, {0x1p-279, 0x1.f8p-729}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Complex q = c.a / c.b;
        EXPECT_LE(ulp_error(q.re, c.q.re), 4.0) << c.a << " / " << c.b << " = " << q;
        EXPECT_LE(ulp_error(q.im, c.q.im), 4.0) << c.a << " / " << c.b << " = " << q;
    }
}
