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
// Im((-1)^(k-1) / (k (c - i)^k)), at compile time.
struct alignas(16) atan_series_row {
    double a[10];
};
struct atan_series {
    atan_series_row v[65];
};
constexpr atan_series make_atan_series() noexcept {
    atan_series t{};
    for (int j = 0; j < 65; ++j) {
        const double c = j / 64.0, n = c * c + 1, wr = c / n, wi = 1 / n; // 1 / (c - i)
        double pr = 1, pi = 0;
        for (int k = 1; k <= 10; ++k) {
            const double r = pr * wr - pi * wi;
            pi = pr * wi + pi * wr;
            pr = r;
            t.v[j].a[k - 1] = (k % 2 ? pi : -pi) / k;
        }
    }
    return t;
}
inline constexpr atan_series kAtanSeries = make_atan_series();

// atan2 of parts with magnitudes y and x, finite and not both zero, and the
// given signs, compensated, to about 2^-68 relative, with one division on
// its chain: t = a / b = min / max and its own rounding tl, c = j/64 the
// nearest table point, and atan t = atan c + sum a_k d^k, d = t - c exact,
// |d| <= 1/128, ten terms (the eleventh is under 2^-73 of the result). The
// first term is formed exactly from a_1 as a pair; the others are under 2^-7
// of the result, and atan c is a pair. The octant is an offset and a sign,
// not a branch, which random arguments would mispredict.
template <bool F = kFma>
CPLX_INLINE comp atan2_c(double y, double x, bool neg_y, bool neg_x) noexcept {
    const bool swap = y > x;
    const double a = swap ? x : y, b = swap ? y : x, t = a / b;
    const double tl = (F ? std::fma(-t, b, a) : to_double(add(two_prod<F>(-t, b), a))) / b; // off the chain
    const double ts = t * 64 + kRoundShift;
    const int j = static_cast<int>(to_bits(ts) & 127);
    const double d = t - (ts - kRoundShift) * (1.0 / 64), d2 = d * d, d4 = d2 * d2;
    const double* k = kAtanSeries.v[j].a;
    const double q =
        (((k[1] + d * k[2]) + d2 * (k[3] + d * k[4])) + d4 * ((k[5] + d * k[6]) + d2 * (k[7] + d * k[8]))) +
        d4 * d4 * k[9];
    const dd& a1 = kAtanSlope[j];
    const dd lead = two_prod<F>(a1.hi, d);
    const double rest = lead.lo + (a1.lo * d + a1.hi * tl + d2 * q);
    const double sign = negated_if(1.0, neg_y), rsign = negated_if(sign, neg_x != swap);
    const dd& o = kAtanBase.v[2 * neg_x + swap][j];
    const dd s = two_sum(o.hi * sign, lead.hi * rsign);
    return {s.hi, s.lo + (o.lo * sign + rest * rsign)};
}

// atan2(y, x) for finite y and x, rounded once from atan2_c: within 0.51 ulp.
template <bool F = kFma>
CPLX_INLINE double atan2_fast(double y, double x) noexcept {
    if (y == 0 && x == 0) return std::copysign(std::signbit(x) ? kPi.hi : 0.0, y);
    return to_double(atan2_c<F>(std::fabs(y), std::fabs(x), std::signbit(y), std::signbit(x)));
}

} // namespace detail
} // namespace cplx

CPLX_DIAGNOSTICS_END

#endif // CPLX_DETAIL_KERNELS_HPP
