// SPDX-License-Identifier: MIT
// Special values of the elementary functions, and arithmetic with a double.
#include <complex>

#include "complex/Functions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

#include "edge_values.hpp"

using cplx::Complex;
using cplx_test::Kind;
using cplx_test::kind;
using cplx_test::lim;
using StdComplex = std::complex<double>;

static_assert(cplx::norm(Complex(3, 4)) == 25);
static_assert(2.0 * Complex(1, -2) == Complex(2, -4) && Complex(1, -2) / 2.0 == Complex(0.5, -1));
static_assert(1.0 + Complex(1, -2) == Complex(2, -2) && 1.0 - Complex(1, -2) == Complex(0, 2));
static_assert((Complex(1, 2) *= 3.0) == Complex(3, 6) && 1.0 / Complex(0, 2) == Complex(0, -0.5));

// The C library's complex functions, which follow Annex G: std::complex calls
// them under libstdc++, but libc++ computes its own.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wc99-extensions"
#endif
// clang-format off
extern "C" {
#define CPLX_C(f) double _Complex f(double _Complex);
CPLX_C(csqrt) CPLX_C(cexp) CPLX_C(clog) CPLX_C(clog10) CPLX_C(csin) CPLX_C(ccos) CPLX_C(ctan) CPLX_C(csinh)
CPLX_C(ccosh) CPLX_C(ctanh) CPLX_C(casin) CPLX_C(cacos) CPLX_C(catan) CPLX_C(casinh) CPLX_C(cacosh) CPLX_C(catanh)
#undef CPLX_C
}
// clang-format on

namespace {

using CFunction = double _Complex (*)(double _Complex);

StdComplex call_c(CFunction f, const StdComplex& z) {
    double parts[2] = {z.real(), z.imag()};
    double _Complex c;
    std::memcpy(&c, parts, sizeof c); // two doubles, real part first
    const double _Complex r = f(c);
    std::memcpy(parts, &r, sizeof parts);
    return {parts[0], parts[1]};
}

} // namespace
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

std::string describe(const Complex& z) {
    std::ostringstream os;
    os << std::setprecision(17) << '(' << z.re << ", " << z.im << ')';
    return os.str();
}

} // namespace

// Every function on every pair of edge values gives the kind and sign of
// each part that C's Annex G gives, as the C library's functions, which
// std::complex calls, do. Where Annex G leaves the sign of a zero or an
// infinity unspecified (its companion part is then NaN), ours may differ:
// it keeps f(conj z) == conj f(z) and the parity of f, which glibc does not
// always.
TEST(Functions, SpecialValuesFollowAnnexG) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    const double edges[] = {0.0,  -0.0,   lim::denorm_min(), -lim::denorm_min(), lim::min(),  1,   -1,   2.5, -2.5,
                            22.5, 0x1p29, -0x1p1022,         lim::max(),         -lim::max(), inf, -inf, nan};
    const struct {
        const char* name;
        Complex (*ours)(const Complex&);
        CFunction theirs;
    } functions[] = {
#define CPLX_FUNCTION(f, c) {#f, [](const Complex& z) { return cplx::f(z); }, c}
        CPLX_FUNCTION(sqrt, csqrt),   CPLX_FUNCTION(exp, cexp),     CPLX_FUNCTION(log, clog),
        CPLX_FUNCTION(log10, clog10), CPLX_FUNCTION(sin, csin),     CPLX_FUNCTION(cos, ccos),
        CPLX_FUNCTION(tan, ctan),     CPLX_FUNCTION(sinh, csinh),   CPLX_FUNCTION(cosh, ccosh),
        CPLX_FUNCTION(tanh, ctanh),   CPLX_FUNCTION(asin, casin),   CPLX_FUNCTION(acos, cacos),
        CPLX_FUNCTION(atan, catan),   CPLX_FUNCTION(asinh, casinh), CPLX_FUNCTION(acosh, cacosh),
        CPLX_FUNCTION(atanh, catanh),
#undef CPLX_FUNCTION
    };
    const auto unspecified = [](Kind a, Kind b, Kind other) {
        const auto magnitude = [](Kind k) {
            return k == Kind::NegInf ? Kind::PosInf : k == Kind::NegZero ? Kind::PosZero : k;
        };
        return other == Kind::NaN && magnitude(a) == magnitude(b);
    };
    for (const auto& f : functions)
        for (double re : edges)
            for (double im : edges) {
                const Complex z(re, im), got = f.ours(z);
                const StdComplex want = call_c(f.theirs, StdComplex(re, im));
                const Kind gr = kind(got.re), gi = kind(got.im), wr = kind(want.real()), wi = kind(want.imag());
                EXPECT_TRUE((gr == wr || unspecified(gr, wr, gi)) && (gi == wi || unspecified(gi, wi, gr)))
                    << f.name << describe(z) << " = " << describe(got) << ", C gives "
                    << describe(Complex(want.real(), want.imag()));
            }
}

