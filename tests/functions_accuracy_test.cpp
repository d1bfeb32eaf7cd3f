// SPDX-License-Identifier: MIT
// Accuracy of the elementary functions against binary128 complex functions
// (libquadmath's, or the C library's where long double is binary128),
// measured per part in ulps of the exact part wherever that part is a normal
// double. std::complex is measured on the same points and reported beside,
// not judged.
#include <complex>

#include "complex/Functions.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "quad.hpp"

using cplx::Complex;
using StdComplex = std::complex<double>;

namespace {

// Random points per region: 20,000, or CPLX_ACCURACY_POINTS from the
// environment. The aarch64 build, whose binary128 arithmetic is software
// under an emulator, asks for 2,000 to keep its run to a minute or two.
int region_size() {
    static const int n = [] {
        const char* s = std::getenv("CPLX_ACCURACY_POINTS");
        return s && std::atoi(s) > 0 ? std::atoi(s) : 20000;
    }();
    return n;
}

QuadComplex quad(const Complex& z) {
    QuadComplex q;
    __real__ q = z.re;
    __imag__ q = z.im;
    return q;
}

bool normal(Quad x) { return fabsq(x) >= DBL_MIN && fabsq(x) <= DBL_MAX; }

// |got - exact| in ulps of the exact part; a finite non-zero result where the
// exact part is normal counts as infinitely wrong.
double ulps(double got, Quad exact) {
    if (!std::isfinite(got) || got == 0) return INFINITY;
    int e = 0;
    std::frexp(static_cast<double>(exact), &e);
    if (Quad(std::ldexp(1.0, e - 1)) > fabsq(exact)) --e; // rounded up into the next binade
    return static_cast<double>(fabsq(got - exact)) / std::ldexp(1.0, e - 53);
}

// The worst per-part error over a set of points, for cplx and std::complex.
struct Worst {
    double ours = 0, theirs = 0;
    Complex at;
};

using Points = std::vector<Complex>;

Points uniform(std::mt19937_64& gen, double lo, double hi, double ylo, double yhi) {
    std::uniform_real_distribution<double> x(lo, hi), y(ylo, yhi);
    Points p;
    for (int i = 0; i < region_size(); ++i) p.emplace_back(x(gen), y(gen));
    return p;
}

// Both parts with random signs and exponents spread over the whole range.
Points whole_range(std::mt19937_64& gen) {
    std::uniform_real_distribution<double> mantissa(1, 2);
    std::uniform_int_distribution<int> exponent(-1074, 1023), sign(0, 1);
    const auto part = [&] { return (sign(gen) ? -1 : 1) * std::ldexp(mantissa(gen), exponent(gen)); };
    Points p;
    for (int i = 0; i < region_size(); ++i) p.emplace_back(part(), part());
    return p;
}

// Within a relative distance 2^-60 .. 2^-1 of each of the given centres.
Points near(std::mt19937_64& gen, std::initializer_list<Complex> centres) {
    std::uniform_real_distribution<double> angle(-3.141592653589793, 3.141592653589793);
    std::uniform_int_distribution<int> exponent(-60, -1);
    Points p;
    for (int i = 0; i < region_size(); ++i) {
        const Complex c = centres.begin()[static_cast<std::size_t>(i) % centres.size()];
        const double r = std::ldexp(1.0, exponent(gen)), t = angle(gen);
        p.emplace_back(c.re + r * std::cos(t), c.im + r * std::sin(t));
    }
    return p;
}

// Both parts just off multiples of pi/64 up to 2^16, where the sine and
// cosine's argument reduction must keep its relative accuracy.
Points near_turns(std::mt19937_64& gen) {
    std::uniform_int_distribution<int> k(-1335000, 1335000), exponent(-60, -20);
    const auto part = [&] {
        const double v = k(gen) * (3.141592653589793 / 64);
        return v + std::ldexp(v, exponent(gen)) * (k(gen) & 1 ? 1 : -1);
    };
    Points p;
    for (int i = 0; i < region_size(); ++i) p.emplace_back(part(), part());
    return p;
}

// A relative offset: a few ulps either way half the time, else 2^-60 to 2^-20.
double offset(std::mt19937_64& gen) {
    const double sign = gen() & 1 ? 1.0 : -1.0;
    if (gen() & 1) return sign * static_cast<double>(gen() % 65) * 0x1p-52;
    return sign * std::ldexp(1.0, -20 - static_cast<int>(gen() % 41));
}

// Both sides of the places where a function changes path: each generator
// draws a point, and the region cycles through them.
using Draw = std::function<Complex(std::mt19937_64&)>;
Points seams(std::mt19937_64& gen, std::initializer_list<Draw> draws) {
    Points p;
    for (int i = 0; i < region_size(); ++i) p.push_back(draws.begin()[static_cast<std::size_t>(i) % draws.size()](gen));
    return p;
}

// |z| = r just off, at any angle.
Draw ring(double r) {
    return [r](std::mt19937_64& gen) {
        const double t = std::uniform_real_distribution<double>(-3.141592653589793, 3.141592653589793)(gen);
        const double m = r * (1 + offset(gen));
        return Complex(m * std::cos(t), m * std::sin(t));
    };
}

// One part just off v, the other uniform in [-w, w]; imaginary = the first part is Im z.
Draw part_at(double v, double w, bool imaginary = false) {
    return [=](std::mt19937_64& gen) {
        const double a = v * (1 + offset(gen)), b = std::uniform_real_distribution<double>(-w, w)(gen);
        return imaginary ? Complex(b, a) : Complex(a, b);
    };
}

// The point with A = (|z + 1| + |z - 1|) / 2 and B = Re z / A, as asin and
// acos see it, one of the two just off the given value and the other uniform.
Draw ellipse(double a, double b) {
    return [=](std::mt19937_64& gen) {
        std::uniform_real_distribution<double> u(0, 1);
        const double av = a > 0 ? a * (1 + offset(gen)) : 1 + 19 * u(gen), bv = b > 0 ? b * (1 + offset(gen)) : u(gen);
        return Complex(av * bv, std::sqrt((av * av - 1) * (1 - bv * bv)));
    };
}

// The points of a region turned a quarter, for the functions that see iz.
Points turned(Points p) {
    for (Complex& z : p) z = {-z.im, z.re};
    return p;
}

// Inputs that broke earlier versions or other libraries.
Points with(Points p, std::initializer_list<Complex> extra) {
    p.insert(p.end(), extra);
    return p;
}

} // namespace

