// SPDX-License-Identifier: MIT
// The elementary functions of cplx::Complex.
//
// Synopsis
//
//   namespace cplx {
//
//   constexpr double norm(const Complex&) noexcept;       // re^2 + im^2
//   Complex proj(const Complex&) noexcept;                 // onto the Riemann sphere
//   Complex sqrt(const Complex&) noexcept;
//   Complex exp(const Complex&) noexcept;
//   Complex log(const Complex&) noexcept;                  // log(z).im == arg(z)
//   Complex log10(const Complex&) noexcept;
//   Complex pow(const Complex& z, const Complex& w) noexcept;
//   Complex pow(const Complex& z, double w) noexcept;
//   Complex sin(const Complex&) noexcept;                  // and cos, tan
//   Complex sinh(const Complex&) noexcept;                 // and cosh, tanh
//   Complex asin(const Complex&) noexcept;                 // and acos, atan
//   Complex asinh(const Complex&) noexcept;                // and acosh, atanh
//
//   } // namespace cplx
//
// Branch cuts, signed zeros, infinities and NaNs are those of C's Annex G
// (G.6). Every function keeps f(conj z) == conj f(z) bit for bit, the odd
// ones f(-z) == -f(z) and cos and cosh f(-z) == f(z): each is computed on
// the magnitudes of the parts and the signs are put back at the end, but exp,
// which needs only the sine to be odd and the cosine even.

#ifndef CPLX_FUNCTIONS_HPP
#define CPLX_FUNCTIONS_HPP

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "Complex.hpp"

#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfloat-equal"
#endif

// Kernels for x86-64 under GNU compilers, where long double is x87's 64-bit
// type: x87 and SSE2 in assembly, and FMA code chosen at run time.
#if !defined(CPLX_PORTABLE) && CPLX_GNU && defined(__x86_64__) && LDBL_MANT_DIG == 64
#define CPLX_X86_KERNELS 1
#else
#define CPLX_X86_KERNELS 0
#endif

// The kernels return small structs; inlined, they stay in registers and the
// work of consecutive calls can overlap.
#if CPLX_GNU
#define CPLX_KERNEL inline __attribute__((always_inline))
#else
#define CPLX_KERNEL inline
#endif

