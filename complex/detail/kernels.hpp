// SPDX-License-Identifier: MIT
// The real kernels under the elementary functions, all in doubles and
// double-doubles: sine and cosine with their argument reduction, e^x with
// cosh and sinh, log and atan2 to double-double precision, and their tables.
// Each kernel returns more than a double's worth (a pair hi + lo, or a
// double-double) so that the complex function built on it rounds once; each
// states its error bound and why it holds just above it. None calls the C
// library, so their accuracy is the same on every platform.

#ifndef CPLX_DETAIL_KERNELS_HPP
#define CPLX_DETAIL_KERNELS_HPP

#include <cmath>
#include <cstdint>
#include <limits>

#include "config.hpp"
#include "dd.hpp"

CPLX_DIAGNOSTICS_BEGIN

namespace cplx {
namespace detail {

// ---------------------------------------------------------------- constants

// Adding it to |x| < 2^51 rounds x to an integer, kept in the low bits.
inline constexpr double kRoundShift = 0x1.8p52;

inline constexpr dd kPi = {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
inline constexpr dd kPi2 = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
// ln 2 with its last 12 bits zero, so that k * kLn2Hi is exact for |k| < 4096.
inline constexpr double kLn2Hi = 0x1.62e42fefa3p-1, kLn2Lo = 0x1.3de6af278ece6p-42;

// 2^m for -1022 <= m <= 1023.
CPLX_INLINE double power_of_two(int m) noexcept { return from_bits(static_cast<std::uint64_t>(m + 1023) << 52); }

// Flips the sign bit without a branch: the signs of random inputs are
// unpredictable, and a mispredicted branch costs as much as the arithmetic.
CPLX_INLINE double negated_if(double v, bool n) noexcept {
    return from_bits(to_bits(v) ^ (static_cast<std::uint64_t>(n) << 63));
}

// ------------------------------------------------------- sine and cosine

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
        t.v[j] = q < 2 || e.hi == 0 ? e : dd{-e.hi, -e.lo};
    }
    return t;
}

inline constexpr sin_turn kSinTable = unfold_sin_table();

// The bits of 1/pi after the binary point, 32 to a word: 1/pi =
// sum w[i] 2^(-32 (i + 1)). Enough for the reduction of any double. Made from
// 2^1464 / pi, with pi from Machin's formula in integer arithmetic; its first
// 128 bits, doubled, are 2/pi's well-known a2f9836e4e441529fc2757d1f534ddc0.
inline constexpr std::uint32_t kInvPiBits[38] = {
    0x517cc1b7, 0x27220a94, 0xfe13abe8, 0xfa9a6ee0, 0x6db14acc, 0x9e21c820, 0xff28b1d5, 0xef5de2b0,
    0xdb92371d, 0x2126e970, 0x03249775, 0x04e8c90e, 0x7f0ef58e, 0x5894d39f, 0x74411afa, 0x975da242,
    0x74ce3813, 0x5a2fbf20, 0x9cc8eb1c, 0xc1a99cfa, 0x4e422fc5, 0xdefc941d, 0x8ffc4bff, 0xef02cc07,
    0xf79788c5, 0xad05368f, 0xb69b3f67, 0x93e584db, 0xa7a31fb3, 0x4f2ff516, 0xba93dd63, 0xf5f2f8bd,
    0x9e839cfb, 0xc5294975, 0x35fdafd8, 0x8fc6ae84, 0x2b019823, 0x7e3db5d5,
};

inline constexpr dd kPi32 = {0x1.921fb54442d18p-4, 0x1.1a62633145c07p-58};

// a = (64 m + k) pi/32 + r for finite a >= 1/32, |r| <= pi/64.
struct reduced {
    int k; // 0..63
    double rh, rl;
};

// Payne and Hanek's reduction: with a = M 2^E, a 32/pi mod 64 is the product
// of M and the 256 bits of 1/pi from the first that can reach below 2^6,
// taken as 32-bit limbs; the words before it only add multiples of 64. The
// bits dropped after the window change a 32/pi by less than 2^53 2^(5 + E -
// 32 (i0 + 8)) <= 2^-165; the fraction is read to 2^-159 as three exact
// 53-bit pieces. Since no double lies closer than about 2^-66 to a multiple
// of pi/32, r is then good to 2^-95 relative, far below the polynomial's
// share. Used past the fast reduction's range and where r is too small for
// its absolute error.
CPLX_NOINLINE inline reduced reduce_large(double a) noexcept {
    const std::uint64_t bits = to_bits(a);
    const int e = static_cast<int>(bits >> 52) - 1075; // a = m 2^e, a normal
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int i0 = e > 32 ? (e - 33) / 32 + 1 : 0;
    std::uint64_t p[12] = {}; // the product, 32-bit limbs, least significant first
    const std::uint64_t m0 = m & 0xffffffffu, m1 = m >> 32;
    for (int j = 0; j < 8; ++j) {
        const std::uint64_t w = kInvPiBits[i0 + 7 - j], lo = m0 * w, hi = m1 * w;
        p[j] += lo & 0xffffffffu;
        p[j + 1] += (lo >> 32) + (hi & 0xffffffffu);
        p[j + 2] += hi >> 32;
    }
    for (int j = 0; j < 11; ++j) {
        p[j + 1] += p[j] >> 32;
        p[j] &= 0xffffffffu;
    }
    // The product has s bits after the binary point: 219 <= s <= 307 here.
    const int s = 32 * (i0 + 8) - e - 5;
    const auto field = [&p](int b, int n) { // bits b .. b + n - 1, n <= 53
        const int q = b / 32, r = b % 32;
        std::uint64_t v = (p[q] >> r) | (p[q + 1] << (32 - r));
        if (r > 0) v |= p[q + 2] << (64 - r);
        return v & ((std::uint64_t(1) << n) - 1);
    };
    const std::uint64_t c1 = field(s - 53, 53), c2 = field(s - 106, 53), c3 = field(s - 159, 53);
    const bool up = c1 >> 52; // fraction >= 1/2: round k up, fraction - 1
    const int k = static_cast<int>((field(s, 6) + up) & 63);
    const dd f = add(two_sum(static_cast<double>(c1) * 0x1p-53 - (up ? 1.0 : 0.0), static_cast<double>(c2) * 0x1p-106),
                     static_cast<double>(c3) * 0x1p-159);
    const dd r = mul(f, kPi32);
    return {k, r.hi, r.lo};
}

// sin y and cos y, each as hi + lo.
struct sine_cosine {
    dd s, c; // |lo| < 0.01 |hi|
};

// From y = k pi/32 + rh + rl, |rh| <= pi/64, |rl| < 2^-40 |rh|: sin y =
// S cos r + C sin r and cos y = C cos r - S sin r, S and C the sine and cosine
// of k pi/32 from the table. S + C rh is formed exactly, as the 26-bit table
// value times the 26-bit high half of rh plus an error term (|S| >= |C rh|
// unless S is zero), so that only small terms round: each pair is good to
// 2^-58 relative (the series stop below r^11 / 11!, under 2^-70; the table's
// pairs and the small products round at 2^-60 of the result).
template <bool F = kFma>
CPLX_INLINE sine_cosine sin_cos_reduced(int k, double rh, double rl, double sign) noexcept {
    const double r2 = rh * rh, r4 = r2 * r2;
    const double sr =
        rl + rh * r2 * ((-1.0 / 6 + r2 * (1.0 / 120)) + r4 * (-1.0 / 5040 + r2 * (1.0 / 362880)));      // sin r - rh
    const double cr = r4 * ((1.0 / 24 - r2 * (1.0 / 720)) + r4 * (1.0 / 40320)) - (rh * rl + r2 * 0.5); // cos r - 1
    const dd ts = kSinTable.v[k & 63], tc = kSinTable.v[(k + 16) & 63];
    const double sf = ts.hi + ts.lo, cf = tc.hi + tc.lo; // the full values, for the small products
    dd qs, qc;                                           // S + C rh and C - S rh, their high parts exact
    double es, ec;                                       // the rest of C rh and S rh
    if constexpr (F) {                                   // the products' errors from fmas
        const double ps = tc.hi * rh, pc = ts.hi * rh;
        qs = fast_two_sum(ts.hi, ps);
        qc = fast_two_sum(tc.hi, -pc);
        es = std::fma(tc.hi, rh, -ps);
        ec = std::fma(ts.hi, rh, -pc);
    } else { // the 26-bit table values times rh's 26-bit high half are exact
        const double hh = split_hi(rh), hl = rh - hh;
        qs = fast_two_sum(ts.hi, tc.hi * hh);
        qc = fast_two_sum(tc.hi, -(ts.hi * hh));
        es = tc.hi * hl;
        ec = ts.hi * hl;
    }
    return {{qs.hi * sign, ((qs.lo + ts.lo) + (es + tc.lo * rh + sf * cr + cf * sr)) * sign},
            {qc.hi, (qc.lo + tc.lo) - (ec + ts.lo * rh - cf * cr + sf * sr)}};
}

// The rest of sin_cos_parts below: |y| < 2^-30, where sin y = y - y^3/6 and
// cos y = 1 - y^2/2 to 2^-120 (and the table's split would leave a
// subnormal y all in the low part), and what the fast reduction cannot take.
CPLX_NOINLINE inline sine_cosine sin_cos_rare(double y) noexcept {
    const double a = std::fabs(y);
    if (a < 0x1p-30) return {{y, -(y * (y * y)) / 6}, {1.0, -0.5 * (y * y)}};
    const reduced r = reduce_large(a);
    return sin_cos_reduced(r.k, r.rh, r.rl, negated_if(1.0, std::signbit(y)));
}

// sin y and cos y for finite y. For |y| < 2^16, y = k pi/32 + r with pi/32 in
// three pieces, the first two of 33 bits so that k times them is exact: r is
// then good to 2^-94 absolute, enough while |r| > 2^-30. Larger y, and r
// nearer a multiple of pi/32, go to reduce_large. Working on |y| keeps the
// sine odd and the cosine even.
template <bool F = kFma>
CPLX_INLINE sine_cosine sin_cos_parts(double y) noexcept {
    const double a = std::fabs(y);
    if (CPLX_LIKELY(a < 0x1p16)) {
        constexpr double p1 = 0x1.921fb544p-4, p2 = 0x1.0b4611a6p-38, p3 = 0x1.3198a2e037p-73;
        const double t = a * 0x1.45f306dc9c883p+3 + kRoundShift, kd = t - kRoundShift;
        const dd r = two_sum(a - kd * p1, -(kd * p2)); // both products are exact, and so is the difference
        if (CPLX_LIKELY(std::fabs(r.hi) > 0x1p-30))
            return sin_cos_reduced<F>(static_cast<int>(to_bits(t) & 63), r.hi, r.lo - kd * p3,
                                      negated_if(1.0, std::signbit(y)));
    }
    return sin_cos_rare(y);
}

// ------------------------------------------------------ e^x, cosh, sinh

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

// e^a = 2^(k/32) e^r with a = k ln2/32 + r, |r| <= ln2/64; the reduction
// keeps k and the even and odd parts of e^r - 1, so that e^-a = 2^(-k/32)
// e^-r comes from the same polynomial. k ln2/32 is taken in two pieces, the
// first of 37 bits, so that k times it is exact for |k| < 2^16: r is good to
// 2^-83 absolute, and the series, to r^7, to 2^-62.
struct exp_reduced {
    int k;
    double even, odd;
};

CPLX_INLINE exp_reduced exp_reduce(double a) noexcept {
    constexpr double c_hi = 0x1.62e42fefap-6, c_lo = 0x1.cf79abc9e3b3ap-45; // ln2/32
    const double t = a * 0x1.71547652b82fep+5 + kRoundShift, kd = t - kRoundShift;
    const dd r = fast_two_sum(a - kd * c_hi, -(kd * c_lo)); // a - kd c_hi is exact
    const double r2 = r.hi * r.hi;
    return {static_cast<int>(static_cast<std::uint32_t>(to_bits(t))), r2 * (0.5 + r2 * (1.0 / 24 + r2 * (1.0 / 720))),
            r.hi + (r.lo + r.hi * r2 * (1.0 / 6 + r2 * (1.0 / 120 + r2 * (1.0 / 5040))))};
}

// 2^(k/32) (1 + p) as hi + lo, for a normal result: the table's pair times
// 1 + p, the small terms rounding at 2^-60 of the result.
CPLX_INLINE dd exp_scaled(int k, double p) noexcept {
    const dd& t = kExp2Table[k & 31];
    const double m = power_of_two((k - (k & 31)) / 32);
    return {t.hi * m, (t.lo + t.hi * p) * m};
}

// e^a for -708 <= a < 709.7 as hi + lo, |lo| < 0.012 |hi|, to 2^-58 relative.
CPLX_INLINE dd exp_pair(double a) noexcept {
    const exp_reduced r = exp_reduce(a);
    return exp_scaled(r.k, r.even + r.odd);
}

// cosh a and sinh a for 0 <= a < 709, to 2^-56 relative, with no division:
// e^a + e^-a, and e^a - e^-a but below a = 1/4, where that cancels by up to
// 4 bits and sinh a is its series instead (to a^15, 2^-64 of a).
struct cosh_sinh {
    dd ch, sh; // |lo| < 0.05 |hi|
};

CPLX_INLINE cosh_sinh hyperbolic(double a) noexcept {
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

// (a.hi + a.lo)(b.hi + b.lo) rounded, for pairs with small lo parts: the
// product of the high parts rounds once more, within half an ulp, where an
// exact product would cost more than the rest of the function. A zero
// correction is left out, so that a zero or underflowing product keeps its
// sign.
CPLX_INLINE double mul_parts(dd a, dd b) noexcept {
    const double p = a.hi * b.hi, c = a.hi * b.lo + a.lo * (b.hi + b.lo);
    return c == 0 ? p : p + c;
}

// e^x (m.hi + m.lo) 2^-h for finite x and m, h = 0 or 1, without the
// overflow or underflow of e^x alone where the product is a normal number:
// e^x = 2^n e^(x - n ln 2) with x - n ln 2 in [-0.35, 0.35] to 2^-80, its
// e^ a pair, and the scaling by 2^(n - h) applied last, where it is exact
// unless the result is subnormal.
CPLX_NOINLINE inline double exp_times(double x, dd m, int h = 0) noexcept {
    const double whole = m.hi + m.lo;
    if (!(x > -1500)) return negated_if(0.0, std::signbit(whole)); // below even the least subnormal over max
    if (!(x < 1500)) return whole == 0 ? whole : std::copysign(std::numeric_limits<double>::infinity(), whole);
    const double n = std::nearbyint(x * 0x1.71547652b82fep+0);
    const double r = (x - n * kLn2Hi) - n * kLn2Lo; // the first difference is exact
    int scale = static_cast<int>(n) - h;
    if (std::fabs(whole) < 0x1p-900) { // keep the product normal until the last scaling
        m = {m.hi * 0x1p600, m.lo * 0x1p600};
        scale -= 600;
    }
    return std::ldexp(mul_parts(exp_pair(r), m), scale);
}

// ------------------------------------------------ log to double-double

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

// hi = m 2^k with m in [0.71, 1.41] and c = 1 + j/32 the table point
// nearest m, for 2^-1000 < hi < 2^1003, from the bits without a branch.
struct log_reduced {
    int k, j;
    double m, c;
};

CPLX_INLINE log_reduced log_reduce(double hi) noexcept {
    std::uint64_t bits = to_bits(hi);
    const std::uint64_t fraction = bits & 0x000fffffffffffffu;
    const unsigned up = fraction >= 0x6a09e667f3bcdu; // 1.fraction >= sqrt 2: halve it
    log_reduced r = {static_cast<int>(bits >> 52) - 1023 + static_cast<int>(up), 0, 0, 0};
    bits = fraction | static_cast<std::uint64_t>(1023 - up) << 52;
    const unsigned shift = 47 + up; // rounds m to a multiple of 1/32
    const std::uint64_t cbits = (bits + (std::uint64_t(1) << (shift - 1))) >> shift << shift;
    r.j = static_cast<int>((fraction + (std::uint64_t(1) << (shift - 1))) >> shift) - 16 * static_cast<int>(up);
    r.m = from_bits(bits);
    r.c = from_bits(cbits);
    return r;
}

// atanh(t) - t = t^3/3 + t^5/5 + ..., for |t| < 0.0112 to 2^-64 of t.
CPLX_INLINE double atanh_tail(double t) noexcept {
    const double t2 = t * t, t4 = t2 * t2;
    return t * t2 * ((1.0 / 3 + t2 * (1.0 / 5)) + t4 * ((1.0 / 7 + t2 * (1.0 / 9)) + t4 * (1.0 / 11)));
}

// log(hi + lo) / 2 + e ln 2, compensated (complex/detail/dd.hpp), for
// 2^-1000 < hi < 2^1003 and |lo| <= ulp(hi), to about 2^-100 absolute plus
// 2^-68 relative. With hi = m 2^k and c = 1 + j/32 the nearest table point,
// log(m) = log(c) + 2 atanh(t), t = (m - c) / (m + c), |t| < 0.0112: m - c is
// exact, and the series' tail is needed to a double only.
template <bool F = kFma>
CPLX_INLINE comp half_log(double hi, double lo, int e) noexcept {
    const log_reduced r = log_reduce(hi);
    const double ml = lo * power_of_two(-r.k); // exact: m = hi 2^-k
    const dd mc = two_sum(r.m, r.c);
    const comp t = cdiv<F>(comp{r.m - r.c, ml}, comp{mc.hi, mc.lo + ml});
    const int n = r.k + 2 * e; // n kLn2Hi is exact
    const dd& l = kLogTable[r.j + 9];
    const dd base = two_sum(n * kLn2Hi, l.hi);
    const comp half = {base.hi * 0.5, (base.lo + (n * kLn2Lo + l.lo)) * 0.5};
    return csum(half, csum(t, atanh_tail(t.v)));
}

// log(1 + d) / 2 for a double-double d > -1/2, to about 2^-100 relative: for
// |d| < 1/50, 1 + d would lose d's low bits, so t = d / (2 + d) and
// atanh(t) = log(1 + d) / 2 directly (|t| < 0.0102); beyond, 1 + d keeps
// them to 2^-106 absolute, under 2^-100 of the logarithm.
template <bool F = kFma>
CPLX_INLINE comp half_log1p(dd d) noexcept {
    if (std::fabs(d.hi) < 0.02) {
        const dd two = two_sum(2.0, d.hi);
        const comp t = cdiv<F>(comp{d.hi, d.lo}, comp{two.hi, two.lo + d.lo});
        return csum(t, atanh_tail(t.v));
    }
    const dd s = two_sum(1.0, d.hi);
    return half_log<F>(s.hi, s.lo + d.lo, 0);
}

// --------------------------------------------- atan2 to double-double

// atan(j/64) for j = 0..64 as hi + lo, from 80-digit decimal arithmetic.
inline constexpr dd kAtanTable[65] = {
    {0x0p+0, 0x0p+0},
    {0x1.fff555bbb729bp-7, -0x1.220c39d4dff50p-61},
    {0x1.ffd55bba97625p-6, -0x1.5ec431444912cp-60},
    {0x1.7fb818430da2ap-5, -0x1.86ef8f794f105p-63},
    {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60},
    {0x1.3f59f0e7c559dp-4, 0x1.ac4ce285df847p-58},
    {0x1.7ee182602f10fp-4, -0x1.cfb654c0c3d98p-58},
    {0x1.be39ebe6f07c3p-4, 0x1.f7b8f29a05987p-58},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.1e1fafb043727p-3, -0x1.b485914dacf8cp-59},
    {0x1.3d6eee8c6626cp-3, 0x1.61a3b0ce9281bp-57},
    {0x1.5c9811e3ec26ap-3, -0x1.054ab2c010f3dp-58},
    {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},
    {0x1.9a6a8e96c8626p-3, 0x1.cf601e7b4348ep-59},
    {0x1.b90d7529260a2p-3, 0x1.17b10d2e0e5abp-61},
    {0x1.d77d5df205736p-3, 0x1.c648d1534597ep-57},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.09dc597d86362p-2, 0x1.62e47390cb865p-56},
    {0x1.18bf5a30bf178p-2, 0x1.30ca4748b1bf9p-57},
    {0x1.278372057ef46p-2, -0x1.077cdd36dfc81p-56},
    {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57},
    {0x1.44aa436c2af0ap-2, -0x1.5d5e43c55b3bap-56},
    {0x1.530ad9951cd4ap-2, -0x1.2566480884082p-57},
    {0x1.614840309cfe2p-2, -0x1.a725715711f00p-56},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.7d5604b63b3f7p-2, 0x1.69c885c2b249ap-56},
    {0x1.8b24d394a1b25p-2, 0x1.b6d0ba3748fa8p-56},
    {0x1.98cd5454d6b18p-2, 0x1.9e6c988fd0a77p-56},
    {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56},
    {0x1.b3a911da65c6cp-2, 0x1.ae187b1ca5040p-56},
    {0x1.c0db4c94ec9f0p-2, -0x1.cc1ce70934c34p-56},
    {0x1.cde53432c1351p-2, -0x1.a2cfa4418f1adp-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.e77eb7f175a34p-2, 0x1.0e53dc1bf3435p-56},
    {0x1.f40dd0b541418p-2, -0x1.a3992dc382a23p-57},
    {0x1.0039c73c1a40cp-1, -0x1.b32c949c9d593p-55},
    {0x1.0657e94db30d0p-1, -0x1.d5b495f6349e6p-56},
    {0x1.0c6145b5b43dap-1, 0x1.974fa13b5404fp-58},
    {0x1.1255d9bfbd2a9p-1, -0x1.2bdaee1c0ee35p-58},
    {0x1.1835a88be7c13p-1, 0x1.c621cec00c301p-55},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.23b71e2cc9e6ap-1, 0x1.c421c9f38224ep-57},
    {0x1.2958e59308e31p-1, -0x1.09e73b0c6c087p-56},
    {0x1.2ee628406cbcap-1, 0x1.c5d5e9ff0cf8dp-55},
    {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},
    {0x1.39c391cd4171ap-1, -0x1.2304331d8bf46p-55},
    {0x1.3f13fb89e96f4p-1, 0x1.ecf8b492644f0p-56},
    {0x1.445065b795b56p-1, -0x1.f76d0163f79c8p-56},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.4e8de5bb6ec04p-1, 0x1.4a33dbeb3796cp-55},
    {0x1.538f57b89061fp-1, -0x1.1bb74abda520cp-55},
    {0x1.587d81f732fbbp-1, -0x1.5e5c9d8c5a950p-56},
    {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},
    {0x1.6220d115d7b8ep-1, -0x1.2b785350ee8c1p-57},
    {0x1.66d663923e087p-1, -0x1.6ea6febe8bbbap-56},
    {0x1.6b798920b3d99p-1, -0x1.a80386188c50ep-55},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.748978fba8e0fp-1, 0x1.7b2a6165884a1p-59},
    {0x1.78f6bbd5d315ep-1, 0x1.406a089803740p-55},
    {0x1.7d528289fa093p-1, 0x1.560821e2f3aa9p-55},
    {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56},
    {0x1.85d69576cc2c5p-1, 0x1.6b66e7fc8b8c3p-57},
    {0x1.89ff5ff57f1f8p-1, -0x1.55b9a5e177a1bp-55},
    {0x1.8e17aa99cc05ep-1, -0x1.ec182ab042f61p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

// The octant's offset plus or minus atan(j/64): 0 + atan, pi/2 - atan,
// pi - atan and pi/2 + atan, for neg_x and swap below.
struct atan_bases {
    dd v[4][65];
};
constexpr dd constant_sum(dd a, dd b) noexcept { // a + b for constant tables, |a.hi| >= |b.hi| or a zero
    const double s = a.hi + b.hi;
    const double lo = (b.hi - (s - a.hi)) + (a.lo + b.lo);
    const double h = s + lo;
    return {h, lo - (h - s)};
}
constexpr atan_bases make_atan_bases() noexcept {
    atan_bases b{};
    const dd offset[4] = {{0, 0}, kPi2, kPi, kPi2};
    for (int q = 0; q < 4; ++q)
        for (int j = 0; j < 65; ++j)
            b.v[q][j] = q == 1 || q == 2 ? constant_sum(offset[q], dd{-kAtanTable[j].hi, -kAtanTable[j].lo})
                                         : constant_sum(offset[q], kAtanTable[j]);
    return b;
}
inline constexpr atan_bases kAtanBase = make_atan_bases();

// atan'(j/64) = 1 / (1 + (j/64)^2) = 4096 / (4096 + j^2) as hi + lo, exact
// rationals rounded twice.
inline constexpr dd kAtanSlope[65] = {
    {0x1.0000000000000p+0, 0x0p+0},
    {0x1.ffe001ffe0020p-1, -0x1.ffe001ffe0020p-61},
    {0x1.ff801ff801ff8p-1, 0x1.ff801ff801ff8p-61},
    {0x1.fee0a1a513254p-1, -0x1.3c4e1414b45a9p-55},
    {0x1.fe01fe01fe020p-1, -0x1.fe01fe01fe020p-57},
    {0x1.fce4da6ab93e9p-1, -0x1.be46b18a97736p-57},
    {0x1.fb8a096acfaccp-1, -0x1.2962e18495af3p-55},
    {0x1.f9f2893bb9192p-1, 0x1.8260b7cd1bdabp-56},
    {0x1.f81f81f81f820p-1, -0x1.f81f81f81f820p-55},
    {0x1.f612438a14f5ep-1, 0x1.98e9e001f6124p-56},
    {0x1.f3cc435b0713cp-1, 0x1.1d0a7e69ea094p-55},
    {0x1.f14f19cce28ebp-1, -0x1.b7c252708cd6ep-55},
    {0x1.ee9c7f8458e02p-1, -0x1.163807ba71fe1p-57},
    {0x1.ebb64a8c932d7p-1, 0x1.0538d79aae302p-61},
    {0x1.e89e6b5ccf172p-1, 0x1.20357153be26ap-55},
    {0x1.e556e9c86d7c6p-1, -0x1.30c2534c9abfdp-55},
    {0x1.e1e1e1e1e1e1ep-1, 0x1.e1e1e1e1e1e1ep-57},
    {0x1.de4180d8b5ae6p-1, 0x1.1929823f66cf0p-56},
    {0x1.da7801da7801ep-1, -0x1.61ff8961ff896p-55},
    {0x1.d687aafdfd5bap-1, -0x1.82e68e19d8d3dp-56},
    {0x1.d272ca3fc5b1ap-1, 0x1.ae01d272ca3fcp-55},
    {0x1.ce3bb295c0773p-1, -0x1.26fd591851b41p-55},
    {0x1.c9e4b91ff8d87p-1, -0x1.723ff1b0da370p-56},
    {0x1.c570327afd9ebp-1, 0x1.3c2abb32c1d72p-57},
    {0x1.c0e070381c0e0p-1, 0x1.c0e070381c0e0p-55},
    {0x1.bc37be7ec7a8dp-1, -0x1.f12462b0e2727p-57},
    {0x1.b77861d9cdc98p-1, -0x1.2e22c345bd7a8p-57},
    {0x1.b2a495323eb6ap-1, -0x1.7220270cc9678p-58},
    {0x1.adbe87f94905ep-1, 0x1.adbe87f94905ep-61},
    {0x1.a8c85c81a2254p-1, -0x1.3c1918d67728bp-55},
    {0x1.a3c4268881898p-1, 0x1.f907fe5c3bd97p-55},
    {0x1.9eb3e9edacaccp-1, -0x1.942c587d23ca5p-55},
    {0x1.999999999999ap-1, -0x1.999999999999ap-55},
    {0x1.9477169044ba4p-1, -0x1.d53e292d5fbc1p-56},
    {0x1.8f4e2f2efd135p-1, -0x1.4c3c0d4218911p-56},
    {0x1.8a209e931fcd3p-1, 0x1.cb8f08e68c94cp-57},
    {0x1.84f00c2780614p-1, -0x1.fe7b0ff3d87fap-56},
    {0x1.7fbe0b560d35cp-1, -0x1.4f066ae5a0887p-55},
    {0x1.7a8c1b5b1ffa1p-1, 0x1.73e4a4e005ea3p-55},
    {0x1.755ba737d49cap-1, -0x1.abaf3d4cb44c6p-55},
    {0x1.702e05c0b8170p-1, 0x1.702e05c0b8170p-56},
    {0x1.6b0479c620595p-1, 0x1.867df07d7f0c2p-55},
    {0x1.65e032538713cp-1, -0x1.0139242c09163p-57},
    {0x1.60c24b0350d38p-1, 0x1.1ffe9f3db4fcbp-55},
    {0x1.5babcc647fa91p-1, 0x1.4339b8056eaf3p-55},
    {0x1.569dac6feb417p-1, 0x1.03ce50625e450p-55},
    {0x1.5198cf0ab6f99p-1, 0x1.1b8755e1ffabap-56},
    {0x1.4c9e0693e0015p-1, -0x1.b0fcb60fff59bp-56},
    {0x1.47ae147ae147bp-1, -0x1.eb851eb851eb8p-57},
    {0x1.42c9a9dd8fdc1p-1, 0x1.192daaf80050bp-58},
    {0x1.3df1682b78014p-1, -0x1.074bea43ff610p-56},
    {0x1.3925e1cd28c98p-1, 0x1.c84431ffec6dap-55},
    {0x1.34679ace01346p-1, 0x1.e6b3804d19e6bp-55},
    {0x1.2fb7098736048p-1, 0x1.7a7514df7c4fap-55},
    {0x1.2b14974aea886p-1, 0x1.68ffda9d6d16ap-55},
    {0x1.2680a10e5813ep-1, -0x1.f54972242a6bcp-55},
    {0x1.21fb78121fb78p-1, 0x1.21fb78121fb78p-57},
    {0x1.1d856287ffb8ap-1, -0x1.58a1ffee27a9dp-57},
    {0x1.191e9c35424cap-1, -0x1.fa3c1f4be863fp-55},
    {0x1.14c75711551bbp-1, -0x1.0c88e71970f2cp-55},
    {0x1.107fbbe011080p-1, -0x1.107fbbe011080p-55},
    {0x1.0c47eac74fadcp-1, -0x1.035f877bb1887p-55},
    {0x1.081ffbdf80108p-1, 0x1.ffbdf80108200p-57},
    {0x1.0407ffbefe001p-1, 0x1.01ffefbf80041p-59},
    {0x1.0000000000000p-1, 0x0p+0},
};

// Taylor coefficients of atan at c = j/64, k = 1..10: atan^(k)(c) / k! =
// Im((-1)^(k-1) / (k (c - i)^k)) = (-1)^(k-1) Im((c + i)^k) / (k (1 + c^2)^k),
// exact rationals correctly rounded.
struct alignas(16) atan_series_row {
    double a[10];
};
struct atan_series {
    atan_series_row v[65];
};
inline constexpr atan_series kAtanSeries = {{
    {{0x1.0000000000000p+0, 0x0p+0, -0x1.5555555555555p-2, 0x0p+0, 0x1.999999999999ap-3, 0x0p+0, -0x1.2492492492492p-3,
      0x0p+0, 0x1.c71c71c71c71cp-4, 0x0p+0}},
    {{0x1.ffe001ffe0020p-1, -0x1.ffc005ff800a0p-7, -0x1.54d56953003c0p-2, 0x1.ff601bfc406dfp-7, 0x1.981a09849cb13p-3,
      -0x1.fed5a944d7f05p-7, -0x1.229338e29faefp-3, 0x1.fe20c5ca6b2a1p-7, 0x1.c21fe079cb142p-4, -0x1.fd418fd78c5a3p-7}},
    {{0x1.ff801ff801ff8p-1, -0x1.ff005fe009fd0p-6, -0x1.535694c03bea0p-2, 0x1.fd81bf106dd29p-6, 0x1.93a0945cb009fp-3,
      -0x1.fb5a9137ef3f6p-6, -0x1.1ca138b1f15e5p-3, 0x1.f88c52a3243fcp-6, 0x1.b3531eb58605ap-4, -0x1.f518e2cc41b0ap-6}},
    {{0x1.fee0a1a513254p-1, -0x1.7e516b6f5fb61p-5, -0x1.50dba2b652209p-2, 0x1.7bce9d05eab95p-5, 0x1.8c3cce1b89dc7p-3,
      -0x1.7833cbf47e098p-5, -0x1.12dd7e8827ec8p-3, 0x1.73868acdf7c56p-5, 0x1.9b2f347db0a29p-4, -0x1.6dcdd5b82ad47p-5}},
    {{0x1.fe01fe01fe020p-1, -0x1.fc05f809f40dfp-5, -0x1.4d69303ba878bp-2, 0x1.f61bc46d4b167p-5, 0x1.82084cab634d0p-3,
      -0x1.eda84feb05beap-5, -0x1.057e3669247d6p-3, 0x1.e2c2b10d370ecp-5, 0x1.7a77ef4ff3f8fp-4, -0x1.d5879be0af0e6p-5}},
    {{0x1.fce4da6ab93e9p-1, -0x1.3c2114d22b635p-4, -0x1.49059c4d74033p-2, 0x1.36662c0896a7cp-4, 0x1.75261a13a97a2p-3,
      -0x1.2e4315fdd1509p-4, -0x1.e99996e52db32p-4, 0x1.23da4b0a71e9fp-4, 0x1.52335e3bc8178p-4, -0x1.175631ce245f4p-4}},
    {{0x1.fb8a096acfaccp-1, -0x1.7956846635c89p-4, -0x1.43b8f2037b997p-2, 0x1.6f8857900c4eep-4, 0x1.65c1f4409ba0ep-3,
      -0x1.61b651d176e0cp-4, -0x1.c24738ad65152p-4, 0x1.5033f7bc246c1p-4, 0x1.239e96db30b46p-4, -0x1.3b66af01bca60p-4}},
    {{0x1.f9f2893bb9192p-1, -0x1.b578772759741p-4, -0x1.3d8ccd45bbe91p-2, 0x1.a61404fa31d26p-4, 0x1.540f60668fd66p-3,
      -0x1.9092dcb2f6e8fp-4, -0x1.95d668d902073p-4, 0x1.75a3e99c53d16p-4, 0x1.e040c8f475e61p-5, -0x1.56183e072a50fp-4}},
    {{0x1.f81f81f81f820p-1, -0x1.f05e09d0dc11bp-4, -0x1.368c3aa76e1d7p-2, 0x1.d9b16b391c2e3p-4, 0x1.4048994488c86p-3,
      -0x1.ba55da98401c8p-4, -0x1.652e4e5127e64p-4, 0x1.93943442e53aep-4, 0x1.7275386286f75p-5, -0x1.66ee6cd9fe96fp-4}},
    {{0x1.f612438a14f5ep-1, -0x1.14f0459d3fb7cp-3, -0x1.2ec3931219b34p-2, 0x1.0509268736312p-3, 0x1.2aad607eca5ecp-3,
      -0x1.de969e19fe31cp-4, -0x1.31455db6b9127p-4, 0x1.a9a62f53dd9eep-4, 0x1.00f5ba8e4ede0p-5, -0x1.6dce8d02714ffp-4}},
    {{0x1.f3cc435b0713cp-1, -0x1.30eddb7d169f0p-3, -0x1.264053fd62b3cp-2, 0x1.1b795e8e57ee3p-3, 0x1.1381bbe93b8e5p-3,
      -0x1.fd07f394e1bf7p-4, -0x1.f634c37bb5315p-5, 0x1.b7b30e501e57bp-4, 0x1.1dae120503792p-6, -0x1.6afc07ec85d9bp-4}},
    {{0x1.f14f19cce28ebp-1, -0x1.4c16f42678d07p-3, -0x1.1d10f4fccc153p-2, 0x1.300cd74979f8cp-3, 0x1.f6194fbe70208p-4,
      -0x1.0abc54b1c266fp-3, -0x1.875b23b74e858p-5, 0x1.bdca692e46f11p-4, 0x1.f0b179de94aefp-9, -0x1.5f1053244a013p-4}},
    {{0x1.ee9c7f8458e02p-1, -0x1.665c226d69eebp-3, -0x1.1344bb737e8f3p-2, 0x1.42aca8b929b0bp-3, 0x1.c32d8f683981cp-4,
      -0x1.13e9ad22d5eccp-3, -0x1.17f3ed35c8c33p-5, 0x1.bc2ee2a73307ep-4, -0x1.2ee042bddc834p-7,
      -0x1.4aef3c93c1534p-4}},
    {{0x1.ebb64a8c932d7p-1, -0x1.7faf6f88295fep-3, -0x1.08eb8d3f5a07bp-2, 0x1.53479d6814372p-3, 0x1.8ed239c562d77p-4,
      -0x1.1a0ec2cdd89fdp-3, -0x1.53bd4fec9df82p-6, 0x1.b3512d9d3f0f6p-4, -0x1.5e1ab4534ccf5p-6,
      -0x1.2fb8741e17632p-4}},
    {{0x1.e89e6b5ccf172p-1, -0x1.980467f79bfd6p-3, -0x1.fc2b8650d32f4p-3, 0x1.61d22d625e475p-3, 0x1.599799e54f300p-4,
      -0x1.1d3b0365c2b85p-3, -0x1.f6cc90afb6b97p-8, 0x1.a3c9c28035c12p-4, -0x1.08f0d8331488ap-5,
      -0x1.0eb751c5fcd04p-4}},
    {{0x1.e556e9c86d7c6p-1, -0x1.af50242f10c89p-3, -0x1.e5a7f7b1596d9p-3, 0x1.6e466171949b1p-3, 0x1.2409fa3d6f244p-4,
      -0x1.1d8980dceacbfp-3, 0x1.3c3b6dc715080p-8, 0x1.8e519f78687abp-4, -0x1.57cac6b1251ecp-5, -0x1.d2a3bb4170164p-5}},
    {{0x1.e1e1e1e1e1e1ep-1, -0x1.c5894d10d4986p-3, -0x1.ce6de0253d27ep-3, 0x1.78a3a08d88b02p-3, 0x1.dd5f26a622b44p-5,
      -0x1.1b1faecd7c4e0p-3, 0x1.0fc3e1fc8b549p-6, 0x1.73ba725728acfp-4, -0x1.9a753eeba051fp-5, -0x1.81f0251c71d2ap-5}},
    {{0x1.de4180d8b5ae6p-1, -0x1.daa81c655a596p-3, -0x1.b69e91974fd6cp-3, 0x1.80ee69dcd2641p-3, 0x1.740d764b143bep-5,
      -0x1.162bf4b6b7330p-3, 0x1.c21477a20d203p-6, 0x1.54e68a0d6b625p-4, -0x1.d03cd7b6e81adp-5, -0x1.2e2871a0cf67ep-5}},
    {{0x1.da7801da7801ep-1, -0x1.eea659814cb11p-3, -0x1.9e5aef76f9fa1p-3, 0x1.872ffdf090624p-3, 0x1.0d08b83fe02bcp-5,
      -0x1.0ee4231b98637p-3, 0x1.320e65b309f28p-5, 0x1.32c0e755cbc43p-4, -0x1.f8dca5dea1ddbp-5, -0x1.b3f437b8c43d8p-6}},
    {{0x1.d687aafdfd5bap-1, -0x1.00bfa92db6fdbp-2, -0x1.85c325b640da2p-3, 0x1.8b75fa1da32d2p-3, 0x1.524adee810d60p-6,
      -0x1.0583d95a69deap-3, 0x1.7a3792b4d3decp-5, 0x1.0e35ba3290dfep-4, -0x1.0a3b219e12287p-4, -0x1.0fa9007883500p-6}},
    {{0x1.d272ca3fc5b1ap-1, -0x1.0997e8aec9d8ep-2, -0x1.6cf6666d5c0ffp-3, 0x1.8dd1e8f2617b5p-3, 0x1.2483b33966883p-7,
      -0x1.f495d2b05b16bp-4, 0x1.b9096074fdeafp-5, 0x1.d05719c4605c9p-5, -0x1.11c35280318fdp-4, -0x1.ceb9120a724bep-8}},
    {{0x1.ce3bb295c0773p-1, -0x1.11db08221a582p-2, -0x1.5412aeb9ef661p-3, 0x1.8e58cacc06b3ap-3, -0x1.25ff7cfe3f01ep-9,
      -0x1.daf789dae4b1cp-4, 0x1.ee3fb8e4e3e16p-5, 0x1.82fa9c2c60fedp-5, -0x1.136c4e13555d9p-4, 0x1.c74f3de9d1831p-10}},
    {{0x1.c9e4b91ff8d87p-1, -0x1.1988d432f5908p-2, -0x1.3b3493403e07cp-3, 0x1.8d22997d0e938p-3, -0x1.a3464c2fe9cdep-7,
      -0x1.beb3fefb6f244p-4, 0x1.0ce5a39e67c0bp-4, 0x1.35eab93b4fb73p-5, -0x1.0fbaef4d86f78p-4, 0x1.3bfddd37ba6b1p-7}},
    {{0x1.c570327afd9ebp-1, -0x1.20a1c06000419p-2, -0x1.22771486ad2c8p-3, 0x1.8a49c9d027817p-3, -0x1.73831eaabcb23p-6,
      -0x1.a051d8c46fbcep-4, 0x1.1de669132e9ccp-4, 0x1.d5269d48d5d65p-6, -0x1.074bb712354a4p-4, 0x1.0ef6551a55039p-6}},
    {{0x1.c0e070381c0e0p-1, -0x1.2726dd135c174p-2, -0x1.09f37b38cc8cfp-3, 0x1.85eacd7da413cp-3, -0x1.04d6980fcc815p-5,
      -0x1.8054c1df326f9p-4, 0x1.2a47e082bda60p-4, 0x1.446397091d5a4p-6, -0x1.f5961e072e48cp-5, 0x1.6e2448b00bbfdp-6}},
    {{0x1.bc37be7ec7a8dp-1, -0x1.2d19ccfbdd7fap-2, -0x1.e382786f8309bp-4, 0x1.802397e6de8dep-3, -0x1.49cf94f6d8017p-5,
      -0x1.5f3b3de917e27p-4, 0x1.324208e455cc2p-4, 0x1.77470b9fc88fep-7, -0x1.d5dbdc6b10536p-5, 0x1.bb070147d2bd5p-6}},
    {{0x1.b77861d9cdc98p-1, -0x1.327cb9d57b8f5p-2, -0x1.b3ebc8761b154p-4, 0x1.7913279f68c54p-3, -0x1.888285872d73cp-5,
      -0x1.3d7cd567be750p-4, 0x1.361c00a24fc71p-4, 0x1.e4b7a46aa98b6p-9, -0x1.b0d643bad3a76p-5, 0x1.f5beada74e507p-6}},
    {{0x1.b2a495323eb6ap-1, -0x1.375248cd58cc4p-2, -0x1.854a154d5f784p-4, 0x1.70d9167aa0c46p-3, -0x1.c0db0d0665a46p-5,
      -0x1.1b889b428e30dp-4, 0x1.3628d134448b0p-4, -0x1.bbbc167619c9cp-9, -0x1.87ead53e1f653p-5, 0x1.0f7b2bdc4928dp-5}},
    {{0x1.adbe87f94905ep-1, -0x1.3b9d8eab54af9p-2, -0x1.57c09645a7f9ep-4, 0x1.67953180938f2p-3, -0x1.f2d8bff0ea012p-5,
      -0x1.f388166c7250cp-5, 0x1.32c44c95ff694p-4, -0x1.3f3f025d7ff49p-7, -0x1.5c6d1b848e1d1p-5, 0x1.1be53ebc410dcp-5}},
    {{0x1.a8c85c81a2254p-1, -0x1.3f6203e8218e0p-2, -0x1.2b6e8adb5f398p-4, 0x1.5d6719d9e25fcp-3, -0x1.0f46a19cc29a0p-4,
      -0x1.b1147c1a69750p-5, 0x1.2c5012c826e6bp-4, -0x1.f6a95cbc1b186p-7, -0x1.2f96d2de89811p-5, 0x1.20d7737cd042bp-5}},
    {{0x1.a3c4268881898p-1, -0x1.42a378d38076dp-2, -0x1.006f45a36f1bdp-4, 0x1.526def7221a2ap-3, -0x1.220d267b0229ap-4,
      -0x1.7056dc74d0c66p-5, 0x1.2330d0ff472e2p-4, -0x1.4a5e99cb74216p-6, -0x1.02821992b9e1fp-5, 0x1.1f2a84fa0a7c8p-5}},
    {{0x1.9eb3e9edacaccp-1, -0x1.456609eaa285dp-2, -0x1.adb4828319af3p-5, 0x1.46c805c4ee7c2p-3, -0x1.31d7ca73bc33fp-4,
      -0x1.31d98b8a731f5p-5, 0x1.17cbc798f7481p-4, -0x1.8ccf3f977e9cap-6, -0x1.ac4b236ea1578p-6, 0x1.17ca051196434p-5}},
    {{0x1.999999999999ap-1, -0x1.47ae147ae147bp-2, -0x1.5d867c3ece2a5p-5, 0x1.3a92a30553261p-3, -0x1.3ec460ed80a18p-4,
      -0x1.ec21b514d88d8p-6, 0x1.0a849f929a833p-4, -0x1.c2f8b88dfb80cp-6, -0x1.56a498245bf09p-6, 0x1.0ba9908c71945p-5}},
    {{0x1.9477169044ba4p-1, -0x1.49802ba91fd89p-2, -0x1.1074cf33546d5p-5, 0x1.2de9c99222665p-3, -0x1.48f5afa031cb1p-4,
      -0x1.7ab74bc0c6420p-6, 0x1.f7772876d0f75p-5, -0x1.ed628e431fc96p-6, -0x1.05668c64515ecp-6, 0x1.f776f5280c0c4p-6}},
    {{0x1.8f4e2f2efd135p-1, -0x1.4ae10df24b2d1p-2, -0x1.8d31fd7365f3fp-6, 0x1.20e80b7567664p-3, -0x1.5092724d80dddp-4,
      -0x1.100881b0516abp-6, 0x1.d797e4a356567p-5, -0x1.065f8e14758edp-5, -0x1.7338f73d2f6bbp-7, 0x1.d1d2295d62336p-6}},
    {{0x1.8a209e931fcd3p-1, -0x1.4bd59b35ad2d8p-2, -0x1.000c36dc339efp-6, 0x1.13a667812ee2dp-3, -0x1.55c46b5955c9cp-4,
      -0x1.5906b0fd2b503p-7, 0x1.b615d577de2dap-5, -0x1.10f0aa34d31ecp-5, -0x1.d02cbefe48ad0p-8, 0x1.a8193add71bf1p-6}},
    {{0x1.84f00c2780614p-1, -0x1.4c62cb562c625p-2, -0x1.e6495b3a4bcb7p-8, 0x1.063c2f78c0dc4p-3, -0x1.58b78459eb443p-4,
      -0x1.41c831386e6b4p-8, 0x1.938d6944ff706p-5, -0x1.16d9966ad4037p-5, -0x1.a9b1a01fc736ap-9, 0x1.7bd993ed938c9p-6}},
    {{0x1.7fbe0b560d35cp-1, -0x1.4c8da57c2e1cbp-2, 0x1.8b34161c69f3cp-12, 0x1.f17ded351e8edp-4, -0x1.599900e77234cp-4,
      0x1.006ef99f594eep-12, 0x1.708bf1a75a6ccp-5, -0x1.1896731a471d5p-5, 0x1.4cc7e59bf0521p-13, 0x1.4e739b06e1f19p-6}},
    {{0x1.7a8c1b5b1ffa1p-1, -0x1.4c5b37fead5b8p-2, 0x1.fcb3101e4c970p-8, 0x1.d6850f983ecf1p-4, -0x1.5896c532f49b6p-4,
      0x1.432e2eaefcf7fp-8, 0x1.4d8efe1db38f0p-5, -0x1.16a6a7c5c9defp-5, 0x1.9a7427b6fe5d0p-9, 0x1.21176c5fd4aeep-6}},
    {{0x1.755ba737d49cap-1, -0x1.4bd090f73c4b3p-2, 0x1.e2e4f8920477fp-7, 0x1.bbb1c53aaefa0p-4, -0x1.55deb13f5f619p-4,
      0x1.2bf14e675741ep-7, 0x1.2b042a05e0ebfp-5, -0x1.11898bf95c5c1p-5, 0x1.73fafe421ee51p-8, 0x1.e987bb2451595p-7}},
    {{0x1.702e05c0b8170p-1, -0x1.4af2b78215a76p-2, 0x1.5d0b7e9e4a9d0p-6, 0x1.a1247ca629942p-4, -0x1.519e1100385b4p-4,
      0x1.a759232616ed8p-7, 0x1.09494cda1223ap-5, -0x1.09bb9a5a5c251p-5, 0x1.ff915f489d8bap-8, 0x1.948ec86fd3040p-7}},
    {{0x1.6b0479c620595p-1, -0x1.49c6a5a920887p-2, 0x1.c20cfbb7e5931p-6, 0x1.86fa2451c4a5dp-4, -0x1.4c012120917dap-4,
      0x1.0a1da6b9c3fadp-6, 0x1.d159f708543e5p-6, -0x1.ff6856d929bcep-6, 0x1.38ac0d0361a66p-7, 0x1.4484f04991a4bp-7}},
    {{0x1.65e032538713cp-1, -0x1.485142f6d4575p-2, 0x1.104979386fd1dp-5, 0x1.6d4c43fc6c180p-4, -0x1.4532a7ca4cfd0p-4,
      0x1.3991d90eb1d30p-6, 0x1.92de946163051p-6, -0x1.e7c762de874ffp-6, 0x1.65806fc0c1cb2p-7, 0x1.f4ac3b1bed19fp-8}},
    {{0x1.60c24b0350d38p-1, -0x1.46975fac420bdp-2, 0x1.3c5fad098b4eep-5, 0x1.54311d57c5b53p-4, -0x1.3d5ba071017e0p-4,
      0x1.625b9f11b08a7p-6, 0x1.57857e25bbc6fp-6, -0x1.cd64d7384981fp-6, 0x1.873d73da3b8d5p-7, 0x1.6d43573946a29p-8}},
    {{0x1.5babcc647fa91p-1, -0x1.449db094286d0p-2, 0x1.655caac4cf102p-5, 0x1.3bbbd2933dd9cp-4, -0x1.34a2f9636afc9p-4,
      0x1.84d71a2400f6fp-6, 0x1.1f9acfcc53cabp-6, -0x1.b0ff09ec31ef1p-6, 0x1.9eee3b1615b05p-7, 0x1.e70ef159fe3f0p-9}},
    {{0x1.569dac6feb417p-1, -0x1.4268cb6bde980p-2, 0x1.8b56386705749p-5, 0x1.23fc9171a8768p-4, -0x1.2b2d61b8904fdp-4,
      0x1.a1677ca70ce88p-6, 0x1.d6a8162963581p-7, -0x1.9341232c353bbp-6, 0x1.ada7ad7354ec0p-7, 0x1.0f7ba54d41c16p-9}},
    {{0x1.5198cf0ab6f99p-1, -0x1.3ffd23da059f4p-2, 0x1.ae63f4c5d36dcp-5, 0x1.0d00c1b178adap-4, -0x1.211d261093929p-4,
      0x1.b874b30c5dd59p-6, 0x1.75a50b0b899edp-7, -0x1.74c2b9c404912p-6, 0x1.b4803d3249a4dp-7, 0x1.4e5e3e11efa33p-11}},
    {{0x1.4c9e0693e0015p-1, -0x1.3d5f08ea521a8p-2, 0x1.ce9f01d4b9b62p-5, 0x1.eda66b5db8847p-5, -0x1.16921a92559e3p-4,
      0x1.ca69513b2a17dp-6, 0x1.1c4bb355982b3p-7, -0x1.5607f65bec936p-6, 0x1.b48924e349f67p-7, -0x1.35b505c3aa961p-11}},
    {{0x1.47ae147ae147bp-1, -0x1.3a92a30553261p-2, 0x1.ec21b514d88d8p-5, 0x1.c2f8b88dfb80cp-5, -0x1.0ba9908c71945p-4,
      0x1.d7b0c3d79f13fp-6, 0x1.95393357dfc67p-8, -0x1.378223aa97829p-6, 0x1.aec90a8b90db0p-7, -0x1.a9b62ef307e0dp-10}},
    {{0x1.42c9a9dd8fdc1p-1, -0x1.379bf25adf97fp-2, 0x1.0383a724dbb01p-4, 0x1.9a04e646e65dfp-5, -0x1.007e562771c79p-4,
      0x1.e0b5c37a45544p-6, 0x1.00fc754993092p-8, -0x1.1990937534c25p-6, 0x1.a437eae51732ap-7, -0x1.445369e08d5b8p-9}},
    {{0x1.3df1682b78014p-1, -0x1.347ecdb5be2e4p-2, 0x1.0fb5da3a11be4p-4, 0x1.72d3716778170p-5, -0x1.ea517d4cdbd49p-5,
      0x1.e5e106bc61b6fp-6, 0x1.ee0afd0517524p-10, -0x1.f90384f2ec799p-7, 0x1.95bc2a9aaa5bbp-7, -0x1.9db547a33f95fp-9}},
    {{0x1.3925e1cd28c98p-1, -0x1.313ee1af2c622p-2, 0x1.1ab59c7f683c3p-4, 0x1.4d693a7039179p-5, -0x1.d37d6391400b3p-5,
      0x1.e7982f2148a36p-6, 0x1.12956b6df63cap-14, -0x1.c1294fbd0f7eep-7, 0x1.8428a8b0b0a0ep-7, -0x1.e305809d0ab52p-9}},
    {{0x1.34679ace01346p-1, -0x1.2ddfb03913da2p-2, 0x1.2491307b46905p-4, 0x1.29c7e4b96b773p-5, -0x1.bca781f071f44p-5,
      0x1.e63cec4b7b7c4p-6, -0x1.9529a125f35b0p-10, -0x1.8bf43ed369b2bp-7, 0x1.703bac97185cdp-7,
      -0x1.0b2d44f8f2b6ep-8}},
    {{0x1.2fb7098736048p-1, -0x1.2a64907603054p-2, 0x1.2d56da0cac592p-4, 0x1.07ee31fa53ce5p-5, -0x1.a5f2821eb5271p-5,
      0x1.e22c508df7f4fp-6, -0x1.83dca107b528fp-9, -0x1.59acc0a22f693p-7, 0x1.5a9e8b39536bap-7, -0x1.1ce5fbe408e44p-8}},
    {{0x1.2b14974aea886p-1, -0x1.26d0aed65571ep-2, 0x1.3514c8be1339fp-4, 0x1.cfb0b300f8f9bp-6, -0x1.8f7ccf34b004fp-5,
      0x1.dbbe51bd3bde0p-6, -0x1.126379bf7dcebp-8, -0x1.2a84ea146e5b2p-7, 0x1.43e5e05f2718ep-7, -0x1.27b2a6e3d62b3p-8}},
    {{0x1.2680a10e5813ep-1, -0x1.23270d725fa1cp-2, 0x1.3bd904bf2f124p-4, 0x1.9300b53ea1533p-6, -0x1.7960d53a4e537p-5,
      0x1.d345711f5f086p-6, -0x1.5776019baa1dap-8, -0x1.fd36ab2a2ca7ep-8, 0x1.2c923c7a02081p-7, -0x1.2c8debce66e52p-8}},
    {{0x1.21fb78121fb78p-1, -0x1.1f6a8499e4889p-2, 0x1.41b15e5decb17p-4, 0x1.59bc940a374b5p-6, -0x1.63b54400d3c9ap-5,
      0x1.c90e857717232p-6, -0x1.91f786bfa704ep-8, -0x1.abfbc643da6ddp-8, 0x1.15112a418ed31p-7, -0x1.2c6398bf559bfp-8}},
    {{0x1.1d856287ffb8ap-1, -0x1.1b9dc39195240p-2, 0x1.46ab5fd4fa866p-4, 0x1.23d13384eda2cp-6, -0x1.4e8d53cff324cp-5,
      0x1.bd60a25b0d0adp-6, -0x1.c2bb4e063d1e6p-8, -0x1.61589dcb54dd5p-8, 0x1.fb7ce61077b85p-8, -0x1.280e12938fca6p-8}},
    {{0x1.191e9c35424cap-1, -0x1.17c35177d9a85p-2, 0x1.4ad44144fffaep-4, 0x1.e2516fb2b5523p-7, -0x1.39f90aa1cc641p-5,
      0x1.b07d185304289p-6, -0x1.ea930756fd193p-8, -0x1.1d352e2a9a0dep-8, 0x1.cdcb1886fc912p-8, -0x1.2054c036bffbap-8}},
    {{0x1.14c75711551bbp-1, -0x1.13dd8e4aa5095p-2, 0x1.4e38dead4c211p-4, 0x1.8355ff6b74576p-7, -0x1.260580de0faaap-5,
      0x1.a29f8989371f0p-6, -0x1.052612b085d9ap-7, -0x1.beccb2511c555p-9, 0x1.a186387b9d333p-8, -0x1.15eb475d0e624p-8}},
    {{0x1.107fbbe011080p-1, -0x1.0feeb40894fcdp-2, 0x1.50e5afb9125f7p-4, 0x1.2a7c2843ba55ap-7, -0x1.12bd24b4ae875p-5,
      0x1.93fe0f3b1b1eep-6, -0x1.1156dd4c2083bp-7, -0x1.4f63b0c35aa9cp-9, 0x1.770d0e5d0462fp-8, -0x1.097172647f464p-8}},
    {{0x1.0c47eac74fadcp-1, -0x1.0bf8d7e8202a9p-2, 0x1.52e6c13725c73p-4, 0x1.af1a37d9c2711p-8, -0x1.0027fb643d11fp-5,
      0x1.84c96c756b7d7p-6, -0x1.1a3b66c3ca3aep-7, -0x1.d747013459246p-10, 0x1.4ea6f1e70d9a4p-8,
      -0x1.f6e735ded322cp-9}},
    {{0x1.081ffbdf80108p-1, -0x1.07fdeba010928p-2, 0x1.5447b0136e69fp-4, 0x1.149fc55103947p-8, -0x1.dc97bfbe9a2eep-6,
      0x1.752d4b08adda9p-6, -0x1.202e8b540d106p-7, -0x1.25de5859de3e9p-10, 0x1.2886c4afd9f21p-8,
      -0x1.d8d6f1ff313bcp-9}},
    {{0x1.0407ffbefe001p-1, -0x1.03ffbebd00209p-2, 0x1.5513a5aaf6d91p-4, 0x1.0a27fc6ac4038p-9, -0x1.ba597ccd6032ap-6,
      0x1.65508002bb974p-6, -0x1.23860d2d1068bp-7, -0x1.1277e666265bcp-11, 0x1.04cdc656b66eap-8,
      -0x1.b982755927a4fp-9}},
    {{0x1.0000000000000p-1, -0x1.0000000000000p-2, 0x1.5555555555555p-4, 0x0p+0, -0x1.999999999999ap-6,
      0x1.5555555555555p-6, -0x1.2492492492492p-7, 0x0p+0, 0x1.c71c71c71c71cp-9, -0x1.999999999999ap-9}},
}};

// atan2 of parts with magnitudes y and x, finite and not both zero, and the
// given signs, compensated, to about 2^-68 relative, with one division on
// its chain: t = a / b = min / max and its own rounding tl, c = j/64 the
// nearest table point, and atan t = atan c + sum a_k d^k, d = t - c exact,
// |d| <= 1/128, ten terms (the eleventh is under 2^-73 of the result). The
// first term is formed exactly from a_1 as a pair, t's rounding enters
// through atan'(t) = a_1 + 2 a_2 d + ..., the others are under 2^-7 of the
// result, and atan c is a pair. The octant is an offset and a sign,
// not a branch, which random arguments would mispredict.
template <bool F = kFma>
CPLX_INLINE comp atan2_c(double y, double x, bool neg_y, bool neg_x) noexcept {
    const bool swap = y > x;
    double a = swap ? x : y, b = swap ? y : x;
    // Keep t's remainder out of the subnormals, and the split products in range.
    if ((a < 0x1p-900 && b < 0x1p400) || (!(F || kFma) && b > 0x1p900)) {
        const double s = b > 0x1p900 ? 0x1p-600 : 0x1p600;
        a *= s;
        b *= s;
    }
    const double t = a / b;
    const double tl = (F ? std::fma(-t, b, a) : to_double(add(two_prod<F>(-t, b), a))) / b; // off the chain
    const double ts = t * 64 + kRoundShift;
    const int j = static_cast<int>(to_bits(ts) & 127);
    const double d = t - (ts - kRoundShift) * (1.0 / 64), d4 = d * d * (d * d);
    const dd d2 = two_sqr<F>(d);
    const double* k = kAtanSeries.v[j].a;
    const double r =
        ((k[2] + d * k[3]) + d2.hi * (k[4] + d * k[5])) + d4 * ((k[6] + d * k[7]) + d2.hi * (k[8] + d * k[9]));
    const dd& a1 = kAtanSlope[j];
    const dd lead = two_prod<F>(a1.hi, d), second = two_prod<F>(k[1], d2.hi);  // a_1 d and a_2 d^2, the largest terms
    const double rest = lead.lo + ((a1.lo * d + tl * (a1.hi + 2 * k[1] * d)) + // tl atan'(t), to 2^-14
                                   (second.hi + (second.lo + (k[1] * d2.lo + d * d2.hi * r))));
    const double sign = negated_if(1.0, neg_y), rsign = negated_if(sign, neg_x != swap);
    const dd& o = kAtanBase.v[2 * neg_x + swap][j];
    const dd s = two_sum(o.hi * sign, lead.hi * rsign);
    return {s.hi, s.lo + (o.lo * sign + rest * rsign)};
}

// atan2(y, x) for finite y and x, rounded once from atan2_c: within 0.51 ulp,
// and 0.75 for results under 2^-1000, where t's correction is subnormal.
template <bool F = kFma>
CPLX_INLINE double atan2_fast(double y, double x) noexcept {
    if (y == 0 && x == 0) return std::copysign(std::signbit(x) ? kPi.hi : 0.0, y);
    return to_double(atan2_c<F>(std::fabs(y), std::fabs(x), std::signbit(y), std::signbit(x)));
}

} // namespace detail
} // namespace cplx

CPLX_DIAGNOSTICS_END

#endif // CPLX_DETAIL_KERNELS_HPP