TEST(FunctionsAccuracy, WithinTheBoundsOnEveryRegion) {
    std::mt19937_64 gen(20261208);
    const Points plain = uniform(gen, -10, 10, -10, 10), wide = whole_range(gen), turns = near_turns(gen);
    const Points branch_points = near(gen, {{1, 0}, {-1, 0}, {0, 1}, {0, -1}});
    const Points big_real = uniform(gen, -720, 720, -10, 10), big_imag = uniform(gen, -10, 10, -720, 720);
    const Points root = seams(gen, {ring(0x1p500), ring(0x1p-500), part_at(-1e6, 1e-300), part_at(0x1p-1000, 1e-310)});
    const Points logs = with(seams(gen, {ring(1), ring(1), ring(0x1.6a09e667f3bcdp-1), ring(0x1.6a09e667f3bcdp+0),
                                         ring(0x1p500), ring(0x1p-500), part_at(1.02, 0.1)}),
                             {{0.35981947530313579, -0.93302194250327042},
                              {-0.97603249568332495, -0.21762483169477756},
                              {0.92803147106472805, -0.37250179692645352},
                              {-0.95730663643446201, -0.28907439153016784},
                              {0x1.e1e1e1e1e1e1fp-2, 0x1.c3c3c3c3c3c3cp-1}});
    const Points growth = with(
        seams(gen, {part_at(-700, 10), part_at(709, 10), part_at(709.782712893384, 10), part_at(-708.4, 10),
                    part_at(22, 10), part_at(-22, 10), part_at(0x1p16, 3, true), part_at(3.141592653589793, 3, true)}),
        {{2.0042942166024691, 516029103.42035925}});
    const Points ratio = seams(gen, {part_at(0.5, 10), part_at(22, 10), part_at(0x1p-600, 10),
                                     part_at(0x1p1022, 3, true), part_at(1.5707963267948966, 0.6, true)});
    const Points arcs =
        with(seams(gen, {ellipse(0, 0.6417), ellipse(10, 0), part_at(0x1p28, 10), part_at(0x1p28, 10, true),
                         part_at(0x1p-500, 1.5, true), part_at(1, 0x1p-490)}),
             {{0.9999999998380581, 4.1751016041141037e-304},
              {-0x1p1000, 0x1.ffffffcp+1023},
              {-0x1.ffffffcp+1023, 1},
              {0, 0x1.ffffffcp+1023},
              {-0x1.fffffffffffffp+1023, -0x1.c0a65569181a5p+1021},
              {0x1.e0682c2820721p+27, 0x1.015a031cd47ap-500}});
    const Points areas = with(seams(gen, {ring(0x1.6a09e667f3bcdp-1), ring(0x1.3988e1409212fp+0), part_at(0x1p28, 10),
                                          part_at(0x1p28, 10, true), part_at(0x1p-900, 10, true),
                                          [](std::mt19937_64& g) {
                                              const double r = 0x1p-25 * (1 + offset(g)), t = offset(g) * 4e5;
                                              return Complex(1 - r * std::cos(t), r * std::sin(t));
                                          }}),
                              {{-1.0000000100954825, -3.1885058806989593e-08},
                               {-1.0000000075070403, -8.5417252908430412e-08},
                               {-1.0000000099430049, 1.0105734031032127e-08},
                               {0x1.ffffffffffff7p-1, 0x0.00000014fa01cp-1022},
                               {0.0080036741109473231, 0.18729178039682082}});
    const Points hyperbolic_arcs = turned(arcs), tangent_areas = turned(areas), tangents = turned(ratio);
    const Points circular = turned(growth);

    using Fn = std::function<Complex(const Complex&)>;
    using StdFn = std::function<StdComplex(const StdComplex&)>;
    const struct {
        const char* name;
        Fn ours;
        StdFn theirs;
        QuadComplex (*exact)(QuadComplex);
        double bound;
        const Points& hard;
    } table[] = {
#define CPLX_ROW(f, q, bound, hard) \
    {#f, [](const Complex& z) { return cplx::f(z); }, [](const StdComplex& z) { return std::f(z); }, q, bound, hard}
        CPLX_ROW(sqrt, csqrtq, 2, root),
        CPLX_ROW(exp, cexpq, 2, growth),
        CPLX_ROW(log, clogq, 2, logs),
        CPLX_ROW(log10, clog10q, 3, logs),
        CPLX_ROW(sin, csinq, 2, circular),
        CPLX_ROW(cos, ccosq, 2, circular),
        CPLX_ROW(tan, ctanq, 3, tangents),
        CPLX_ROW(sinh, csinhq, 2, growth),
        CPLX_ROW(cosh, ccoshq, 2, growth),
        CPLX_ROW(tanh, ctanhq, 3, ratio),
        CPLX_ROW(asin, casinq, 3, arcs),
        CPLX_ROW(acos, cacosq, 3, arcs),
        CPLX_ROW(atan, catanq, 3, tangent_areas),
        CPLX_ROW(asinh, casinhq, 3, hyperbolic_arcs),
        CPLX_ROW(acosh, cacoshq, 3, arcs),
        CPLX_ROW(atanh, catanhq, 3, areas),
#undef CPLX_ROW
    };
    std::printf("%-6s %6s %14s %14s\n", "", "bound", "cplx re/im", "std re/im");
    for (const auto& row : table) {
        Worst re, im;
        const Points* regions[] = {&plain, &wide, &turns, &row.hard, &branch_points, &big_real, &big_imag};
        for (const Points* points : regions) {
            for (const Complex& z : *points) {
                const QuadComplex exact = row.exact(quad(z));
                const Complex got = row.ours(z);
                const StdComplex theirs = row.theirs(StdComplex(z.re, z.im));
                const auto measure = [&](Worst& w, double ours, double std_part, Quad e) {
                    if (!normal(e)) return;
                    const double err = ulps(ours, e);
                    if (err > w.ours) w = {err, w.theirs, z};
                    w.theirs = std::fmax(w.theirs, ulps(std_part, e));
                };
                measure(re, got.re, theirs.real(), crealq(exact));
                measure(im, got.im, theirs.imag(), cimagq(exact));
            }
        }
        std::printf("%-6s %6.0f %6.2f / %5.2f %6.2f / %5.2f\n", row.name, row.bound, re.ours, im.ours, re.theirs,
                    im.theirs);
        EXPECT_LE(re.ours, row.bound) << row.name << " real part at " << re.at;
        EXPECT_LE(im.ours, row.bound) << row.name << " imaginary part at " << im.at;
    }
}

// pow within 8 u normwise wherever |w log z| <= 700, and for integer
// exponents up to 64 in magnitude, with the double-doubles formed by fused
// multiply-adds and by Dekker's split, whichever this processor runs.
TEST(FunctionsAccuracy, PowWithinEightUnitsNormwise) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> part(-10, 10), unit(-1, 1);
    std::uniform_int_distribution<int> integer(-65, 65), exponent(-1020, 1020);
    const Points unit_circle = near(gen, {{1, 0}, {0, -1}, {0.6, 0.8}}); // where log z is small or log|z| cancels
    const Points wide = whole_range(gen);                                // where |z|^2 must be scaled
    double ours = 0, theirs = 0;
    Complex worst_z, worst_w;
    const auto check = [&](const Complex& z, const Complex& w) {
        const QuadComplex exact = cpowq(quad(z), quad(w));
        const Quad n = crealq(exact) * crealq(exact) + cimagq(exact) * cimagq(exact);
        if (!(n >= Quad(DBL_MIN) * DBL_MIN && n <= Quad(DBL_MAX) * DBL_MAX)) return; // |exact| normal
        const auto normwise = [&](double re, double im) {
            const Quad dr = re - crealq(exact), di = im - cimagq(exact);
            return std::sqrt(static_cast<double>((dr * dr + di * di) / n)) / 0x1p-53;
        };
        const Complex got = w.im == 0 ? cplx::pow(z, w.re) : cplx::pow(z, w);
        if (w.im == 0) { // a real exponent takes the real path from either overload
            const Complex as_complex = cplx::pow(z, w);
            ASSERT_TRUE(as_complex.re == got.re && as_complex.im == got.im) << z << " ^ " << w;
        }
        // Both ways of forming the double-doubles, whichever this processor runs.
        using cplx::detail::pow_general;
        const Complex fused = w.im == 0 ? pow_general<true, true>(z, w.re, 0) : pow_general<true, false>(z, w.re, w.im);
        const Complex split =
            w.im == 0 ? pow_general<false, true>(z, w.re, 0) : pow_general<false, false>(z, w.re, w.im);
        const StdComplex std_got = std::pow(StdComplex(z.re, z.im), StdComplex(w.re, w.im));
        const double err =
            std::fmax(normwise(got.re, got.im), std::fmax(normwise(fused.re, fused.im), normwise(split.re, split.im)));
        if (err > ours) {
            ours = err;
            worst_z = z;
            worst_w = w;
        }
        theirs = std::fmax(theirs, normwise(std_got.real(), std_got.imag()));
    };
    for (int i = 0; i < 3 * region_size(); ++i) {
        const std::size_t k = static_cast<std::size_t>(i / 4);
        const Complex z = i % 4 == 0 ? unit_circle[k] : i % 4 == 1 ? wide[k] : Complex(part(gen), part(gen));
        const double reach = 700 / std::abs(std::log(StdComplex(z.re, z.im))); // |w| that makes |w log z| 700
        switch (i % 3) {
            case 0:
                check(z, Complex(unit(gen), unit(gen)) * (reach * unit(gen) * unit(gen)));
                break;
            case 1:
                check(z, reach * unit(gen));
                break;
            default:
                check(z, integer(gen)); // 65 takes the general path
                break;
        }
    }
    // Where |w log z| is 700 and arg z needs its last bits.
    check({0x1.c89b227ec3998p-1, -0x1.cf451c459b04p-2}, {0x1.879fd48c92777p+9, -0x1.3d3056c957637p+10});
    check({0x1.bcba01388b77dp-1, -0x1.fb652bb5c4e71p-2}, {-0x1.4fcc7969b296p+9, -0x1.24d9e29064bd3p+10});
    // Tiny and huge bases to negative integer powers, the results in range.
    for (int i = 0; i < region_size(); ++i) {
        const int n = -1 - i % 64, e = exponent(gen) / -n;
        const double t = 3.141592653589793 * unit(gen);
        check(Complex(std::ldexp(std::cos(t), e), std::ldexp(std::sin(t), e)), n);
    }
    std::printf("pow    %6d %6.2f u normwise     %6.2f u, worst at pow(%a%+ai, %a%+ai)\n", 8, ours, theirs, worst_z.re,
                worst_z.im, worst_w.re, worst_w.im);
    EXPECT_LE(ours, 8) << "pow(" << worst_z << ", " << worst_w << ")";
}

