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
// the magnitudes of the parts and the signs are put back at the end.

#ifndef CPLX_FUNCTIONS_HPP
#define CPLX_FUNCTIONS_HPP

#include <cmath>
#include <limits>

#include "Complex.hpp"

#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfloat-equal"
#endif

namespace cplx {

namespace detail {

// ------------------------------------------------ double-double arithmetic
//
// A value hi + lo with |lo| <= ulp(hi) / 2, about 106 bits. Products use
// Dekker's splitting rather than fma, which without a target flag is a
// library call; every product of halves is exact, so contracting them into
// fma changes nothing.

struct dd {
    double hi, lo;
};

inline dd fast_two_sum(double a, double b) noexcept {  // |a| >= |b|
    const double s = a + b;
    return {s, b - (s - a)};
}

inline dd two_sum(double a, double b) noexcept {
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

inline dd two_prod(double a, double b) noexcept {  // |a|, |b| < 2^996
    constexpr double split = 0x1p27 + 1;
    const double p = a * b, ca = split * a, cb = split * b;
    const double ah = ca - (ca - a), al = a - ah, bh = cb - (cb - b), bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline dd add(dd a, dd b) noexcept {
    const dd s = two_sum(a.hi, b.hi);
    return fast_two_sum(s.hi, s.lo + (a.lo + b.lo));
}

inline dd neg(dd a) noexcept { return {-a.hi, -a.lo}; }

inline dd mul(dd a, dd b) noexcept {
    const dd p = two_prod(a.hi, b.hi);
    return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline dd mul(dd a, double b) noexcept {
    const dd p = two_prod(a.hi, b);
    return fast_two_sum(p.hi, p.lo + a.lo * b);
}

inline dd div(dd a, dd b) noexcept {
    if (a.hi != 0 && std::fabs(a.hi) < 0x1p-969) {  // keep the correction's products clear of underflow
        const dd q = div({a.hi * 0x1p106, a.lo * 0x1p106}, b);
        return {q.hi * 0x1p-106, q.lo * 0x1p-106};
    }
    const double q = a.hi / b.hi;
    if (!(std::fabs(q) < 0x1p995)) return {q, 0};  // past Dekker's range; no correction
    const dd r = add(a, neg(mul(b, q)));
    return fast_two_sum(q, r.hi / b.hi);
}

inline double round(dd a) noexcept { return a.hi + a.lo; }

inline dd half(dd a) noexcept { return {a.hi / 2, a.lo / 2}; }

// One Newton step from the rounded root: sqrt(a) = r + (a - r^2) / 2r.
inline dd sqrt(dd a) noexcept {
    const double r = std::sqrt(a.hi);
    if (r == 0) return {r, 0};
    const dd rr = two_prod(r, r);
    return fast_two_sum(r, (((a.hi - rr.hi) - rr.lo) + a.lo) / (2 * r));
}

// x * y rounded once, for a double-double x; scaled where Dekker's
// splitting of x.hi would overflow.
inline double times(dd x, double y) noexcept {
    if (std::fabs(x.hi) > 0x1p995) return times({x.hi * 0x1p-64, x.lo * 0x1p-64}, y) * 0x1p64;
    const dd p = two_prod(x.hi, y);
    return p.hi + (p.lo + x.lo * y);
}

inline constexpr dd kLn2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
inline constexpr dd kPi = {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
inline constexpr dd kPi2 = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
// ln 2 with its last 12 bits zero, so that k * kLn2Hi is exact for |k| < 4096.
inline constexpr double kLn2Hi = 0x1.62e42fefa3p-1, kLn2Lo = 0x1.3de6af278ece6p-42;

// ------------------------------------------------ extended-precision kernels

// log(1 + j/32) for j = -9..13.
inline constexpr dd kLogTable[23] = {
    {-0x1.522ae0738a3d8p-2, 0x1.8f7e9b38a6979p-57}, {-0x1.269621134db92p-2, -0x1.e0efadd9db02bp-56},
    {-0x1.f991c6cb3b379p-3, -0x1.f665066f980a2p-57}, {-0x1.a93ed3c8ad9e3p-3, -0x1.bcafa9de97203p-57},
    {-0x1.5bf406b543db2p-3, 0x1.1f5b44c0df7e7p-61}, {-0x1.1178e8227e47cp-3, 0x1.0e63a5f01c691p-58},
    {-0x1.9335e5d594989p-4, 0x1.478a85704ccb7p-58}, {-0x1.08598b59e3a07p-4, 0x1.dd7009902bf32p-58},
    {-0x1.0415d89e74444p-5, -0x1.c05cf1d753622p-59}, {0.0, 0.0},
    {0x1.f829b0e7833p-6, 0x1.33e3f04f1ef23p-60},    {0x1.f0a30c01162a6p-5, 0x1.85f325c5bbacdp-59},
    {0x1.6f0d28ae56b4cp-4, -0x1.906d99184b992p-58}, {0x1.e27076e2af2e6p-4, -0x1.61578001e0162p-60},
    {0x1.29552f81ff523p-3, 0x1.301771c407dbfp-57},  {0x1.5ff3070a793d4p-3, -0x1.bc60efafc6f6ep-58},
    {0x1.9525a9cf456b4p-3, 0x1.d904c1d4e2e26p-57},  {0x1.c8ff7c79a9a22p-3, -0x1.4f689f8434012p-57},
    {0x1.fb9186d5e3e2bp-3, -0x1.caaae64f21acbp-57}, {0x1.1675cababa60ep-2, 0x1.ce63eab883717p-61},
    {0x1.2e8e2bae11d31p-2, -0x1.8f4cdb95ebdf9p-56}, {0x1.4618bc21c5ec2p-2, 0x1.f42decdeccf1dp-56},
    {0x1.5d1bdbf5809cap-2, 0x1.4236383dc7fe1p-56},
};

// atan(j/16) for j = 0..16.
inline constexpr dd kAtanTable[17] = {
    {0.0, 0.0},
    {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60}, {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},  {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57}, {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56}, {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.0657e94db30dp-1, -0x1.d5b495f6349e6p-56},  {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},  {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},  {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56}, {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

// log(hi + lo) for a normal positive hi, to about 2^-66 relative. With
// hi = m 2^k, m in [0.71, 1.41], c = 1 + j/32 the nearest table point:
// log(m) = log(c) + 2 atanh(t), t = (m - c) / (m + c), |t| < 0.0112, where
// the series needs terms to t^11; only 2t needs double-double.
inline dd log_dd(double hi, double lo) noexcept {
    int k = 0;
    double m = std::frexp(hi, &k);  // [0.5, 1)
    if (m < 0x1.6a09e667f3bcdp-1) {
        m *= 2;
        --k;
    }
    const double ml = std::ldexp(lo, -k);
    const int j = static_cast<int>(std::nearbyint((m - 1) * 32));
    const double c = 1 + j / 32.0;
    const dd num = fast_two_sum(m - c, ml);  // m - c is exact
    const dd den = add(two_sum(m, c), {ml, 0});
    const dd t = div(num, den);
    const double t2 = t.hi * t.hi;
    const double tail =
        t.hi * t2 * (2.0 / 3 + t2 * (2.0 / 5 + t2 * (2.0 / 7 + t2 * (2.0 / 9 + t2 * (2.0 / 11)))));
    const dd k_ln2 = {k * kLn2Hi, k * kLn2Lo};  // the first product is exact
    return add(add(k_ln2, kLogTable[j + 9]), add({2 * t.hi, 2 * t.lo}, {tail, 0}));
}

// e^a as a double-double for a <= 709, to about 2^-66 relative: the rounded
// e^a corrected by a - log(e^a), computed in double-double.
inline dd exp_dd(double a) noexcept {
    const double e = std::exp(a);
    if (!(e >= 0x1p-1000) || e == std::numeric_limits<double>::infinity()) return {e, 0};
    const dd l = log_dd(e, 0);
    return fast_two_sum(e, e * ((a - l.hi) - l.lo));
}

// atan2(y, x) in [0, pi/2] for finite x, y >= 0, not both zero, to about
// 2^-66 relative. With t = min/max and c = j/16 the nearest table point,
// atan(t) = atan(c) + atan(d), d = (t - c) / (1 + t c), |d| < 1/32.
inline dd atan2_dd(double y, double x) noexcept {
    const bool swap = y > x;
    const double a = swap ? x : y, b = swap ? y : x;
    const double q = a / b;
    const dd qb = two_prod(q, b);
    const dd t = fast_two_sum(q, ((a - qb.hi) - qb.lo) / b);
    const int j = static_cast<int>(std::nearbyint(t.hi * 16));
    const double c = j / 16.0;
    const dd num = fast_two_sum(t.hi - c, t.lo);  // t.hi - c is exact
    const dd den = add({1, 0}, mul(t, c));
    const dd d = div(num, den);
    const double d2 = d.hi * d.hi;
    const double tail =
        d.hi * d2 *
        (-1.0 / 3 + d2 * (1.0 / 5 + d2 * (-1.0 / 7 + d2 * (1.0 / 9 + d2 * (-1.0 / 11 + d2 * (1.0 / 13 - d2 / 15))))));
    const dd r = add(kAtanTable[j], add(d, {tail, 0}));
    return swap ? add(kPi2, neg(r)) : r;
}

// ------------------------------------------------ accurate real helpers

// cosh a and sinh a for 0 <= a < 22, each to a few units in 2^-60.
struct cosh_sinh {
    dd ch, sh;
};

CPLX_NOINLINE inline cosh_sinh hyperbolic(double a) noexcept {
    if (a < 0x1p-27) return {{1, a * a / 2}, {a, 0}};
    const dd e = exp_dd(a);
    const dd r = div({1, 0}, e);
    const dd ch = add(e, r), sh = add(e, neg(r));
    return {{ch.hi / 2, ch.lo / 2}, {sh.hi / 2, sh.lo / 2}};
}

// m e^x 2^-h for finite m and h = 0 or 1, without the overflow of e^x alone
// where the product is finite: past x = 709, e^x = 2^k e^(x - k ln 2) with
// x - k ln 2 held in double-double, since its rounding error would be
// multiplied by e^x. The halving is applied last, where it is exact.
CPLX_NOINLINE inline double exp_times(double x, double m, int h = 0) noexcept {
    if (!(x > 709)) return times(exp_dd(x), m) * (h ? 0.5 : 1.0);
    const int k = x < 1409 ? 1023 : 2046;  // x - k ln 2 in [-9.2, 700]
    const double rh = (x < 1454 ? x : 1454) - k * kLn2Hi, rl = -k * kLn2Lo;
    const dd e = exp_dd(rh);
    double p = times(add(e, {e.hi * rl, 0}), m) * 0x1p1022;
    p *= h ? 1.0 : 2.0;
    return k > 1023 ? p * 0x1p1023 : p;
}

// log|x + iy| for finite parts, not both zero, to about an ulp: x^2 + y^2
// is formed exactly, and near 1, where the logarithm cancels, it is taken in
// double-double.
inline double log_abs(double x, double y) noexcept {
    x = std::fabs(x);
    y = std::fabs(y);
    const double big = x > y ? x : y;
    int e = 0;
    if (big > 0x1p+500 || big < 0x1p-500) {
        e = std::ilogb(big);
        x = std::scalbn(x, -e);
        y = std::scalbn(y, -e);
    }
    const dd xx = two_prod(x, x), yy = two_prod(y, y);
    const dd s = xx.hi > yy.hi ? add(xx, yy) : add(yy, xx);
    if (e == 0 && s.hi > 0.5 && s.hi < 2) return round(log_dd(s.hi, s.lo)) / 2;
    const double l = (std::log(s.hi) + s.lo / s.hi) / 2;
    return e == 0 ? l : l + e * kLn2Hi + e * kLn2Lo;
}

inline bool finite(double x) noexcept { return x - x == 0; }

// Signs put back on a first-quadrant result.
inline Complex signed_like(double re, double im, double sre, double sim) noexcept {
    return {std::copysign(re, sre), std::copysign(im, sim)};
}
inline Complex negated_if(double re, double im, bool nre, bool nim) noexcept {
    return {nre ? -re : re, nim ? -im : im};
}

}  // namespace detail

// ---------------------------------------------------------------- basics

constexpr double norm(const Complex& z) noexcept { return z.re * z.re + z.im * z.im; }

inline Complex proj(const Complex& z) noexcept {
    if (std::isinf(z.re) || std::isinf(z.im))
        return {std::numeric_limits<double>::infinity(), std::copysign(0.0, z.im)};
    return z;
}

// ------------------------------------------------------------- square root

namespace detail {

// t = sqrt((x + |z|) / 2) for x, y >= 0 whose squares neither overflow nor
// underflow, with |z| and t in double-double, so that t and y / 2t are each
// rounded once.
inline dd sqrt_t(double x, double y) noexcept {
    const dd xx = two_prod(x, x), yy = two_prod(y, y);
    const dd m = sqrt(xx.hi > yy.hi ? add(xx, yy) : add(yy, xx));
    return sqrt(half(add(m, {x, 0})));
}

inline Complex sqrt_parts(dd t, double y) noexcept { return {round(t), round(div({y, 0}, {2 * t.hi, 2 * t.lo}))}; }

// The same for parts out of that range: t from the parts scaled by an even
// power of two, sqrt(4^k z) = 2^k sqrt(z); y / 2t from y scaled by 2^-k
// only, which keeps it clear of underflow wherever the result is.
CPLX_NOINLINE inline Complex sqrt_scaled(double x, double y) noexcept {
    const double big = x > y ? x : y;
    const int e = (std::ilogb(big) / 2) * 2;
    const Complex r = sqrt_parts(sqrt_t(std::scalbn(x, -e), std::scalbn(y, -e)), std::scalbn(y, -e / 2));
    return {std::scalbn(r.re, e / 2), r.im};
}

}  // namespace detail

// With t = sqrt((|x| + |z|) / 2), which never forms |z| - |x|, so nothing cancels: for
// x >= 0 the root is t + i y / 2t, for x < 0 it is |y| / 2t + i copysign(t, y).
inline Complex sqrt(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    const double s = x * x + y * y;
    Complex r;  // t and y / 2t
    if (CPLX_LIKELY(detail::safe(s, s))) {
        r = detail::sqrt_parts(detail::sqrt_t(x, y), y);
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

// e^x cos y + i e^x sin y, on |y|; a zero y is the imaginary part itself.
inline Complex exp(const Complex& z) noexcept {
    const double x = z.re, y = std::fabs(z.im);
    if (y == 0) return {std::exp(x), z.im};
    if (CPLX_LIKELY(x < 709 && detail::finite(x) && y < std::numeric_limits<double>::infinity())) {
        const double e = std::exp(x);
        return detail::negated_if(e * std::cos(y), e * std::sin(y), false, std::signbit(z.im));
    }
    constexpr double inf = std::numeric_limits<double>::infinity();
    if (std::isnan(x) || (!detail::finite(y) && x != -inf)) {
        if (x == inf) return {inf, y - y};
        return {x + y - y, x + y - y};
    }
    if (x == -inf) return detail::negated_if(detail::finite(y) ? std::copysign(0.0, std::cos(y)) : 0.0,
                                             detail::finite(y) ? std::copysign(0.0, std::sin(y)) : 0.0, false,
                                             std::signbit(z.im));
    return detail::negated_if(detail::exp_times(x, std::cos(y)), detail::exp_times(x, std::sin(y)), false,
                              std::signbit(z.im));
}

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

// log z as two double-doubles, for pow.
struct log_parts {
    dd re, im;
};

inline log_parts log_dd(const Complex& z) noexcept {
    double x = std::fabs(z.re), y = std::fabs(z.im);
    const int e = std::ilogb(x > y ? x : y);
    x = std::scalbn(x, -e);
    y = std::scalbn(y, -e);
    const dd xx = two_prod(x, x), yy = two_prod(y, y);
    const dd s = xx.hi > yy.hi ? add(xx, yy) : add(yy, xx);
    const dd l = log_dd(s.hi, s.lo);
    dd theta = atan2_dd(y, x);
    if (std::signbit(z.re)) theta = add(kPi, neg(theta));
    if (std::signbit(z.im)) theta = neg(theta);
    return {add({l.hi / 2, l.lo / 2}, {e * kLn2Hi, e * kLn2Lo}), theta};
}

// e^(u + iv) for double-double u and v: e^u.hi cis(v.hi), corrected to first
// order by u.lo and v.lo, which is all they need.
inline Complex exp_of(dd u, dd v) noexcept {
    const double c = std::cos(v.hi), s = std::sin(v.hi);
    const double re = (c - s * v.lo) * (1 + u.lo), im = (s + c * v.lo) * (1 + u.lo);
    return {exp_times(u.hi, re), exp_times(u.hi, im)};
}

// z^n for an integer 0 < |n| <= 64 by binary powering in double-double,
// which keeps the error near an ulp where plain doubles would double it at
// every squaring; a negative n powers 1/z, formed in double-double too.
// Needs every power of z on the way to stay within 2^+-900.
CPLX_NOINLINE inline Complex pow_int(const Complex& z, int n) noexcept {
    dd br = {z.re, 0}, bi = {z.im, 0};
    if (n < 0) {
        const dd d = add(two_prod(z.re, z.re), two_prod(z.im, z.im));
        br = div(br, d);
        bi = neg(div(bi, d));
    }
    dd pr = br, pi = bi;
    for (unsigned m = static_cast<unsigned>(n < 0 ? -n : n) >> 1; m != 0; m >>= 1) {
        const dd sq = add(mul(br, br), neg(mul(bi, bi)));
        bi = mul(mul(br, bi), 2.0);
        br = sq;
        if (m & 1) {
            const dd r = add(mul(pr, br), neg(mul(pi, bi)));
            pi = add(mul(pr, bi), mul(pi, br));
            pr = r;
        }
    }
    return {round(pr), round(pi)};
}

inline Complex pow_general(const Complex& z, double wr, double wi) noexcept {
    const log_parts l = log_dd(z);
    const dd u = add(mul(l.re, wr), neg(mul(l.im, wi)));
    const dd v = add(mul(l.im, wr), mul(l.re, wi));
    return exp_of(u, v);
}

}  // namespace detail

// z^w = e^(w log z), with w log z in double-double: the error of the result
// is about |w log z| times that of w log z.
inline Complex pow(const Complex& z, double w) noexcept {
    if (w == 0) return {1, 0};
    const double big = std::fabs(z.re) > std::fabs(z.im) ? std::fabs(z.re) : std::fabs(z.im);
    if (!detail::finite(big) || big == 0 || !detail::finite(w)) return exp(w * log(z));
    if (w == std::nearbyint(w) && std::fabs(w) <= 64) {
        const int n = static_cast<int>(w);
        if (std::fabs((std::ilogb(big) + 1.0) * n) < 900) return detail::pow_int(z, n);
    }
    return detail::pow_general(z, w, 0);
}

inline Complex pow(const Complex& z, const Complex& w) noexcept {
    if (w.im == 0) return pow(z, w.re);
    const double big = std::fabs(z.re) > std::fabs(z.im) ? std::fabs(z.re) : std::fabs(z.im);
    if (!detail::finite(big) || big == 0 || !detail::finite(w.re) || !detail::finite(w.im)) return exp(w * log(z));
    return detail::pow_general(z, w.re, w.im);
}

// ------------------------------------------------ hyperbolic and circular

namespace detail {

// sinh and cosh of a + ib for a, b >= 0, finite or not: {sinh, cosh} parts.
struct sinh_cosh {
    double sh_re, sh_im, ch_re, ch_im;
};

inline sinh_cosh sinh_cosh_first(double a, double b) noexcept {
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    if (CPLX_LIKELY(a < 22 && b < inf)) {
        const double c = std::cos(b), s = std::sin(b);
        const cosh_sinh h = hyperbolic(a);
        return {times(h.sh, c), b == 0 ? b : times(h.ch, s), times(h.ch, c), b == 0 ? b : times(h.sh, s)};
    }
    if (a - a == 0 && b < inf) {  // 22 <= a: cosh a = sinh a = e^a / 2 to the last bit
        const double re = exp_times(a, std::cos(b), 1), im = b == 0 ? b : exp_times(a, std::sin(b), 1);
        return {re, im, re, im};
    }
    if (std::isnan(a)) {
        const double im = b == 0 ? b : nan;
        return {a, im, a, im};
    }
    if (a == inf) {
        if (b == 0) return {inf, b, inf, b};
        if (b < inf) {
            const double re = std::copysign(inf, std::cos(b)), im = std::copysign(inf, std::sin(b));
            return {re, im, re, im};
        }
        return {inf, nan, inf, nan};
    }
    // a finite, b infinite or NaN.
    if (a == 0) return {a, nan, nan, a};
    return {nan, nan, nan, nan};
}

// tanh(a + ib) for a, b >= 0 as (sinh a cosh a + i sin b cos b) / (sinh^2 a
// + cos^2 b), whose denominator is a sum of squares and so never cancels;
// the sums and products are taken in double-double. Past a = 22, tanh is 1
// to the last bit and the imaginary part is 2 sin 2b e^(-2a).
inline Complex tanh_first(double a, double b) noexcept {
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    if (CPLX_LIKELY(a < 22 && b < inf)) {
        const double c = std::cos(b), s = std::sin(b);
        const cosh_sinh h = hyperbolic(a);
        const dd den = add(mul(h.sh, h.sh), two_prod(c, c));
        // Below 2^-500 the correction terms of the quotient would underflow;
        // sinh a cosh a is a itself there.
        const double re = a < 0x1p-500 ? a / round(den) : round(div(mul(h.sh, h.ch), den));
        return {re, b == 0 ? b : round(div(two_prod(s, c), den))};
    }
    if (a - a == 0 && b < inf) {
        const double s2 = b < 0x1p1020 ? std::sin(2 * b) : 2 * std::sin(b) * std::cos(b);
        return {1, b == 0 ? b : 2 * s2 * std::exp(-2 * a)};
    }
    if (a == inf) return {1, b < inf ? std::copysign(0.0, std::sin(2 * b)) : 0.0};
    if (std::isnan(a)) return {a, b == 0 ? b : nan};
    return {a == 0 ? a : nan, nan};
}

}  // namespace detail

inline Complex sinh(const Complex& z) noexcept {
    const detail::sinh_cosh h = detail::sinh_cosh_first(std::fabs(z.re), std::fabs(z.im));
    return detail::negated_if(h.sh_re, h.sh_im, std::signbit(z.re), std::signbit(z.im));
}

inline Complex cosh(const Complex& z) noexcept {
    const detail::sinh_cosh h = detail::sinh_cosh_first(std::fabs(z.re), std::fabs(z.im));
    return detail::negated_if(h.ch_re, h.ch_im, false, std::signbit(z.re) != std::signbit(z.im));
}

inline Complex tanh(const Complex& z) noexcept {
    const Complex t = detail::tanh_first(std::fabs(z.re), std::fabs(z.im));
    return detail::negated_if(t.re, t.im, std::signbit(z.re), std::signbit(z.im));
}

// sin z = -i sinh(iz), cos z = cosh(iz), tan z = -i tanh(iz).
inline Complex sin(const Complex& z) noexcept {
    const Complex s = sinh(Complex(-z.im, z.re));
    return {s.im, -s.re};
}

inline Complex cos(const Complex& z) noexcept { return cosh(Complex(-z.im, z.re)); }

inline Complex tan(const Complex& z) noexcept {
    const Complex t = tanh(Complex(-z.im, z.re));
    return {t.im, -t.re};
}

// ------------------------------------------------------ inverse functions

namespace detail {

// asin and acos of x + iy for x, y >= 0 finite (Hull, Fairgrieve and Tang,
// "Implementing the complex arcsine and arccosine functions using exception
// handling", 1997): re_asin and re_acos are the real parts, im >= 0 the
// magnitude of the imaginary part that both share.
struct asin_acos {
    double re_asin, re_acos, im;
};

CPLX_NOINLINE inline asin_acos asin_acos_first(double x, double y) noexcept {
    constexpr double ln2 = 0x1.62e42fefa39efp-1;
    if (x > 0x1p28 || y > 0x1p28) {  // asin z = -i log(2iz) to within |z|^-2
        return {std::atan2(x, y), std::atan2(y, x), log_abs(x, y) + ln2};
    }
    if (x == 1 && y < 0x1p-500) {  // asin(1 + iy) = pi/2 - (1 - i) sqrt(y) to within y
        const double r = std::sqrt(y);
        return {kPi2.hi - r + kPi2.lo, r, r};
    }
    // R = |z + 1|, S = |z - 1|, A = (R + S) / 2 >= 1, B = x / A, all in
    // double-double, so that each argument of a real function is rounded once.
    const dd xp1 = two_sum(x, 1), xm1 = two_sum(x, -1), y2 = two_prod(y, y), xd = {x, 0};
    const dd r = sqrt(add(mul(xp1, xp1), y2)), s = sqrt(add(mul(xm1, xm1), y2));
    const dd a = half(add(r, s));
    const dd rx1 = add(r, xp1);  // R + x + 1
    const double b = round(div(xd, a));
    asin_acos out{};
    if (b <= 0.6417) {
        out.re_asin = std::asin(b);
        out.re_acos = std::acos(b);
    } else {  // asin B = atan(x / sqrt(A^2 - x^2)), without the cancellation in 1 - B^2
        const dd apx = add(a, xd);
        const dd fx = x <= 1 ? sqrt(half(mul(apx, add(div(y2, rx1), add(s, neg(xm1))))))
                             : mul(sqrt(half(add(div(apx, rx1), div(apx, add(s, xm1))))), y);
        out.re_asin = std::atan(round(div(xd, fx)));
        out.re_acos = std::atan(round(div(fx, xd)));
    }
    if (x < 1 && y < 0x1p-500) {  // y^2 is negligible and would underflow
        out.im = y / round(sqrt(add({1, 0}, neg(two_prod(x, x)))));
    } else if (a.hi <= 10) {  // A - 1 without cancellation
        const dd am1 = half(add(div(y2, rx1), x < 1 ? div(y2, add(s, neg(xm1))) : add(s, xm1)));
        out.im = std::log1p(round(add(am1, sqrt(mul(am1, add(a, {1, 0}))))));
    } else {
        out.im = std::log(round(add(a, sqrt(add(mul(a, a), {-1, 0})))));
    }
    return out;
}

// atanh(x + iy) for x, y >= 0 finite (Kahan 1987): the real part is
// log1p(4x / ((1 - x)^2 + y^2)) / 4, the imaginary part
// atan2(2y, (1 - x)(1 + x) - y^2) / 2 with that difference, which cancels
// near |z| = 1, taken in double-double.
CPLX_NOINLINE inline Complex atanh_first(double x, double y) noexcept {
    if (x > 0x1p28 || y > 0x1p28) {  // atanh z = 1/z + i pi/2 to within |z|^-3
        const Complex w = Complex(1, 0) / Complex(x, y);
        return {w.re, (kPi2.hi + w.im) + kPi2.lo};
    }
    const dd omx = two_sum(1, -x);
    const dd d = add(mul(omx, omx), two_prod(y, y));
    double re;
    if (omx.hi == 0 && y == 0) {
        re = std::numeric_limits<double>::infinity();
    } else if (d.hi > 0x1p-50) {
        re = std::log1p(round(div({4 * x, 0}, d))) / 4;
    } else {  // (1 - x)^2 + y^2 tiny: take the logarithms apart
        re = (std::log((1 + x) * (1 + x) + y * y) - 2 * log_abs(omx.hi, y)) / 4;
    }
    const dd xx = two_prod(x, x), yy = two_prod(y, y);
    const dd den = add(add({1, 0}, neg(xx)), neg(yy));
    return {re, std::atan2(2 * y, round(den)) / 2};
}

}  // namespace detail

inline Complex asin(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    double re, im;
    if (CPLX_LIKELY(x < inf && y < inf)) {
        const detail::asin_acos a = detail::asin_acos_first(x, y);
        re = a.re_asin;
        im = a.im;
    } else if (std::isnan(x) || std::isnan(y)) {
        re = x == 0 ? x : nan;
        im = std::isinf(x) || std::isinf(y) ? inf : nan;
    } else {
        re = std::atan2(x, y);
        im = inf;
    }
    return detail::signed_like(re, im, z.re, z.im);
}

inline Complex acos(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    double re, im;
    if (CPLX_LIKELY(x < inf && y < inf)) {
        const detail::asin_acos a = detail::asin_acos_first(x, y);
        re = a.re_acos;
        im = a.im;
    } else if (std::isnan(x) || std::isnan(y)) {
        re = x == 0 ? detail::kPi2.hi : nan;
        im = std::isinf(x) || std::isinf(y) ? inf : nan;
    } else {
        re = std::atan2(y, x);
        im = inf;
    }
    if (std::signbit(z.re) && !std::isnan(re)) re = (detail::kPi.hi - re) + detail::kPi.lo;
    return {re, std::signbit(z.im) ? im : -im};
}

inline Complex atanh(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    Complex a;
    if (CPLX_LIKELY(x < inf && y < inf)) {
        a = detail::atanh_first(x, y);
    } else if (std::isnan(x) || std::isnan(y)) {
        if (std::isinf(y)) {
            a = {0, detail::kPi2.hi};
        } else {
            a = {x == 0 || std::isinf(x) ? 0 : nan, nan};
        }
    } else {
        a = {0, detail::kPi2.hi};
    }
    return detail::signed_like(a.re, a.im, z.re, z.im);
}

// asinh z = -i asin(iz), atan z = -i atanh(iz); acosh from acos.
inline Complex asinh(const Complex& z) noexcept {
    const Complex a = asin(Complex(-z.im, z.re));
    return {a.im, -a.re};
}

inline Complex atan(const Complex& z) noexcept {
    const Complex a = atanh(Complex(-z.im, z.re));
    return {a.im, -a.re};
}

inline Complex acosh(const Complex& z) noexcept {
    const Complex a = acos(z);
    return {std::fabs(a.im), std::copysign(a.re, z.im)};
}

}  // namespace cplx

#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic pop
#endif

#endif  // CPLX_FUNCTIONS_HPP