namespace cplx {

namespace detail {

// ---------------------------------------------------- extended precision
//
// Where a result would lose bits to cancellation or to a chain of roundings,
// the intermediate steps are taken in an extended type `ext`: x87's 64-bit
// long double where the target has it, which costs little more than double,
// and otherwise (and under CPLX_PORTABLE) a double-double, hi + lo with
// |lo| <= ulp(hi) / 2, about 106 bits. Double-double products use Dekker's
// splitting rather than fma, which without a target flag is a library call;
// every product of halves is exact, so contracting them into fma changes
// nothing.

struct dd {
    double hi, lo;
    constexpr dd(double h = 0, double l = 0) noexcept : hi(h), lo(l) {}
};

constexpr dd fast_two_sum(double a, double b) noexcept { // |a| >= |b|
    const double s = a + b;
    return {s, b - (s - a)};
}

constexpr dd two_sum(double a, double b) noexcept {
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

inline dd two_prod(double a, double b) noexcept { // |a|, |b| < 2^996
    constexpr double split = 0x1p27 + 1;
    const double p = a * b, ca = split * a, cb = split * b;
    const double ah = ca - (ca - a), al = a - ah, bh = cb - (cb - b), bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

constexpr dd operator+(dd a, dd b) noexcept {
    const dd s = two_sum(a.hi, b.hi);
    return fast_two_sum(s.hi, s.lo + (a.lo + b.lo));
}
inline dd operator-(dd a) noexcept { return {-a.hi, -a.lo}; }
inline dd operator-(dd a, dd b) noexcept { return a + -b; }
inline dd operator*(dd a, dd b) noexcept {
    if (std::fabs(a.hi) > 0x1p995) return (dd(a.hi * 0x1p-64, a.lo * 0x1p-64) * b) * dd(0x1p64);
    if (std::fabs(b.hi) > 0x1p995) return b * a;
    const dd p = two_prod(a.hi, b.hi);
    if (p.hi == 0) return {p.hi, 0}; // keeps the sign of a zero product
    return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}
inline dd operator/(dd a, dd b) noexcept {
    if (a.hi != 0 && std::fabs(a.hi) < 0x1p-969) { // keep the correction's products clear of underflow
        const dd q = dd(a.hi * 0x1p106, a.lo * 0x1p106) / b;
        return {q.hi * 0x1p-106, q.lo * 0x1p-106};
    }
    const double q = a.hi / b.hi;
    if (!(std::fabs(q) < 0x1p995)) return {q, 0}; // past Dekker's range; no correction
    const dd r = a - b * dd(q);
    return fast_two_sum(q, r.hi / b.hi);
}

// One Newton step from the rounded root: sqrt(a) = r + (a - r^2) / 2r.
inline dd ext_sqrt(dd a) noexcept {
    const double r = std::sqrt(a.hi);
    if (r == 0) return {r, 0};
    const dd rr = two_prod(r, r);
    return fast_two_sum(r, (((a.hi - rr.hi) - rr.lo) + a.lo) / (2 * r));
}
inline double to_double(dd a) noexcept { return a.lo == 0 ? a.hi : a.hi + a.lo; } // -0 stays -0

#if !defined(CPLX_PORTABLE) && LDBL_MANT_DIG == 64
using ext = long double;
inline ext ext_sqrt(ext a) noexcept { return std::sqrt(a); }
inline double to_double(ext a) noexcept { return static_cast<double>(a); }
inline ext from_dd(dd a) noexcept { return static_cast<ext>(a.hi) + a.lo; }
inline ext ext_mul(double a, double b) noexcept { return static_cast<ext>(a) * b; }
#else
using ext = dd;
inline ext from_dd(dd a) noexcept { return fast_two_sum(a.hi, a.lo); } // |a.lo| may exceed an ulp of a.hi
inline ext ext_mul(double a, double b) noexcept { return two_prod(a, b); }
#endif

// Flips the sign bits without a branch: the signs of random inputs are
// unpredictable, and a mispredicted branch costs as much as the arithmetic.
inline double negated_if(double v, bool n) noexcept {
    unsigned long long bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    bits ^= static_cast<unsigned long long>(n) << 63;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// (a.hi + a.lo)(b.hi + b.lo) for small lo parts: the product of the high
// parts rounds once more, about half an ulp, where an exact product would
// cost more than the rest of the function. A zero correction is left out, so
// that a zero or underflowing product keeps its sign.
inline double mul_parts(dd a, dd b) noexcept {
    const double p = a.hi * b.hi, c = a.hi * b.lo + a.lo * (b.hi + b.lo);
    return c == 0 ? p : p + c;
}

// Adding it to |x| < 2^51 rounds x to an integer, kept in the low bits.
inline constexpr double kRoundShift = 0x1.8p52;

inline constexpr dd kPi = {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
inline constexpr dd kPi2 = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
// ln 2 with its last 12 bits zero, so that k * kLn2Hi is exact for |k| < 4096.
inline constexpr double kLn2Hi = 0x1.62e42fefa3p-1, kLn2Lo = 0x1.3de6af278ece6p-42;

// ------------------------------------------------ extended-precision kernels

// sin(i pi/32) for i = 0..16 as hi + lo, hi with 26 bits so that hi times
// a 27-bit number is exact.
inline constexpr dd kSinQuarter[17] = {
    {0x0p+0, 0x0p+0},
    {0x1.917a6b8p-4, 0x1.0a6d0af87639dp-30},
    {0x1.8f8b838p-3, 0x1.1a6982ad92e64p-29},
    {0x1.2940628p-2, 0x1.b567c16a2d726p-28},
    {0x1.87de2ap-2, 0x1.abaa58b469891p-28},
    {0x1.e2b5d38p-2, 0x1.bd8ec78362475p-36},
    {0x1.1c73b38p-1, 0x1.ae68c86c9774ap-29},
    {0x1.44cf32p-1, 0x1.4247758601da9p-27},
    {0x1.6a09e6p-1, 0x1.9fcef32422cbfp-27},
    {0x1.8bc8068p-1, 0x1.8a8ba05a743dap-28},
    {0x1.a9b6628p-1, 0x1.0ea1a3033ec62p-29},
    {0x1.c38b2fp-1, 0x1.80bdb0d23e9d1p-29},
    {0x1.d906bc8p-1, 0x1.cca3518a2bf31p-27},
    {0x1.e9f415p-1, 0x1.b18b769760b1ep-27},
    {0x1.f6297c8p-1, 0x1.fdd72c0ab10b9p-27},
    {0x1.fd88dap-1, 0x1.e89292cf04139p-28},
    {0x1p+0, 0x0p+0},
};

// The whole turn, j = 0..63, unfolded at compile time, so that the kernel
// reads signed entries without per-quadrant arithmetic.
struct sin_turn {
    dd v[64];
};

constexpr sin_turn unfold_sin_table() noexcept {
    sin_turn t{};
    for (int j = 0; j < 64; ++j) {
        const int q = j / 16, i = j % 16;
        const dd e = kSinQuarter[q % 2 ? 16 - i : i];
        t.v[j] = q < 2 || e.hi == 0 ? e : dd(-e.hi, -e.lo);
    }
    return t;
}

inline constexpr sin_turn kSinTable = unfold_sin_table();

// sin y and cos y, each as hi + lo to about 2^-58 relative. For |y| <
// 2^16, y = k pi/32 + r with pi/32 in three pieces, the first two short
// enough that k times them is exact, and |r| <= pi/64 as rh + rl. Then
// sin y = S cos r + C sin r and cos y = C cos r - S sin r, S and C the sine
// and cosine of k pi/32; S + C rh is formed exactly, as the short table
// value times the high half of rh plus an error term (|S| >= |C rh| unless
// S is zero), so that only the small terms round. Larger y, and r too small
// for the reduction's absolute error, go to the C library. Working on |y|
// keeps the sine odd and the cosine even.
struct sine_cosine {
    dd s, c; // hi + lo, |lo| < 0.01 |hi|
};

CPLX_KERNEL sine_cosine sin_cos_parts(double y) noexcept {
    const double a = std::fabs(y);
    if (CPLX_LIKELY(a < 0x1p16)) {
        constexpr double p1 = 0x1.921fb544p-4, p2 = 0x1.0b4611a6p-38, p3 = 0x1.3198a2e037p-73;
        const double t = a * 0x1.45f306dc9c883p+3 + kRoundShift, kd = t - kRoundShift;
        unsigned long long kbits = 0;
        std::memcpy(&kbits, &t, sizeof t);
        const dd r = two_sum(a - kd * p1, -(kd * p2)); // both products are exact, and so is the difference
        if (CPLX_LIKELY(std::fabs(r.hi) > 0x1p-30 || kd == 0)) {
            const double rh = r.hi, rl = r.lo - kd * p3;
            const double r2 = rh * rh, r4 = r2 * r2;
            const double sr =
                rl + rh * r2 * ((-1.0 / 6 + r2 * (1.0 / 120)) + r4 * (-1.0 / 5040 + r2 * (1.0 / 362880))); // sin r - rh
            const double cr = r4 * ((1.0 / 24 - r2 * (1.0 / 720)) + r4 * (1.0 / 40320)) - (rh * rl + r2 * 0.5);
            const dd ts = kSinTable.v[kbits & 63], tc = kSinTable.v[(kbits + 16) & 63];
            const double cut = rh * 0x1.0000004p26, hh = cut - (cut - rh), hl = rh - hh; // 27 + 26 bits
            const dd qs = fast_two_sum(ts.hi, tc.hi * hh), qc = fast_two_sum(tc.hi, -(ts.hi * hh));
            const double sf = ts.hi + ts.lo, cf = tc.hi + tc.lo; // the full values, for the small products
            const double sign = std::copysign(1.0, y);
            return {{qs.hi * sign, ((qs.lo + ts.lo) + (tc.hi * hl + tc.lo * rh + sf * cr + cf * sr)) * sign},
                    {qc.hi, (qc.lo + tc.lo) - (ts.hi * hl + ts.lo * rh - cf * cr + sf * sr)}};
        }
    }
    double s = 0, c = 0;
#if CPLX_GNU && defined(__GLIBC__)
    ::sincos(y, &s, &c);
#else
    s = std::sin(y);
    c = std::cos(y);
#endif
    return {{s, 0.0}, {c, 0.0}};
}

inline void sin_cos(double y, double& s, double& c) noexcept {
    const sine_cosine p = sin_cos_parts(y);
    s = p.s.hi + p.s.lo;
    c = p.c.hi + p.c.lo;
}

// log(1 + j/32) for j = -9..13.
inline constexpr dd kLogTable[23] = {
    {-0x1.522ae0738a3d8p-2, 0x1.8f7e9b38a6979p-57},  {-0x1.269621134db92p-2, -0x1.e0efadd9db02bp-56},
    {-0x1.f991c6cb3b379p-3, -0x1.f665066f980a2p-57}, {-0x1.a93ed3c8ad9e3p-3, -0x1.bcafa9de97203p-57},
    {-0x1.5bf406b543db2p-3, 0x1.1f5b44c0df7e7p-61},  {-0x1.1178e8227e47cp-3, 0x1.0e63a5f01c691p-58},
    {-0x1.9335e5d594989p-4, 0x1.478a85704ccb7p-58},  {-0x1.08598b59e3a07p-4, 0x1.dd7009902bf32p-58},
    {-0x1.0415d89e74444p-5, -0x1.c05cf1d753622p-59}, {0.0, 0.0},
    {0x1.f829b0e7833p-6, 0x1.33e3f04f1ef23p-60},     {0x1.f0a30c01162a6p-5, 0x1.85f325c5bbacdp-59},
    {0x1.6f0d28ae56b4cp-4, -0x1.906d99184b992p-58},  {0x1.e27076e2af2e6p-4, -0x1.61578001e0162p-60},
    {0x1.29552f81ff523p-3, 0x1.301771c407dbfp-57},   {0x1.5ff3070a793d4p-3, -0x1.bc60efafc6f6ep-58},
    {0x1.9525a9cf456b4p-3, 0x1.d904c1d4e2e26p-57},   {0x1.c8ff7c79a9a22p-3, -0x1.4f689f8434012p-57},
    {0x1.fb9186d5e3e2bp-3, -0x1.caaae64f21acbp-57},  {0x1.1675cababa60ep-2, 0x1.ce63eab883717p-61},
    {0x1.2e8e2bae11d31p-2, -0x1.8f4cdb95ebdf9p-56},  {0x1.4618bc21c5ec2p-2, 0x1.f42decdeccf1dp-56},
    {0x1.5d1bdbf5809cap-2, 0x1.4236383dc7fe1p-56},
};

// atan(j/16) for j = 0..16.
inline constexpr dd kAtanTable[17] = {
    {0.0, 0.0},
    {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.0657e94db30dp-1, -0x1.d5b495f6349e6p-56},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

// 2^(j/32) for j = 0..31.
inline constexpr dd kExp2Table[32] = {
    {0x1p+0, 0x0p+0},
    {0x1.059b0d3158574p+0, 0x1.d73e2a475b465p-55},
    {0x1.0b5586cf9890fp+0, 0x1.8a62e4adc610bp-54},
    {0x1.11301d0125b51p+0, -0x1.6c51039449b3ap-54},
    {0x1.172b83c7d517bp+0, -0x1.19041b9d78a76p-55},
    {0x1.1d4873168b9aap+0, 0x1.e016e00a2643cp-54},
    {0x1.2387a6e756238p+0, 0x1.9b07eb6c70573p-54},
    {0x1.29e9df51fdee1p+0, 0x1.612e8afad1255p-55},
    {0x1.306fe0a31b715p+0, 0x1.6f46ad23182e4p-55},
    {0x1.371a7373aa9cbp+0, -0x1.63aeabf42eae2p-54},
    {0x1.3dea64c123422p+0, 0x1.ada0911f09ebcp-55},
    {0x1.44e086061892dp+0, 0x1.89b7a04ef80dp-59},
    {0x1.4bfdad5362a27p+0, 0x1.d4397afec42e2p-56},
    {0x1.5342b569d4f82p+0, -0x1.07abe1db13cadp-55},
    {0x1.5ab07dd485429p+0, 0x1.6324c054647adp-54},
    {0x1.6247eb03a5585p+0, -0x1.383c17e40b497p-54},
    {0x1.6a09e667f3bcdp+0, -0x1.bdd3413b26456p-54},
    {0x1.71f75e8ec5f74p+0, -0x1.16e4786887a99p-55},
    {0x1.7a11473eb0187p+0, -0x1.41577ee04992fp-55},
    {0x1.82589994cce13p+0, -0x1.d4c1dd41532d8p-54},
    {0x1.8ace5422aa0dbp+0, 0x1.6e9f156864b27p-54},
    {0x1.93737b0cdc5e5p+0, -0x1.75fc781b57ebcp-57},
    {0x1.9c49182a3f09p+0, 0x1.c7c46b071f2bep-56},
    {0x1.a5503b23e255dp+0, -0x1.d2f6edb8d41e1p-54},
    {0x1.ae89f995ad3adp+0, 0x1.7a1cd345dcc81p-54},
    {0x1.b7f76f2fb5e47p+0, -0x1.5584f7e54ac3bp-56},
    {0x1.c199bdd85529cp+0, 0x1.11065895048ddp-55},
    {0x1.cb720dcef9069p+0, 0x1.503cbd1e949dbp-56},
    {0x1.d5818dcfba487p+0, 0x1.2ed02d75b3707p-55},
    {0x1.dfc97337b9b5fp+0, -0x1.1a5cd4f184b5cp-54},
    {0x1.ea4afa2a490dap+0, -0x1.e9c23179c2893p-54},
    {0x1.f50765b6e454p+0, 0x1.9d3e12dd8a18bp-54},
};

// 2^m for a normal result.
inline double power_of_two(int m) noexcept {
    const unsigned long long bits = static_cast<unsigned long long>(m + 1023) << 52;
    double p = 0;
    std::memcpy(&p, &bits, sizeof p);
    return p;
}

// hi = m 2^k with m in [0.71, 1.41] and c = 1 + j/32 the table point
// nearest m, for 2^-1000 < hi < 2^1003, from the bits without a branch.
struct log_reduced {
    int k, j;
    double m, c;
};

inline log_reduced log_reduce(double hi) noexcept {
    unsigned long long bits = 0;
    std::memcpy(&bits, &hi, sizeof hi);
    const unsigned long long fraction = bits & 0x000fffffffffffffull;
    const unsigned up = fraction >= 0x6a09e667f3bcdull; // 1.fraction >= sqrt 2: halve it
    log_reduced r = {static_cast<int>(bits >> 52) - 1023 + static_cast<int>(up), 0, 0, 0};
    bits = fraction | static_cast<unsigned long long>(1023 - up) << 52;
    const unsigned shift = 47 + up; // rounds m to a multiple of 1/32
    const unsigned long long cbits = (bits + (1ull << (shift - 1))) >> shift << shift;
    r.j = static_cast<int>((fraction + (1ull << (shift - 1))) >> shift) - 16 * static_cast<int>(up);
    std::memcpy(&r.m, &bits, sizeof r.m);
    std::memcpy(&r.c, &cbits, sizeof r.c);
    return r;
}

// atanh(t) - t = t^3/3 + t^5/5 + ..., for |t| < 0.0112 to 2^-64 of t.
inline double atanh_tail(double t) noexcept {
    const double t2 = t * t, t4 = t2 * t2;
    return t * t2 * ((1.0 / 3 + t2 * (1.0 / 5)) + t4 * ((1.0 / 7 + t2 * (1.0 / 9)) + t4 * (1.0 / 11)));
}

// (atan(d) - d) times a sign, for |d| < 1/32 to 2^-64 of d.
inline double atan_tail(double d, double sign) noexcept {
    const double d2 = d * d, d4 = d2 * d2;
    return d * sign * d2 *
           ((-1.0 / 3 + d2 * (1.0 / 5)) + d4 * (-1.0 / 7 + d2 * (1.0 / 9)) +
            d4 * d4 * ((-1.0 / 11 + d2 * (1.0 / 13)) - d4 * (1.0 / 15)));
}

// log(hi + lo) / 2 + e ln 2 for 2^-1000 < hi < 2^1003, to about 2^-63
// relative. With hi = m 2^k, m in [0.71, 1.41], c = 1 + j/32 the nearest
// table point: log(m) = log(c) + 2 atanh(t), t = (m - c) / (m + c),
// |t| < 0.0112, where the series needs terms to t^11 and only t needs the
// extended type. What does not wait for t is summed first.
inline ext half_log_ext(double hi, double lo, int e) noexcept {
    const log_reduced r = log_reduce(hi);
    const double ml = lo * power_of_two(-r.k);                     // exact: m = hi 2^-k
    const ext t = (ext(r.m - r.c) + ml) / ((ext(r.m) + r.c) + ml); // m - c is exact
    const int n = r.k + 2 * e;                                     // n kLn2Hi is exact
    const ext base = ((ext(n * kLn2Hi) + ext(n * kLn2Lo)) + from_dd(kLogTable[r.j + 9])) * 0.5;
    return base + (t + atanh_tail(to_double(t)));
}

// The octant's offset plus or minus atan(j/16): 0 + atan, pi/2 - atan,
// pi - atan and pi/2 + atan, for neg_x and swap below.
struct atan_bases {
    dd v[4][17];
};
constexpr atan_bases make_atan_bases() noexcept {
    atan_bases b{};
    const dd offset[4] = {{0, 0}, kPi2, kPi, kPi2};
    for (int q = 0; q < 4; ++q)
        for (int j = 0; j < 17; ++j)
            b.v[q][j] =
                q == 1 || q == 2 ? offset[q] + dd(-kAtanTable[j].hi, -kAtanTable[j].lo) : offset[q] + kAtanTable[j];
    return b;
}
inline constexpr atan_bases kAtanBase = make_atan_bases();

// atan2 from the magnitudes y and x of the parts and their signs: with
// t = a / b = min / max and c = j/16 the table point nearest t,
// atan2 = base + rsign atan(d), d = (t - c) / (1 + t c), |d| < 1/32, where c
// has four bits, so that c times a part is exact in the extended types. The
// octant is an offset and a sign, not a branch, which random arguments would
// mispredict.
struct atan_reduced {
    double a, b, t, c, rsign;
    int j;
    dd base;
};

inline atan_reduced atan_reduce(double y, double x, bool neg_y, bool neg_x) noexcept {
    const bool swap = y > x;
    atan_reduced r{};
    r.a = swap ? x : y;
    r.b = swap ? y : x;
    r.t = r.a / r.b;
    const double ts = r.t * 16 + kRoundShift;
    unsigned long long bits = 0;
    std::memcpy(&bits, &ts, sizeof ts);
    r.j = static_cast<int>(bits & 31);
    r.c = (ts - kRoundShift) * (1.0 / 16);
    const double sign = negated_if(1.0, neg_y);
    r.rsign = negated_if(sign, neg_x != swap);
    const dd o = kAtanBase.v[2 * neg_x + swap][r.j];
    r.base = {o.hi * sign, o.lo * sign};
    return r;
}

// atan2 for finite parts, not both zero, to about 2^-63 relative.
inline ext atan2_ext(double y, double x, bool neg_y, bool neg_x) noexcept {
    const atan_reduced r = atan_reduce(y, x, neg_y, neg_x);
    const ext d = (ext(r.a) - ext(r.b) * r.c) / (ext(r.b) + ext(r.a) * r.c);
    return from_dd(r.base) + (d * r.rsign + atan_tail(to_double(d), r.rsign));
}

// ------------------------------------------------ accurate real helpers

// e^a for -708 < a < 709.7 as hi + lo, |lo| < 0.012 |hi|, to about 2^-58
// relative, all in doubles: a = (32m + j) ln2/32 + r, |r| <= ln2/64, and
// e^a = 2^m 2^(j/32) e^r. The reduction keeps k = 32m + j and the even and
// odd parts of e^r - 1, so that e^-a = e^(-k ln2/32) e^-r comes from the
// same polynomial.
struct exp_reduced {
    int k;
    double even, odd;
};

CPLX_KERNEL exp_reduced exp_reduce(double a) noexcept {
    constexpr double c_hi = 0x1.62e42fefap-6, c_lo = 0x1.cf79abc9e3b3ap-45; // ln2/32; k c_hi is exact
    const double t = a * 0x1.71547652b82fep+5 + kRoundShift, kd = t - kRoundShift;
    unsigned long long kbits = 0;
    std::memcpy(&kbits, &t, sizeof t);
    const dd r = fast_two_sum(a - kd * c_hi, -(kd * c_lo)); // a - kd c_hi is exact
    const double r2 = r.hi * r.hi;
    return {static_cast<int>(static_cast<unsigned>(kbits)), r2 * (0.5 + r2 * (1.0 / 24 + r2 * (1.0 / 720))),
            r.hi + (r.lo + r.hi * r2 * (1.0 / 6 + r2 * (1.0 / 120 + r2 * (1.0 / 5040))))};
}

// 2^(k/32) (1 + p) as hi + lo.
CPLX_KERNEL dd exp_scaled(int k, double p) noexcept {
    const dd& t = kExp2Table[k & 31];
    const double m = power_of_two((k - (k & 31)) / 32);
    return {t.hi * m, (t.lo + t.hi * p) * m};
}

// e^a for -708 <= a < 709.7 as hi + lo, from the reduction above.
CPLX_KERNEL dd exp_pair(double a) noexcept {
    const exp_reduced r = exp_reduce(a);
    return exp_scaled(r.k, r.even + r.odd);
}

// cosh a and sinh a for 0 <= a < 22, to about 2^-56 relative, with no
// division: e^a + e^-a, and e^a - e^-a but below a = 1/4, where it cancels
// and sinh a is a series.
struct cosh_sinh {
    dd ch, sh; // hi + lo, |lo| < 0.05 |hi|
};

CPLX_KERNEL cosh_sinh hyperbolic(double a) noexcept {
    const exp_reduced r = exp_reduce(a);
    const dd e = exp_scaled(r.k, r.even + r.odd), f = exp_scaled(-r.k, r.even - r.odd);
    const dd c = fast_two_sum(e.hi, f.hi);
    const dd ch = {c.hi * 0.5, (c.lo + (e.lo + f.lo)) * 0.5};
    if (a < 0.25) {
        const double a2 = a * a;
        const double tail =
            a * a2 *
            ((1.0 / 6 + a2 * (1.0 / 120)) +
             a2 * a2 * ((1.0 / 5040 + a2 * (1.0 / 362880)) + a2 * a2 * (1.0 / 39916800 + a2 * (1.0 / 6227020800))));
        return {ch, {a, tail}};
    }
    const dd d = fast_two_sum(e.hi, -f.hi);
    return {ch, {d.hi * 0.5, (d.lo + (e.lo - f.lo)) * 0.5}};
}

// m e^x 2^-h for finite m and h = 0 or 1, without the overflow of e^x alone
// where the product is finite: past x = 709, e^x = 2^k e^(x - k ln 2) with
// x - k ln 2 held to more than double precision, since its rounding error
// would be multiplied by e^x. The halving is applied last, where it is exact.
CPLX_NOINLINE inline double exp_times(double x, double m, int h = 0) noexcept {
    const double half = h ? 0.5 : 1.0;
    if (!(x > 709)) return x < -708 ? std::exp(x) * m * half : to_double(from_dd(exp_pair(x)) * m * half);
    // Past 1500, e^x times even the least subnormal overflows.
    if (x > 1500) return std::copysign(std::numeric_limits<double>::infinity(), m);
    const int k = x < 1409 ? 1023 : 2046; // x - k ln 2 in [-9.2, 82]
    const double rh = x - k * kLn2Hi, rl = -k * kLn2Lo;
    int e = k;
    double mm = m;
    if (std::fabs(mm) < 0x1p-900) { // keep the product normal until the last scaling
        mm *= 0x1p600;
        e -= 600;
    }
    mm *= half; // exact now, where halving a subnormal m would not be
    return std::ldexp(to_double(from_dd(exp_pair(rh)) * (ext(rl) + 1.0) * mm), e);
}

// log|x + iy| for finite parts, not both zero, to about an ulp. Near 1, where
// the logarithm cancels, x^2 + y^2 is formed exactly.
inline dd sum_of_squares(double x, double y) noexcept {
    const dd xx = two_prod(x, x), yy = two_prod(y, y);
    return xx.hi > yy.hi ? xx + yy : yy + xx;
}

CPLX_NOINLINE inline double log_abs_near_one(double x, double y) noexcept {
    const dd s = sum_of_squares(x, y);
    return to_double(half_log_ext(s.hi, s.lo, 0));
}

// The parts' magnitudes, scaled by 2^-e where their squares would leave the
// double range, and the sum of their squares in the extended type.
struct scaled_parts {
    double x, y;
    int e;
    ext s;
};

inline scaled_parts scale_parts(double x, double y) noexcept {
    x = std::fabs(x);
    y = std::fabs(y);
    const double big = x > y ? x : y;
    int e = 0;
    if (big > 0x1p+500 || big < 0x1p-500) {
        e = std::ilogb(big);
        x = std::scalbn(x, -e);
        y = std::scalbn(y, -e);
    }
    return {x, y, e, ext_mul(x, x) + ext_mul(y, y)};
}

// x^2 + y^2 = sh + sl: log(sh) takes the rounded sum in double, so that the
// call waits for no extended arithmetic and no long double lives across it.
inline double log_abs(double re, double im) noexcept {
    const scaled_parts p = scale_parts(re, im);
    const double sh = p.x * p.x + p.y * p.y;
    if (p.e == 0 && sh > 0.5 && sh < 2) return log_abs_near_one(p.x, p.y);
    const double sl = to_double(p.s - sh) / sh;
    const double l = (std::log(sh) + sl) / 2;
    return p.e == 0 ? l : l + p.e * kLn2Hi + p.e * kLn2Lo;
}

inline bool finite(double x) noexcept { return x - x == 0; }

// Signs put back on a first-quadrant result.
inline Complex signed_like(double re, double im, double sre, double sim) noexcept {
    return {std::copysign(re, sre), std::copysign(im, sim)};
}
inline Complex negated_if(double re, double im, bool nre, bool nim) noexcept {
    return {negated_if(re, nre), negated_if(im, nim)};
}

} // namespace detail

// ---------------------------------------------------------------- basics

constexpr double norm(const Complex& z) noexcept { return z.re * z.re + z.im * z.im; }

inline Complex proj(const Complex& z) noexcept {
    if (std::isinf(z.re) || std::isinf(z.im))
        return {std::numeric_limits<double>::infinity(), std::copysign(0.0, z.im)};
    return z;
}

// ------------------------------------------------------------- square root

namespace detail {

// t = sqrt((x + |z|) / 2) and y / 2t for x, y >= 0 whose squares neither
// overflow nor underflow, |z| and t in the extended type, so that each part
// is rounded once.
inline Complex sqrt_parts(double x, double y) noexcept {
    const ext t = ext_sqrt((ext_sqrt(ext_mul(x, x) + ext_mul(y, y)) + x) * 0.5);
    return {to_double(t), to_double(ext(y) / (t * 2.0))};
}

// The same for parts out of that range, scaled by an even power of two:
// sqrt(4^k z) = 2^k sqrt(z).
CPLX_NOINLINE inline Complex sqrt_scaled(double x, double y) noexcept {
    const double big = x > y ? x : y;
    const int e = (std::ilogb(big) / 2) * 2;
    const Complex r = sqrt_parts(std::scalbn(x, -e), std::scalbn(y, -e));
    if (y != 0 && std::fabs(r.im) < 0x1p-1000) { // y / 2t from y itself, scaled by 2^-k only
        const double t = r.re;
        return {std::scalbn(t, e / 2), to_double(ext(std::scalbn(y, -e / 2)) / (ext(t) * 2.0))};
    }
    return {std::scalbn(r.re, e / 2), std::scalbn(r.im, e / 2)};
}

} // namespace detail

// With t = sqrt((|x| + |z|) / 2), which never forms |z| - |x| and so never
// cancels: for x >= 0 the root is t + i y / 2t, for x < 0 |y| / 2t + i t,
// the sign of t that of y. Where 16 |y| >= |x|, |z| - |x| loses at most 9
// bits, fewer than x87 carries beyond a double, and the real part and
// |imaginary part| are sqrt((|z| + x) / 2) and sqrt((|z| - x) / 2): two
// square roots in one sqrtpd and no division, the slowest step.
CPLX_KERNEL Complex sqrt(const Complex& z) noexcept {
#if CPLX_X86_KERNELS
    unsigned long long bx = 0, by = 0;
    std::memcpy(&bx, &z.re, sizeof bx);
    std::memcpy(&by, &z.im, sizeof by);
    const unsigned long long ax = bx << 1, ay = by << 1, big = ax > ay ? ax : ay; // magnitudes' bits, shifted
    constexpr unsigned long long low = (0x3ffull - 1000) << 53, high = (0x3ffull + 1000) << 53;
    if (CPLX_LIKELY(big - low < high - low && ay + (4ull << 53) >= ax)) { // 2^-1000 <= max < 2^1001, 16|y| >= |x|
        double a = 0, b = 0, re, im;
        static constexpr float half = 0.5f;
        __asm__(
            "fldl %[x]\n\t"
            "fmuls %[half]\n\t"
            "fld %%st(0)\n\t"
            "fmul %%st(0), %%st\n\t"
            "fldl %[y]\n\t"
            "fmuls %[half]\n\t"
            "fmul %%st(0), %%st\n\t"
            "faddp\n\t"
            "fsqrt\n\t" // |z| / 2, x / 2
            "fld %%st(0)\n\t"
            "fadd %%st(2), %%st\n\t"
            "fstpl %[a]\n\t" // (|z| + x) / 2
            "fsub %%st(1), %%st\n\t"
            "fstpl %[b]\n\t" // (|z| - x) / 2
            "fstp %%st(0)\n\t"
            "movsd %[a], %[re]\n\t"
            "movhpd %[b], %[re]\n\t" // two loads, each forwarded from its store
            "sqrtpd %[re], %[re]\n\t"
            "movapd %[re], %[im]\n\t"
            "unpckhpd %[im], %[im]"
            : [a] "=m"(a), [b] "=m"(b), [re] "=&x"(re), [im] "=&x"(im)
            : [x] "m"(z.re), [y] "m"(z.im), [half] "m"(half)
            : "st", "st(1)", "st(2)");
        return {re, std::copysign(im, z.im)};
    }
    constexpr unsigned long long top = 0x7ff0000000000000ull << 1;
    if (CPLX_LIKELY(big < top && big != 0)) { // finite, not both zero
        // x87 has the range for every finite square and a single rounding
        // per part; written out because the compiler would pass each operand
        // and result through a stack slot of its own choosing, which costs
        // a third of the time.
        double r[2]; // t = sqrt((|x| + |z|) / 2) and |y| / 2t, in the order of the result
        const bool neg = bx >> 63;
        static constexpr float half = 0.5f;
        __asm__(
            "fldl %[y]\n\t"
            "fabs\n\t" // |y|
            "fldl %[x]\n\t"
            "fabs\n\t" // |x|, |y|
            "fld %%st(0)\n\t"
            "fmul %%st(0), %%st\n\t"
            "fld %%st(2)\n\t"
            "fmul %%st(0), %%st\n\t"
            "faddp\n\t"
            "fsqrt\n\t" // |z|, |x|, |y|
            "faddp\n\t"
            "fmuls %[half]\n\t"
            "fsqrt\n\t" // t, |y|
            "fld %%st(0)\n\t"
            "fadd %%st(0), %%st\n\t"
            "fdivr %%st(2), %%st\n\t" // |y| / 2t, t, |y|
            "fstpl %[q]\n\t"
            "fstpl %[t]\n\t"
            "fstp %%st(0)"
            : [t] "=m"(r[neg]), [q] "=m"(r[!neg])
            : [x] "m"(z.re), [y] "m"(z.im), [half] "m"(half)
            : "st", "st(1)", "st(2)", "st(3)");
        return {r[0], std::copysign(r[1], z.im)};
    }
#endif
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    const double s = x * x + y * y;
    Complex r; // t and y / 2t
    if (CPLX_LIKELY(detail::safe(s, s))) {
        r = detail::sqrt_parts(x, y);
    } else {
        constexpr double inf = std::numeric_limits<double>::infinity();
        if (std::isinf(y)) return {inf, z.im};
        if (std::isnan(z.re) || (std::isnan(y) && !std::isinf(x))) return {z.re + z.im, z.re + z.im};
        if (std::isinf(x)) {
            const double other = std::isnan(y) ? y : 0.0;
            return std::signbit(z.re) ? Complex(other, std::copysign(inf, z.im))
                                      : Complex(inf, std::copysign(other, z.im));
        }
        if (x == 0 && y == 0) return {0.0, z.im};
        r = detail::sqrt_scaled(x, y);
    }
    return std::signbit(z.re) ? Complex(r.im, std::copysign(r.re, z.im)) : Complex(r.re, std::copysign(r.im, z.im));
}

// ------------------------------------------------------- exp, log and pow

namespace detail {

// exp past the kernels' ranges: huge or tiny e^x, huge y, infinities, NaNs.
CPLX_NOINLINE inline Complex exp_rare(const Complex& z) noexcept {
    const double x = z.re, y = std::fabs(z.im);
    if (y == 0) return {std::exp(x), z.im};
    constexpr double inf = std::numeric_limits<double>::infinity();
    if (std::isnan(x) || (!finite(y) && x != -inf)) {
        if (x == inf) return {inf, y - y};
        return {x + y - y, x + y - y};
    }
    if (x == -inf) {
        const bool fin = finite(y);
        return negated_if(fin ? std::copysign(0.0, std::cos(y)) : 0.0, fin ? std::copysign(0.0, std::sin(y)) : 0.0,
                          false, std::signbit(z.im));
    }
    return negated_if(exp_times(x, std::cos(y)), exp_times(x, std::sin(y)), false, std::signbit(z.im));
}

} // namespace detail

// e^x cos y + i e^x sin y; a zero y is the imaginary part itself. The sine
// is odd and the cosine even to the last bit, so conj(exp(z)) == exp(conj z).
CPLX_KERNEL Complex exp(const Complex& z) noexcept {
    if (CPLX_LIKELY(z.re > -700 && z.re < 709 && std::fabs(z.im) < 0x1p16)) { // the kernels' ranges
        const detail::dd e = detail::exp_pair(z.re);
        const detail::sine_cosine p = detail::sin_cos_parts(z.im);
        return {detail::mul_parts(e, p.c), detail::mul_parts(e, p.s)};
    }
    return detail::exp_rare(z);
}

// log|z| + i arg z, with arg exactly std::atan2(im, re).
inline Complex log(const Complex& z) noexcept {
    const double theta = std::atan2(z.im, z.re);
    if (CPLX_LIKELY(detail::finite(z.re) && detail::finite(z.im) && (z.re != 0 || z.im != 0)))
        return {detail::log_abs(z.re, z.im), theta};
    constexpr double inf = std::numeric_limits<double>::infinity();
    if (std::isinf(z.re) || std::isinf(z.im)) return {inf, theta};
    if (std::isnan(z.re) || std::isnan(z.im)) return {z.re + z.im, z.re + z.im};
    return {-inf, theta};
}

// log(z) / ln 10, with 1 / ln 10 held to double-double.
inline Complex log10(const Complex& z) noexcept {
    constexpr detail::dd inv_ln10 = {0x1.bcb7b1526e50ep-2, 0x1.95355baaafad3p-57};
    const Complex l = log(z);
    return {l.re * inv_ln10.hi + l.re * inv_ln10.lo, l.im * inv_ln10.hi + l.im * inv_ln10.lo};
}

namespace detail {

// log z for finite non-zero z, both parts in the extended type, for pow.
struct ext_complex {
    ext re, im;
};

CPLX_KERNEL ext_complex log_ext(const Complex& z) noexcept {
    const scaled_parts p = scale_parts(z.re, z.im);
    dd s = {to_double(p.s), 0};
    if (CPLX_LIKELY(p.e != 0 || s.hi < 0.5 || s.hi > 2))
        s.lo = to_double(p.s - s.hi);
    else
        s = sum_of_squares(p.x, p.y); // near |z| = 1, where the logarithm cancels
    const ext l = half_log_ext(s.hi, s.lo, p.e);
    return {l, atan2_ext(p.y, p.x, std::signbit(z.im), std::signbit(z.re))};
}

// e^(uh + ul) cis(vh + vl) for |ul|, |vl| within a few ulps of uh and vh:
// e^uh cis(vh), corrected to first order by ul and vl, which is all they
// need; e^uh itself needs no more than its rounding, an ulp of the result.
CPLX_KERNEL Complex exp_cis(double uh, double ul, double vh, double vl) noexcept {
    if (CPLX_LIKELY(uh > -700 && uh < 709 && std::fabs(vh) < 0x1p16)) {
        const dd e = exp_pair(uh), eu = {e.hi, e.lo + e.hi * ul};
        const sine_cosine p = sin_cos_parts(vh);
        return {mul_parts(eu, {p.c.hi, p.c.lo - p.s.hi * vl}), mul_parts(eu, {p.s.hi, p.s.lo + p.c.hi * vl})};
    }
    double s, c;
    sin_cos(vh, s, c);
    return {exp_times(uh, (c - s * vl) * (1 + ul)), exp_times(uh, (s + c * vl) * (1 + ul))};
}

// z^n for an integer 0 < |n| <= 64 by binary powering in the extended type,
// which keeps the error near an ulp where plain doubles would double it at
// every squaring; a negative n powers 1/z. Needs every power of z on the way
// to stay within 2^+-900.
CPLX_NOINLINE inline Complex pow_int(const Complex& z, int n) noexcept {
    ext br = z.re, bi = z.im;
    if (n < 0) {
        const ext d = ext_mul(z.re, z.re) + ext_mul(z.im, z.im);
        br = br / d;
        bi = -bi / d;
    }
    const unsigned power = static_cast<unsigned>(n < 0 ? -n : n);
    ext pr = power & 1 ? br : ext(1.0), pi = power & 1 ? bi : ext(0.0);
    for (unsigned m = power >> 1; m != 0; m >>= 1) {
        const ext sq = br * br - bi * bi;
        bi = br * bi * 2.0;
        br = sq;
        if (m & 1) {
            const ext r = pr * br - pi * bi;
            pi = pr * bi + pi * br;
            pr = r;
        }
    }
    return {to_double(pr), to_double(pi)};
}

#if CPLX_X86_KERNELS
// e^(uh + ul) cis(vh + vl) as exp_cis, but to an ulp or two of the result's
// norm rather than of each part, which is all pow's bound needs: the
// reductions are two fmas each, the table values rounded to doubles, no
// pairs.
__attribute__((target("fma"))) CPLX_KERNEL Complex exp_cis_fma(double uh, double ul, double vh, double vl) noexcept {
    if (CPLX_LIKELY(uh > -700 && uh < 709 && std::fabs(vh) < 0x1p16)) {
        // e^uh = 2^(k/32) e^r, r = uh - k ln2/32
        const double te = __builtin_fma(uh, 0x1.71547652b82fep+5, kRoundShift), ke = te - kRoundShift;
        const double re = __builtin_fma(-ke, 0x1.abc9e3b39803fp-61, __builtin_fma(-ke, 0x1.62e42fefa39efp-6, uh));
        const double re2 = re * re;
        const double pe =
            re + re2 * ((0.5 + re * (1.0 / 6)) + re2 * ((1.0 / 24 + re * (1.0 / 120)) + re2 * (1.0 / 720)));
        unsigned long long kb = 0;
        std::memcpy(&kb, &te, sizeof te);
        const dd ex = exp_scaled(static_cast<int>(static_cast<unsigned>(kb)), pe);
        const double e = (ex.hi + ex.lo) * (1 + ul);
        // cis vh = cis(j pi/32) cis r, r = vh - j pi/32
        const double ts = __builtin_fma(vh, 0x1.45f306dc9c883p+3, kRoundShift), kd = ts - kRoundShift;
        const double r = __builtin_fma(-kd, 0x1.1a62633145c07p-58, __builtin_fma(-kd, 0x1.921fb54442d18p-4, vh));
        const double r2 = r * r, r4 = r2 * r2;
        const double ps = r * r2 * ((-1.0 / 6 + r2 * (1.0 / 120)) + r4 * (-1.0 / 5040));            // sin r - r
        const double pc = r2 * ((-0.5 + r2 * (1.0 / 24)) + r4 * (-1.0 / 720 + r2 * (1.0 / 40320))); // cos r - 1
        unsigned long long jb = 0;
        std::memcpy(&jb, &ts, sizeof ts);
        const dd &sj = kSinTable.v[jb & 63], cj = kSinTable.v[(jb + 16) & 63];
        const double sv = sj.hi + sj.lo, cv = cj.hi + cj.lo, sr = r + ps;
        const double sn = __builtin_fma(sv, pc, cv * sr) + sv, cs = __builtin_fma(cv, pc, -(sv * sr)) + cv;
        return {e * __builtin_fma(-sn, vl, cs), e * __builtin_fma(cs, vl, sn)};
    }
    return exp_cis(uh, ul, vh, vl);
}

// With fused multiply-adds, double-double arithmetic is short enough to beat
// x87 here: log z and w log z as pairs of doubles, each product's error an
// fma, the divisions' remainders too. Chosen at run time, on processors that
// have FMA; the x87 path below is the rest's.
template <bool real_w>
__attribute__((target("fma"))) CPLX_NOINLINE Complex pow_fma(const Complex& z, double wr, double wi) noexcept {
    const scaled_parts p = scale_parts(z.re, z.im); // its extended sum of squares goes unused
    const double x = p.x, y = p.y, xx = x * x, yy = y * y;
    const dd s0 = two_sum(xx, yy),
             s = fast_two_sum(s0.hi, s0.lo + (__builtin_fma(x, x, -xx) + __builtin_fma(y, y, -yy)));
    // log|z| = log(s) / 2 + e ln 2, as in half_log_ext, t = th + tl
    const log_reduced r = log_reduce(s.hi);
    const double ml = s.lo * power_of_two(-r.k);
    const dd num = two_sum(r.m - r.c, ml);
    dd den = two_sum(r.m, r.c);
    den.lo += ml;
    const double th = num.hi / den.hi, inv = 1 / den.hi;
    const double tl = (__builtin_fma(-th, den.hi, num.hi) + (num.lo - th * den.lo)) * inv;
    const int n = r.k + 2 * p.e;
    const dd lb = two_sum(n * kLn2Hi, kLogTable[r.j + 9].hi);
    const dd lr = two_sum(lb.hi * 0.5, th); // the series' tail stays low, for the normalization below
    const double lrl = lr.lo + ((lb.lo + n * kLn2Lo + kLogTable[r.j + 9].lo) * 0.5 + (tl + atanh_tail(th)));
    // arg z, as in atan2_ext, d = dh + dl
    const atan_reduced a = atan_reduce(y, x, std::signbit(z.im), std::signbit(z.re));
    const double al = __builtin_fma(-a.t, a.b, a.a) * (1 / a.b); // a / b = t + al
    const dd anum = two_sum(a.t - a.c, al);                      // t - c is exact
    const double pc = a.t * a.c;
    dd aden = fast_two_sum(1, pc);
    aden.lo += __builtin_fma(a.t, a.c, -pc) + al * a.c;
    const double dh = anum.hi / aden.hi, inv2 = 1 / aden.hi;
    const double dl = (__builtin_fma(-dh, aden.hi, anum.hi) + (anum.lo - dh * aden.lo)) * inv2;
    const dd li = two_sum(a.base.hi, dh * a.rsign);
    const double lil = li.lo + (a.base.lo + (dl * a.rsign + atan_tail(dh, a.rsign)));
    // w log z, normalized: exp_cis takes its low parts to first order only
    dd un, vn;
    if constexpr (real_w) { // half the products
        const double p1 = wr * lr.hi, p4 = wr * li.hi;
        un = fast_two_sum(p1, __builtin_fma(wr, lr.hi, -p1) + wr * lrl);
        vn = fast_two_sum(p4, __builtin_fma(wr, li.hi, -p4) + wr * lil);
    } else {
        const double p1 = wr * lr.hi, p2 = wi * li.hi, p3 = wi * lr.hi, p4 = wr * li.hi;
        const dd u = two_sum(p1, -p2), v = two_sum(p3, p4);
        const double ul =
            u.lo + ((__builtin_fma(wr, lr.hi, -p1) - __builtin_fma(wi, li.hi, -p2)) + (wr * lrl - wi * lil));
        const double vl =
            v.lo + ((__builtin_fma(wi, lr.hi, -p3) + __builtin_fma(wr, li.hi, -p4)) + (wi * lrl + wr * lil));
        un = fast_two_sum(u.hi, ul);
        vn = fast_two_sum(v.hi, vl);
    }
    return exp_cis_fma(un.hi, un.lo, vn.hi, vn.lo);
}
#endif

// x87's: log z and w log z in the extended type.
inline Complex pow_ext(const Complex& z, double wr, double wi) noexcept {
    const ext_complex l = log_ext(z);
    const ext u = l.re * wr - l.im * wi, v = l.im * wr + l.re * wi;
    const double uh = to_double(u), vh = to_double(v);
    return exp_cis(uh, to_double(u - uh), vh, to_double(v - vh));
}

// z^w for finite, non-zero z.
CPLX_KERNEL Complex pow_general(const Complex& z, double wr, double wi) noexcept {
#if CPLX_X86_KERNELS
    // Before the runtime has read the processor's features, as in a static
    // constructor, this finds no FMA and the x87 path runs: slower, as exact.
    if (CPLX_LIKELY(__builtin_cpu_supports("fma")))
        return wi == 0 ? pow_fma<true>(z, wr, 0) : pow_fma<false>(z, wr, wi);
#endif
    return pow_ext(z, wr, wi);
}

} // namespace detail

// z^w = e^(w log z), with w log z to about 2^-63, as double-doubles where the
// processor has FMA and in the extended type elsewhere: the error of the
// result is about |w log z| times that of w log z. Small integer powers are
// products. z^0 is 1 for every z.
inline Complex pow(const Complex& z, double w) noexcept {
    if (w == 0) return {1, 0};
    const double big = detail::magnitude(z);
    if (!detail::finite(big) || big == 0 || !detail::finite(w)) return exp(w * log(z));
    if (std::fabs(w) <= 64 && w == static_cast<int>(w)) {
        const int n = static_cast<int>(w);
        if (std::fabs((std::ilogb(big) + 1.0) * n) < 900) return detail::pow_int(z, n);
    }
    return detail::pow_general(z, w, 0);
}

inline Complex pow(const Complex& z, const Complex& w) noexcept {
    if (w.im == 0) return pow(z, w.re);
    const double big = detail::magnitude(z);
    if (!detail::finite(big) || big == 0 || !detail::finite(w.re) || !detail::finite(w.im)) return exp(w * log(z));
    return detail::pow_general(z, w.re, w.im);
}

// ------------------------------------------------ hyperbolic and circular

namespace detail {

// sinh (or, with `cosine`, cosh) of a + ib for a, b >= 0, past the kernels'
// ranges.
CPLX_NOINLINE inline Complex sinh_cosh_rare(double a, double b, bool cosine) noexcept {
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    if (a < 22 && b < inf) {
        double s, c;
        sin_cos(b, s, c);
        const cosh_sinh h = hyperbolic(a);
        return {mul_parts(cosine ? h.ch : h.sh, {c, 0.0}), mul_parts(cosine ? h.sh : h.ch, {s, 0.0})}; // b >= 2^16
    }
    if (a - a == 0 && b < inf) { // 22 <= a: cosh a = sinh a = e^a / 2 to the last bit
        return {exp_times(a, std::cos(b), 1), b == 0 ? b : exp_times(a, std::sin(b), 1)};
    }
    if (std::isnan(a)) return {a, b == 0 ? b : nan};
    if (a == inf) {
        if (b == 0) return {inf, b};
        if (b < inf) return {std::copysign(inf, std::cos(b)), std::copysign(inf, std::sin(b))};
        return {inf, nan};
    }
    // a finite, b infinite or NaN.
    if (a == 0) return cosine ? Complex(nan, a) : Complex(a, nan);
    return {nan, nan};
}

// sinh (or, with `cosine`, cosh) of a + ib for a, b >= 0, finite or not.
CPLX_KERNEL Complex sinh_cosh_first(double a, double b, bool cosine) noexcept {
    if (CPLX_LIKELY(a < 22 && b < 0x1p16)) {
        const sine_cosine p = sin_cos_parts(b);
        const cosh_sinh h = hyperbolic(a);
        return {mul_parts(cosine ? h.ch : h.sh, p.c), mul_parts(cosine ? h.sh : h.ch, p.s)}; // sin 0 is +0
    }
    return sinh_cosh_rare(a, b, cosine);
}

// tanh(a + ib) for 0 <= a < 1/2 as (sinh a cosh a + i sin b cos b) /
// (sinh^2 a + cos^2 b), whose denominator is a sum of squares and so never
// cancels; in the extended type.
CPLX_NOINLINE inline Complex tanh_small(double a, double b) noexcept {
    double sn, cs;
    sin_cos(b, sn, cs);
    const cosh_sinh h = hyperbolic(a);
    const ext s = sn, c = cs, sh = from_dd(h.sh), ch = from_dd(h.ch), den = sh * sh + c * c;
    return {to_double(sh * ch / den), to_double(s * c / den)};
}

// For a >= 1/2, (sinh 2a + i sin 2b) / (cosh 2a + cos 2b): the denominator
// is at least 0.54 and its parts, as hi + lo pairs, are accurate enough that
// its cancellation costs nothing. With d normalized, n / d = q + (n.lo -
// q d.lo) / d.hi to within an ulp, q = n.hi / d.hi.
CPLX_KERNEL Complex tanh_parts(double a, double b) noexcept {
    if (a < 0.5) return tanh_small(a, b);
    const sine_cosine p = sin_cos_parts(2 * b);
    const cosh_sinh h = hyperbolic(2 * a);
    const dd t = two_sum(h.ch.hi, p.c.hi), d = fast_two_sum(t.hi, t.lo + (h.ch.lo + p.c.lo));
    const double qr = h.sh.hi / d.hi, qi = p.s.hi / d.hi;
    return {qr + (h.sh.lo - qr * d.lo) / d.hi, qi + (p.s.lo - qi * d.lo) / d.hi};
}

// Past a = 22, tanh a is 1 to the last bit and the imaginary part is
// 2 sin 2b e^(-2a).
CPLX_NOINLINE inline Complex tanh_rare(double a, double b) noexcept {
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    if (a < 22 && b < inf) return tanh_small(a, b); // b >= 2^15: its sum of squares serves
    if (a - a == 0 && b < inf) {
        const double s2 = b < 0x1p1020 ? std::sin(2 * b) : 2 * std::sin(b) * std::cos(b);
        return {1, b == 0 ? b : 2 * s2 * std::exp(-2 * a)};
    }
    if (a == inf) return {1, b < inf ? std::copysign(0.0, std::sin(2 * b)) : 0.0};
    if (std::isnan(a)) return {a, b == 0 ? b : nan};
    return {a == 0 ? a : nan, nan};
}

CPLX_KERNEL Complex tanh_first(double a, double b) noexcept {
    if (CPLX_LIKELY(a < 22 && b < 0x1p15 && b != 0)) return tanh_parts(a, b);
    return tanh_rare(a, b);
}

} // namespace detail

CPLX_KERNEL Complex sinh(const Complex& z) noexcept {
    const Complex h = detail::sinh_cosh_first(std::fabs(z.re), std::fabs(z.im), false);
    return detail::negated_if(h.re, h.im, std::signbit(z.re), std::signbit(z.im));
}

CPLX_KERNEL Complex cosh(const Complex& z) noexcept {
    const Complex h = detail::sinh_cosh_first(std::fabs(z.re), std::fabs(z.im), true);
    return detail::negated_if(h.re, h.im, false, std::signbit(z.re) != std::signbit(z.im));
}

CPLX_KERNEL Complex tanh(const Complex& z) noexcept {
    const Complex t = detail::tanh_first(std::fabs(z.re), std::fabs(z.im));
    return detail::negated_if(t.re, t.im, std::signbit(z.re), std::signbit(z.im));
}

// sin z = -i sinh(iz), cos z = cosh(iz), tan z = -i tanh(iz).
CPLX_KERNEL Complex sin(const Complex& z) noexcept {
    const Complex s = sinh(Complex(-z.im, z.re));
    return {s.im, -s.re};
}

CPLX_KERNEL Complex cos(const Complex& z) noexcept { return cosh(Complex(-z.im, z.re)); }

CPLX_KERNEL Complex tan(const Complex& z) noexcept {
    const Complex t = tanh(Complex(-z.im, z.re));
    return {t.im, -t.re};
}

// ------------------------------------------------------ inverse functions

namespace detail {

// asin (or, with `cosine`, acos) of x + iy for x, y >= 0 finite (Hull,
// Fairgrieve and Tang, "Implementing the complex arcsine and arccosine
// functions using exception handling", 1997): the real part, and the
// magnitude of the imaginary part, which both share.
CPLX_NOINLINE inline Complex asin_acos_first(double x, double y, bool cosine) noexcept {
    constexpr double ln2 = 0x1.62e42fefa39efp-1;
    if (x > 0x1p28 || y > 0x1p28) { // asin z = -i log(2iz) to within |z|^-2
        return {cosine ? std::atan2(y, x) : std::atan2(x, y), log_abs(x, y) + ln2};
    }
    if (x == 1 && y < 0x1p-500) { // asin(1 + iy) = pi/2 - (1 - i) sqrt(y) to within y
        const double r = std::sqrt(y);
        return {cosine ? r : kPi2.hi - r + kPi2.lo, r};
    }
    // R = |z + 1|, S = |z - 1|, A = (R + S) / 2 >= 1, B = x / A, in the
    // extended type, so that each argument of a real function is rounded once.
    // Every argument is formed before any call, so that no long double has to
    // be kept across one.
    const ext xp1 = ext(x) + 1.0, xm1 = ext(x) - 1.0, y2 = ext_mul(y, y);
    const ext r = ext_sqrt(xp1 * xp1 + y2), s = ext_sqrt(xm1 * xm1 + y2);
    const ext a = (r + s) * 0.5;
    const ext rx1 = r + xp1; // R + x + 1
    const double b = to_double(ext(x) / a);
    double re_arg = b; // of asin or acos, or else of atan
    if (b > 0.6417) {  // asin B = atan(x / sqrt(A^2 - x^2)), without the cancellation in 1 - B^2
        const ext apx = a + x;
        const ext fx =
            x <= 1 ? ext_sqrt(apx * (y2 / rx1 + (s - xm1)) * 0.5) : ext_sqrt((apx / rx1 + apx / (s + xm1)) * 0.5) * y;
        re_arg = to_double(cosine ? fx / x : ext(x) / fx);
    }
    const bool tiny = x < 1 && y < 0x1p-500; // y^2 is negligible and would underflow
    const bool near = to_double(a) <= 10;    // then A - 1, without cancellation
    double im_arg;
    if (tiny) {
        im_arg = y / to_double(ext_sqrt(ext(1.0) - ext_mul(x, x)));
    } else if (near) {
        const ext am1 = (y2 / rx1 + (x < 1 ? y2 / (s - xm1) : s + xm1)) * 0.5;
        im_arg = to_double(am1 + ext_sqrt(am1 * (a + 1.0)));
    } else {
        im_arg = to_double(a + ext_sqrt(a * a - 1.0));
    }
    const double re = b <= 0.6417 ? (cosine ? std::acos(re_arg) : std::asin(re_arg)) : std::atan(re_arg);
    return {re, tiny ? im_arg : near ? std::log1p(im_arg) : std::log(im_arg)};
}

// 1 - x^2 - y^2 exactly, where it cancels.
CPLX_NOINLINE inline double one_minus_norm(double x, double y) noexcept {
    return to_double((dd(1) - two_prod(x, x)) - two_prod(y, y));
}

// atanh(x + iy) for x, y >= 0 finite (Kahan 1987): the real part is
// log1p(4x / ((1 - x)^2 + y^2)) / 4, the imaginary part
// atan2(2y, (1 - x)(1 + x) - y^2) / 2, with that difference formed exactly
// where it cancels, near |z| = 1.
CPLX_NOINLINE inline Complex atanh_rare(double x, double y) noexcept {
    if (x > 0x1p28 || y > 0x1p28) { // atanh z = 1/z + i pi/2 to within |z|^-3
        const Complex w = Complex(1, 0) / Complex(x, y);
        return {w.re, (kPi2.hi + w.im) + kPi2.lo};
    }
    const double omx = 1 - x;
    const double d = omx * omx + y * y;
    double re;
    if (d > 0x1p-50) {
        re = std::log1p(4 * x / d) / 4;
    } else if (x == 1 && y == 0) {
        re = std::numeric_limits<double>::infinity();
    } else { // (1 - x)^2 + y^2 tiny: take the logarithms apart
        re = (std::log((1 + x) * (1 + x) + y * y) - 2 * log_abs(omx, y)) / 4;
    }
    double den = omx * (1 + x) - y * y;
    if (std::fabs(den) < 0.5) den = one_minus_norm(x, y);
    return {re, std::atan2(2 * y, den) / 2};
}

CPLX_KERNEL Complex atanh_first(double x, double y) noexcept {
    const double omx = 1 - x, d = omx * omx + y * y, den = omx * (1 + x) - y * y;
    if (CPLX_LIKELY(x <= 0x1p28 && y <= 0x1p28 && d > 0x1p-50 && std::fabs(den) >= 0.5))
        return {std::log1p(4 * x / d) / 4, std::atan2(2 * y, den) / 2};
    return atanh_rare(x, y);
}

} // namespace detail

namespace detail {

// asin (or, with `cosine`, acos) of x + iy for x, y >= 0, finite or not: the
// real part and the magnitude of the imaginary part.
inline Complex asin_acos_magnitudes(double x, double y, bool cosine) noexcept {
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    if (CPLX_LIKELY(x < inf && y < inf)) return asin_acos_first(x, y, cosine);
    if (std::isnan(x) || std::isnan(y)) {
        Complex r(nan, nan);
        if (x == 0) r.re = cosine ? kPi2.hi : x;
        if (std::isinf(x) || std::isinf(y)) r.im = inf;
        return r;
    }
    return {cosine ? std::atan2(y, x) : std::atan2(x, y), inf};
}

} // namespace detail

inline Complex asin(const Complex& z) noexcept {
    const Complex a = detail::asin_acos_magnitudes(std::fabs(z.re), std::fabs(z.im), false);
    return detail::signed_like(a.re, a.im, z.re, z.im);
}

// acos(-z) = pi - acos(z), and the imaginary part has the opposite sign of z's.
inline Complex acos(const Complex& z) noexcept {
    const Complex a = detail::asin_acos_magnitudes(std::fabs(z.re), std::fabs(z.im), true);
    const double re = std::signbit(z.re) && !std::isnan(a.re) ? (detail::kPi.hi - a.re) + detail::kPi.lo : a.re;
    return {re, std::signbit(z.im) ? a.im : -a.im};
}

namespace detail {

// atanh of x + iy for x, y >= 0 infinite or NaN.
CPLX_NOINLINE inline Complex atanh_special(double x, double y) noexcept {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    Complex a;
    if (std::isnan(x) || std::isnan(y)) {
        if (std::isinf(y)) {
            a = {0, kPi2.hi};
        } else {
            a = {x == 0 || std::isinf(x) ? 0 : nan, nan};
        }
    } else {
        a = {0, kPi2.hi};
    }
    return a;
}

} // namespace detail

CPLX_KERNEL Complex atanh(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    constexpr double inf = std::numeric_limits<double>::infinity();
    const Complex a = CPLX_LIKELY(x < inf && y < inf) ? detail::atanh_first(x, y) : detail::atanh_special(x, y);
    return detail::signed_like(a.re, a.im, z.re, z.im);
}

// asinh z = -i asin(iz), atan z = -i atanh(iz); acosh from acos.
inline Complex asinh(const Complex& z) noexcept {
    const Complex a = asin(Complex(-z.im, z.re));
    return {a.im, -a.re};
}

CPLX_KERNEL Complex atan(const Complex& z) noexcept {
    const Complex a = atanh(Complex(-z.im, z.re));
    return {a.im, -a.re};
}

inline Complex acosh(const Complex& z) noexcept {
    const Complex a = acos(z);
    return {std::fabs(a.im), std::copysign(a.re, z.im)};
}

} // namespace cplx

#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic pop
#endif

#undef CPLX_KERNEL
#undef CPLX_X86_KERNELS

#endif // CPLX_FUNCTIONS_HPP