// The kernels under exp and the circular and hyperbolic functions return
// hi + lo pairs, which those functions round once; each pair must carry bits
// well beyond a double's, or the single rounding buys nothing.
TEST(FunctionsAccuracy, KernelPairsCarryExtraBits) {
    using cplx::detail::dd;
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> turn(-0x1p16, 0x1p16), power(-700, 709), hyper(0, 22), unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-60, -6); // both sides of the fast reduction's 2^-30
    const auto err = [](dd got, Quad exact) {
        return static_cast<double>(fabsq((Quad(got.hi) + got.lo - exact) / exact));
    };
    double sine = 0, cosine = 0, exp = 0, ch = 0, sh = 0;
    for (int i = 0; i < 10 * region_size(); ++i) {
        const double near_turn = std::nearbyint(turn(gen) / 0x1.921fb54442d18p-5) * 0x1.921fb54442d18p-5;
        const double y = i % 2 ? turn(gen) : near_turn + std::ldexp(unit(gen) < 0 ? -1 : 1, exponent(gen));
        for (const cplx::detail::sine_cosine& p :
             {cplx::detail::sin_cos_parts<true>(y), cplx::detail::sin_cos_parts<false>(y)}) { // fused and split
            sine = std::fmax(sine, err(p.s, sinq(y)));
            cosine = std::fmax(cosine, err(p.c, cosq(y)));
        }
        // Half the a's just around the sinh series' switch at 1/4.
        const double x = power(gen), a = i % 2 ? hyper(gen) : 0.25 * (1 + unit(gen) * 0x1p-4);
        exp = std::fmax(exp, err(cplx::detail::exp_pair(x), expq(x)));
        const cplx::detail::cosh_sinh h = cplx::detail::hyperbolic(a);
        ch = std::fmax(ch, err(h.ch, coshq(a)));
        sh = std::fmax(sh, err(h.sh, sinhq(a)));
    }
    std::printf("kernel relative errors: sin 2^%.1f cos 2^%.1f exp 2^%.1f cosh 2^%.1f sinh 2^%.1f\n", std::log2(sine),
                std::log2(cosine), std::log2(exp), std::log2(ch), std::log2(sh));
    EXPECT_LE(sine, 0x1p-57);
    EXPECT_LE(cosine, 0x1p-57);
    EXPECT_LE(exp, 0x1p-56);
    EXPECT_LE(ch, 0x1p-56);
    EXPECT_LE(sh, 0x1p-56);
}

