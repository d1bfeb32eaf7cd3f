// SPDX-License-Identifier: MIT
#include "complex/Complex.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "edge_values.hpp"

using cplx::Complex;
using cplx_test::kEdges;
using cplx_test::lim;

// ------------------------------------------------------ compile-time facts

static_assert(std::is_trivially_copyable_v<Complex>);
static_assert(std::is_standard_layout_v<Complex>);
static_assert(sizeof(Complex) == 2 * sizeof(double));
static_assert(offsetof(Complex, re) == 0 && offsetof(Complex, im) == sizeof(double));
static_assert(std::is_nothrow_constructible_v<Complex, double, double>);
static_assert(Complex() == Complex(0, 0));

// A real number converts implicitly, as to std::complex; nothing converts back.
static_assert(std::is_convertible_v<double, Complex> && std::is_convertible_v<int, Complex>);
static_assert(!std::is_convertible_v<Complex, double>);
template <class A, class B, class = void>
struct comparable : std::false_type {};
template <class A, class B>
struct comparable<A, B, std::void_t<decltype(std::declval<A>() == std::declval<B>())>> : std::true_type {};
static_assert(comparable<Complex, Complex>::value && comparable<Complex, double>::value &&
              comparable<int, Complex>::value);
static_assert(Complex(2.5) == Complex(2.5, 0) && Complex(1, -0.0) == 1.0 && 1 != Complex(1, 1));
static_assert([] {
    Complex z = 0;
    z.real(3);
    z.imag(-4);
    return z == Complex(3, -4)&& noexcept(z.real(1.0));
}());

constexpr Complex kA(3, 4), kB(3, -4);
static_assert(kA * kB == Complex(25, 0));
static_assert(kA / kB == Complex(-0.28, 0.96));
static_assert(kA + kB == Complex(6, 0));
static_assert(kA - kB == Complex(0, 8));
static_assert(kA == kA && !(kA != kA) && kA != kB);
static_assert(conj(Complex(5, 8)) == Complex(5, -8));
static_assert(-kA == Complex(-3, -4) && +kA == kA);
static_assert((Complex(1, 1) += kA) == Complex(4, 5) && (Complex(1, 1) -= kA) == Complex(-2, -3));
static_assert((Complex(kA) *= kB) == Complex(25, 0) && (Complex(kA) /= kB) == Complex(-0.28, 0.96));
// Extreme operands take the scaled path, which is constant-evaluable too.
static_assert(Complex(1e300, 1e300) / Complex(1e300, 1e300) == Complex(1, 0));
static_assert(Complex(1e-300, 0) / Complex(0, 1e-300) == Complex(0, -1));
static_assert(Complex(0x1p515, 0x1p515) / Complex(0x1p515, 0) == Complex(1, 1)); // squares past the range

static_assert(noexcept(kA + kB) && noexcept(kA - kB) && noexcept(kA * kB) && noexcept(kA / kB));
static_assert(noexcept(kA == kB) && noexcept(kA != kB) && noexcept(conj(kA)));
static_assert(noexcept(mod(kA)) && noexcept(arg(kA)) && noexcept(argDeg(kA)) && noexcept(cplx::fromPolar(1, 2)));

static_assert(cplx::PI == 3.1415926536 && cplx::RAD_TO_DEG == 57.29577951289617);

// ------------------------------------------------------------- arithmetic

struct Sample {
    Complex result;
    Complex expected;
};

TEST(Arithmetic, SamplesAreExactAndLeaveTheOperandsAlone) {
    const Complex a(3, 4), b(3, -4);
    // clang-format off
    const Sample samples[] = {
        {a * b, {25, 0}}, {a / b, {-0.28, 0.96}}, {a + b, {6, 0}}, {a - b, {0, 8}},
        {conj(Complex(5, 8)), {5, -8}}, {Complex(1.5, -2) * Complex(-2, 0.25), {-2.5, 4.375}},
        {Complex(1, 2) / Complex(0, 1), {2, -1}}, {Complex(-7, 0) / Complex(2, 0), {-3.5, 0}},
    };
    // clang-format on
    for (const auto& s : samples) {
        EXPECT_EQ(s.result.re, s.expected.re);
        EXPECT_EQ(s.result.im, s.expected.im);
    }
    EXPECT_TRUE(a.re == 3 && a.im == 4 && b.re == 3 && b.im == -4);
    EXPECT_TRUE(std::signbit((a - b).re) == false && (a * b).im == 0);
    EXPECT_TRUE(std::signbit((Complex(1, -0.0) * Complex(1, -0.0)).im)); // -0 + -0
}

TEST(Arithmetic, EqualityIsExactIeeeComparison) {
    constexpr double nan = lim::quiet_NaN();
    EXPECT_TRUE(Complex(0.0, -0.0) == Complex(-0.0, 0.0));
    EXPECT_FALSE(Complex(nan, 0) == Complex(nan, 0));
    EXPECT_TRUE(Complex(nan, 0) != Complex(nan, 0));
    EXPECT_FALSE(Complex(1, 0) == Complex(1 + lim::epsilon(), 0));
    EXPECT_FALSE(Complex(1, 2) == Complex(2, 1));
}

