// SPDX-License-Identifier: MIT
#include "complex/Complex.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "edge_values.hpp"

using cplx::Complex;
using cplx_test::kEdges;
using cplx_test::lim;

namespace {
constexpr double pi = 3.141592653589793; // the double nearest pi, not cplx::PI
}

TEST(Modulus, ExactAndExtremeValues) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    // clang-format off
    const struct { Complex z; double mod; } cases[] = {
        {{3, 4}, 5},  {{3, -4}, 5}, {{-3, -4}, 5}, {{0, -2}, 2}, {{-0.0, 0.0}, 0}, {{5, 0}, 5},
        {{1e200, 1e200}, 1.4142135623730951e200},   {{1e-200, 1e-200}, 1.4142135623730951e-200},
        {{3e-320, 4e-320}, 5e-320}, {{lim::denorm_min(), 0}, lim::denorm_min()},
        {{lim::max(), 0}, lim::max()}, {{lim::max(), lim::max()}, inf}, {{0x1p1000, 0x1p1000}, 0x1.6a09e667f3bcdp1000},
        {{inf, 1}, inf}, {{-inf, nan}, nan}, {{nan, 0}, nan},
    };
    // clang-format on
    for (const auto& c : cases) {
        const double m = mod(c.z);
        if (std::isnan(c.mod)) {
            EXPECT_TRUE(std::isnan(m)) << c.z;
        } else {
            EXPECT_EQ(m, c.mod) << c.z;
            EXPECT_FALSE(std::signbit(m)) << c.z;
        }
    }
}

// The quadrant-correct angle in (-pi, pi]; a zero of either sign counts as
// zero, as it does for ==, so the angle is never -pi and 0+0i has angle 0.
TEST(Argument, EveryQuadrantAndAxis) {
    // clang-format off
    const struct { Complex z; double arg; } cases[] = {
        {{1, 0}, 0},           {{1, 1}, pi / 4},          {{0, 1}, pi / 2},       {{-1, 1}, 3 * pi / 4},
        {{-1, 0}, pi},         {{-1, -1}, -3 * pi / 4},   {{0, -1}, -pi / 2},     {{1, -1}, -pi / 4},
        // The sign of a zero part picks the side, as for atan2 and C's carg.
        {{-1, -0.0}, -pi},     {{0, 0}, 0},               {{-0.0, 0}, pi},        {{0, -0.0}, -0.0}, {{-0.0, -0.0}, -pi},
        {{0, -8}, -pi / 2},    {{3, -4}, std::atan(-4.0 / 3)},
        {{lim::denorm_min(), lim::max()}, pi / 2},        {{-lim::max(), lim::denorm_min()}, pi},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(arg(c.z), c.arg) << c.z;
        EXPECT_EQ(std::signbit(arg(c.z)), std::signbit(c.arg)) << c.z;
        EXPECT_EQ(argDeg(c.z), arg(c.z) * 57.29577951289617) << c.z;
    }
    EXPECT_TRUE(std::isnan(arg(Complex(lim::quiet_NaN(), 1))));
}

TEST(Polar, FromPolarUsesTheAngleAsGiven) {
    const Complex b = cplx::fromPolar(5, 0.785398163375);
    EXPECT_GT(b.re, b.im); // the angle is a little below pi/4
    EXPECT_NEAR(arg(b), 0.785398163375, 1e-15);
    EXPECT_LT(argDeg(b), 45.0);
    EXPECT_NEAR(argDeg(b), 45.0, 1e-8); // PI is not the double nearest pi
    EXPECT_EQ(cplx::fromPolar(2, 0), Complex(2, 0));
    EXPECT_TRUE(std::signbit(cplx::fromPolar(1, -0.0).im));
    const Complex negative = cplx::fromPolar(-2, pi / 2); // a negative length is taken as it is
    EXPECT_NEAR(negative.im, -2, 1e-15);
    const Complex wound = cplx::fromPolar(1, 2 * pi + 1);
    EXPECT_NEAR(wound.re, std::cos(1.0), 1e-15);
}

// fromPolar(mod z, arg z) gives z back in every quadrant and on both axes.
TEST(Polar, RoundTrip) {
    for (double re : {3.0, -3.0, 0.0, 1e-5, -250.5}) {
        for (double im : {4.0, -4.0, 0.0, 7e3, -1e-3}) {
            const Complex z(re, im);
            const Complex back = cplx::fromPolar(mod(z), arg(z));
            const double tol = 4 * lim::epsilon() * mod(z);
            EXPECT_NEAR(back.re, re, tol) << z;
            EXPECT_NEAR(back.im, im, tol) << z;
        }
    }
}

TEST(Polar, EdgeValuesGiveNoNegativeModulusAndAnglesInRange) {
    for (double re : kEdges) {
        for (double im : kEdges) {
            const Complex z(re, im);
            EXPECT_FALSE(mod(z) < 0) << z;
            const double a = arg(z);
            EXPECT_TRUE(std::isnan(a) || (a >= -pi && a <= pi)) << z;
            if (im == 0 && re < 0) {
                EXPECT_EQ(a, std::signbit(im) ? -pi : pi) << z; // the negative real axis: the zero's sign picks
            }
            EXPECT_TRUE(std::isnan(a) || arg(conj(z)) == -a) << z;
            EXPECT_EQ(std::isnan(a), std::isnan(re) || std::isnan(im)) << z;
        }
    }
}