// Points where each function is within about half an ulp, as the design
// allows wherever one more correction is taken: a dropped low-order term
// costs a whole ulp there, which the bounds of 2 and 3 would let pass.
TEST(FunctionsAccuracy, CorrectionsHoldWhereTheResultIsNearlyExact) {
    using Fn = Complex (*)(const Complex&);
    const struct {
        const char* name;
        Fn ours;
        QuadComplex (*exact)(QuadComplex);
        Complex z;
        bool imaginary;
        double bound;
    } cases[] = {
#define CPLX_WITHIN(f, q, re, im, part, bound) \
    {#f, [](const Complex& z) { return cplx::f(z); }, q, {re, im}, part, bound}
#define CPLX_CASE(f, q, re, im, part) CPLX_WITHIN(f, q, re, im, part, 0.55)
        CPLX_CASE(tanh, ctanhq, 0x1.0cc95894ad53p-5, -0x1.31f224625e1f8p+0, false),
        CPLX_CASE(tanh, ctanhq, 0x1.59e66592bda88p-2, 0x1.57bacd99b4af4p+1, false),
        CPLX_CASE(exp, cexpq, -0x1.a4d0a810abf9cp-2, 0x1.eb3b507b2f6ccp+2, true),
        CPLX_CASE(log, clogq, 0x1.4b7de9ef80d18p-2, -0x1.8694df0affa78p+0, false),
        CPLX_CASE(sqrt, csqrtq, -0x1.22ea21bdc24b8p+4, -0x1.db932338e2663p+1, false),
        CPLX_CASE(sqrt, csqrtq, 0x1.cc159d51e8d3p+4, 0x1.9151b01367fep+4, true),
        CPLX_CASE(sqrt, csqrtq, 0x1.7064af9cac0e8p-1, -0x1.adc42ea69488ep-3, true),
        CPLX_CASE(asin, casinq, -0x1.1ca366228cf34p+1, 0x1.38b67306dba2p+1, false),
        CPLX_CASE(acos, cacosq, -0x1.8aa1114ea0c7p-2, -0x1.97b2ebaedacc8p-2, false),
        CPLX_CASE(atanh, catanhq, 0x1.867827847ba7dp-1, 0x1.f2ddd4b5e2296p-3, true),
        CPLX_CASE(atanh, catanhq, 0x1.a2d238f7b27fdp-2, 0x1.d337690ab1e9p-1, false),
        // Each side of log's switches at |z|^2 = 1/2 and 2, and the squares' low parts.
        CPLX_CASE(log, clogq, 0x1.d4fabee43f1ebp-2, 0x1.34f5e0dd2efd4p-1, false),
        CPLX_CASE(log, clogq, 0x1.f272c3b4ee3fp-1, 0x1.e7b0c2ffc37d6p-1, false),
        CPLX_CASE(log, clogq, 0x1.6b7eb2afb36d7p-1, 0x1.6f0e45bbd8af3p-1, false),
        CPLX_CASE(log, clogq, 0x1.a0300df3648bdp-1, 0x1.5dc7f5e774ddp+0, false),
        // atanh's common case: each correction of the quotient and of the
        // denominators, for 1 - x^2 - y^2 of either sign; then its switches.
        CPLX_CASE(atanh, catanhq, 0x1.3d8cef1450ba9p-1, 0x1.3f6ffced99946p-3, true),
        CPLX_CASE(atanh, catanhq, 0x1.3f401688cf53fp-2, 0x1.6ac5c0ef3cbd2p+0, true),
        CPLX_CASE(atanh, catanhq, 0x1.7cca899f6fb27p-7, 0x1.edaf822418aa9p-5, true),
        CPLX_CASE(atanh, catanhq, 0x1.f122b368a338bp-1, 0x1.b3191d0d105a2p-1, true),
        CPLX_CASE(atanh, catanhq, 0x1.17c8e9a3d12ddp-2, 0x1.2d679955f54ddp-8, true),
        CPLX_CASE(atanh, catanhq, 0x1.2db4b3a374e9ap-3, 0x1.bd764cd692687p-3, true),
        CPLX_CASE(atanh, catanhq, 0x1.be586214c38c2p-16, 0x1.872e7c222b7aap-20, true),
        CPLX_CASE(atanh, catanhq, 0x1.4f5043ca1f6f9p-5, 0x1.1f4d79c5f87cdp-8, false),
        CPLX_CASE(atanh, catanhq, 0x1.f31e5e6dd25dap-5, 0x1.bd5abf5c4e7f9p-7, false),
        CPLX_CASE(atanh, catanhq, 0x1.0b633782af93cp+0, 0x1.3b9f8b02d61e4p-1, true),
        CPLX_CASE(atanh, catanhq, 0x1.fffff56d4cdebp-1, 0x1.095ed4431fd33p-21, false),
        // The other functions' corrections and switches, each where moving
        // or dropping it costs an ulp or more.
        CPLX_CASE(sqrt, csqrtq, 0x1.b152e00417094p+2, 0x1.34964b5963a9cp+3, false),
        CPLX_CASE(exp, cexpq, 0x1.62b3dcc002d57p+9, 0x1.4569bef88dd7p+2, false),
        CPLX_CASE(exp, cexpq, -0x1.ca21ee8fa16c3p+2, 0x1.4c6ec34531226p+17, true),
        CPLX_CASE(log, clogq, 0x1.1a6063dd22848p-2, 0x1.6a816231dac52p+0, false),
        CPLX_WITHIN(sinh, csinhq, 0x1.523262490495bp+4, 0x1.1470877756adp+3, true, 1), // 0.32 fused, 0.69 split
        CPLX_CASE(tanh, ctanhq, 0x1.0522326cdb4acp-2, 0x1.8b8c801797cbp+0, false),
        CPLX_CASE(tanh, ctanhq, 0x1.8ea6ad5959a9ap+3, -0x1.a46661cb18044p+1, true),
        CPLX_CASE(tanh, ctanhq, 0x1.44d1dd8617b98p+4, 0x1.be612bbb041b2p+1022, true),
        CPLX_CASE(asin, casinq, 0x1.f5edb26ad891cp+22, 0x1.0127fbfc64f22p+26, false),
        CPLX_CASE(asin, casinq, 0x1.ffffffef83fb7p-1, 0x1.005ec35985144p-478, true),
        CPLX_CASE(asin, casinq, -0x1.c68878e1c8adp+0, 0x1.36983252a9bb8p+0, true),
        CPLX_CASE(acos, cacosq, 0x1.0e63ea1222d3p+1, 0x1.f1af9c3ebde8cp-1, false),
        CPLX_CASE(atanh, catanhq, 0x1.000d7d5cfb72ap+26, 0, false),
#undef CPLX_CASE
#undef CPLX_WITHIN
    };
    for (const auto& c : cases) {
        const QuadComplex exact = c.exact(quad(c.z));
        const Complex got = c.ours(c.z);
        const double err = c.imaginary ? ulps(got.im, cimagq(exact)) : ulps(got.re, crealq(exact));
        EXPECT_LE(err, c.bound) << c.name << c.z << (c.imaginary ? " imaginary" : " real");
    }
    // Powers up to the 64th take the products, not e^(w log z), and 1/z's
    // compensated reciprocal: within an ulp or two.
    const struct {
        Complex z;
        double w, bound;
    } powers[] = {
        {{0x1.188e6111d442bp+0, -0x1.4b1e04ead6cd7p-4}, 64, 1},
        {{0x1.33f9ee8ec33f2p-15, -0x1.11fdb4f58c14p-12}, 64, 1},
        {{0x1.b6d2daf99afb4p+9, -0x1.f12e89374dd29p+8}, -64, 4},
    };
    for (const auto& p : powers) {
        const Complex got = cplx::pow(p.z, p.w);
        EXPECT_LE(ulps(got.re, crealq(cpowq(quad(p.z), quad(Complex(p.w, 0))))), p.bound) << p.z << "^" << p.w;
    }
}