// The plain formula breaks on these; the result must not.
TEST(Division, ExtremeButOrdinaryLookingOperands) {
    // clang-format off
    const Sample samples[] = {
        {Complex(1e200, 1e200) / Complex(1e200, 1e200), {1, 0}},
        {Complex(1e-200, 1e-200) / Complex(1e-200, 1e-200), {1, 0}},
        {Complex(1e300, -1e300) / Complex(0, 1e300), {-1, -1}},
        {Complex(1, 1) / Complex(0x1p-1074, 0), {lim::infinity(), lim::infinity()}},
        {Complex(lim::max(), lim::denorm_min()) / Complex(1, 0), {lim::max(), lim::denorm_min()}},
        {Complex(lim::max(), lim::max()) / Complex(0x1p-900, 0), {lim::infinity(), lim::infinity()}},
    };
    // clang-format on
    for (const auto& s : samples) {
        EXPECT_EQ(s.result.re, s.expected.re);
        EXPECT_EQ(s.result.im, s.expected.im);
    }
    // Just past the scaling threshold for tiny divisors, divided at run time
    // (not constant operands): the imaginary part is a third off where that
    // threshold slips.
    Complex a(0x1p-975, 0), b(0x1.8p-974, 0x1p-1073);
    EXPECT_NEAR((a / b).re, 1 / 3.0, 0x1p-50);
    EXPECT_NEAR((a / b).im, -0x1.c71c71c71c71cp-102, 0x1p-150);
    // A real operand is a zero imaginary part of +0, on either side.
    EXPECT_FALSE(std::signbit((1.0 / Complex(2, 0)).im));
}

// Zero, infinite and NaN operands give what C's Annex G gives, as
// std::complex does, signs of zeros and infinities included: a non-zero
// value over zero is infinite, a finite value over an infinite one is zero,
// an infinite value over a finite one infinite. A NaN part of the dividend
// stays in its own part when the divisor lies on an axis.
TEST(Division, SpecialOperandsFollowAnnexG) {
    using cplx_test::Kind;
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    constexpr Kind pinf = Kind::PosInf, ninf = Kind::NegInf, pz = Kind::PosZero, nz = Kind::NegZero,
                   pf = Kind::PosFinite, NaN = Kind::NaN;
    const struct {
        Complex a, b;
        Kind re, im;
    } cases[] = {
        {{1, 1}, {0, 0}, pinf, pinf},    {{1, 1}, {-0.0, 0}, ninf, ninf}, {{-1, 2}, {0, 0}, ninf, pinf},
        {{1, 0}, {0, 0}, pinf, NaN},     {{0, 0}, {0, 0}, NaN, NaN},      {{1, 1}, {inf, 0}, pz, pz},
        {{1, 1}, {inf, inf}, pz, pz},    {{1, 1}, {nan, inf}, pz, nz},    {{inf, 0}, {1, 1}, pinf, ninf},
        {{inf, nan}, {1, 0}, pinf, NaN}, {{nan, 1}, {1, 1}, NaN, NaN},    {{inf, inf}, {inf, inf}, NaN, NaN},
        {{0, 0}, {1, 1}, pz, pz},        {{nan, 2}, {1, 0}, NaN, pf},     {{2, nan}, {0, 1}, NaN, Kind::NegFinite},
    };
    for (const auto& c : cases) {
        const Complex q = c.a / c.b;
        EXPECT_TRUE(cplx_test::kind(q.re) == c.re && cplx_test::kind(q.im) == c.im)
            << c.a << " / " << c.b << " = " << q;
    }
}

// Every pair of edge values gives the kind of result that C's Annex G gives
// (an infinite value has an infinite part), and finite operands never a NaN.
TEST(Division, EdgeValues) {
    const auto has = [](const Complex& z, bool (*test)(double)) { return test(z.re) || test(z.im); };
    const auto nan = [](double v) { return std::isnan(v); };
    const auto inf = [](double v) { return std::isinf(v); };
    for (double ar : kEdges)
        for (double ai : kEdges)
            for (double br : kEdges)
                for (double bi : kEdges) {
                    const Complex a(ar, ai), b(br, bi), q = a / b;
                    if (has(a, nan) || has(b, nan)) continue;
                    if (has(a, inf) && has(b, inf)) continue;
                    if (b == Complex(0, 0)) {
                        ASSERT_EQ(has(q, inf), a != Complex(0, 0)) << a << " / " << b << " = " << q;
                    } else if (has(b, inf)) {
                        ASSERT_TRUE(q == Complex(0, 0)) << a << " / " << b << " = " << q;
                    } else if (has(a, inf)) {
                        ASSERT_TRUE(has(q, inf)) << a << " / " << b << " = " << q; // an infinity, perhaps with a NaN
                    } else {
                        ASSERT_FALSE(has(q, nan)) << a << " / " << b << " = " << q;
                    }
                }
}