// Annex G's named cases, the ones users report as wrong elsewhere, and
// arithmetic with a double, where a real operand is a real number, not a
// complex one with a zero imaginary part: no 0 * inf appears where the double
// meets the other part. Kinds and signs must match; values too, but for NaN.
TEST(Functions, BranchCutsExactValuesAndRealOperands) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN(), pi = 3.141592653589793;
    const struct {
        const char* what;
        Complex got, want;
    } cases[] = {
        {"sqrt(-4-0i)", cplx::sqrt(Complex(-4, -0.0)), {0, -2}},
        {"sqrt(-4+0i)", cplx::sqrt(Complex(-4, 0.0)), {0, 2}},
        {"sqrt(-1+0i)", cplx::sqrt(Complex(-1, 0.0)), {0, 1}},
        {"sqrt(3+4i)", cplx::sqrt(Complex(3, 4)), {2, 1}},
        {"log(-0+0i)", cplx::log(Complex(-0.0, 0)), {-inf, pi}},
        {"log(-1-0i)", cplx::log(Complex(-1, -0.0)), {0, -pi}},
        {"acos(0+0i)", cplx::acos(Complex(0, 0)), {pi / 2, -0.0}},
        {"acos(-0-0i)", cplx::acos(Complex(-0.0, -0.0)), {pi / 2, 0.0}},
        {"acos(-2+inf i)", cplx::acos(Complex(-2, inf)), {pi / 2, -inf}},
        {"asin(2+0i)", cplx::asin(Complex(2, 0)), {pi / 2, 1.3169578969248166}},
        {"asin(2-0i)", cplx::asin(Complex(2, -0.0)), {pi / 2, -1.3169578969248166}},
        {"pow(1+1i, 2)", cplx::pow(Complex(1, 1), 2.0), {0, 2}},
        {"pow(2i, -1)", cplx::pow(Complex(0, 2), -1.0), {0, -0.5}},
        {"pow(z, 0)", cplx::pow(Complex(nan, 1), 0.0), {1, 0}},
        {"proj(inf-1i)", cplx::proj(Complex(-inf, -1)), {inf, -0.0}},
        {"proj(1-2i)", cplx::proj(Complex(1, -2)), {1, -2}},
        {"2 * (inf+0i)", 2.0 * Complex(inf, 0), {inf, 0}},
        {"(inf+0i) * 2", Complex(inf, 0) * 2.0, {inf, 0}},
        {"(0+inf i) / 2", Complex(0, inf) / 2.0, {0, inf}},
        {"(1+NaN i) + 1", Complex(1, nan) + 1.0, {2, nan}},
        {"1 / (0+0i)", 1.0 / Complex(0, 0), {inf, nan}},
        {"1 / (1e300+1e300i)", 1.0 / Complex(1e300, 1e300), {5e-301, -5e-301}},
        {"3 - (1+0i)", 3.0 - Complex(1, 0), {2, -0.0}},
        {"(1-0i) - 3", Complex(1, -0.0) - 3.0, {-2, -0.0}},
        {"1 + (1-0i)", 1.0 + Complex(1, -0.0), {2, -0.0}},
        {"(1-0i) * 2", Complex(1, -0.0) * 2.0, {2, -0.0}},
        {"(1-0i) / 2", Complex(1, -0.0) / 2.0, {0.5, -0.0}},
        {"(NaN+1i) / (0+0i)", Complex(nan, 1) / Complex(0, 0), {nan, inf}},
        {"(1+NaN i) / (-0+0i)", Complex(1, nan) / Complex(-0.0, 0), {-inf, nan}},
        {"tanh(inf + max i)", cplx::tanh(Complex(inf, lim::max())), {1, -0.0}},
        {"tan(max + inf i)", cplx::tan(Complex(lim::max(), inf)), {-0.0, 1}},
        {"tanh(1e300 + 1e300i)", cplx::tanh(Complex(1e300, 1e300)), {1, 0.0}},
        {"exp(709.9 + 3i)", cplx::exp(Complex(709.9, 3)), {-inf, 2.8526027445182506e+307}},
        {"exp(-745.2 + 0.5i)", cplx::exp(Complex(-745.2, 0.5)), {0, 0}},
        {"pow(1e-200, -1)", cplx::pow(Complex(1e-200, 0), -1.0), {1e200, -0.0}},
        {"pow(2, 0.5i)", cplx::pow(2.0, Complex(0, 0.5)), {0.94054210468324384, 0.33967712510266856}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(kind(c.got.re) == kind(c.want.re) && kind(c.got.im) == kind(c.want.im))
            << c.what << " = " << describe(c.got);
        if (!std::isnan(c.want.re) && !std::isnan(c.want.im)) {
            EXPECT_EQ(c.got, c.want) << c.what << " = " << describe(c.got);
        }
    }
    // Far from zero: no overflow, and no lost digits, where C libraries have them.
    EXPECT_DOUBLE_EQ(cplx::atanh(Complex(1, 1e-200)).re, 230.60508288968455);
    EXPECT_DOUBLE_EQ(cplx::acos(Complex(1e8, 0)).im, -19.11382792451231);
    EXPECT_DOUBLE_EQ(cplx::exp(Complex(710, 1e-300)).im, 223399476.61617110);
    EXPECT_DOUBLE_EQ(cplx::cos(Complex(1e8, 0)).re, std::cos(1e8));
    // A real base is x + 0i, on the upper side of the cut; e^z just above
    // the cut-off of its plain path still has subnormal parts.
    EXPECT_GT(cplx::pow(-1.0, Complex(0.5, 0)).im, 0.99);
    const Complex tiny = cplx::exp(Complex(-708.5, 0.5));
    EXPECT_TRUE(tiny.re > 0 && tiny.im > 0) << describe(tiny);
}
