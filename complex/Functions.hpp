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
//   Complex pow(double x, const Complex& w) noexcept;
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
//
// Worst error per part, in ulps of the exact part: sqrt, exp, log, sin, cos,
// sinh and cosh 2; log10, tan, tanh and the inverse functions 3; pow 8 units
// of 2^-53 of the result's modulus while |w log z| <= 700, on every target
// (docs/design.md says how). The real kernels are the library's own
// (complex/detail/kernels.hpp); the C library is called only for real
// functions whose own error, well under an ulp, fits those bounds: log and
// atan2 in log, so that log(z).im is exactly arg(z), and log, log1p, asin,
// acos and atan in the inverse functions.

#ifndef CPLX_FUNCTIONS_HPP
#define CPLX_FUNCTIONS_HPP

#include <cmath>
#include <limits>

#include "Complex.hpp"
#include "detail/config.hpp"
#include "detail/dd.hpp"
#include "detail/kernels.hpp"

CPLX_DIAGNOSTICS_BEGIN

namespace cplx {

namespace detail {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CPLX_INLINE bool finite(double x) noexcept { return x - x == 0; }

// True where the processor has FMA. Before the runtime has read the
// processor's features, as in a static constructor, it says false: the
// other path is slower, and as exact.
CPLX_INLINE bool run_fma() noexcept {
#if CPLX_FMA_DISPATCH
    return __builtin_cpu_supports("fma");
#else
    return kFma;
#endif
}

// The one place that picks fused multiply-adds or Dekker's splitting for a
// function: Op::run<F>(parts) is its body, F whether to fuse. Where the
// target has FMA, or is not x86-64 under a GNU compiler, that is known when
// compiling; on x86-64 built without it, a copy compiled for FMA runs where
// the processor has it, checked at run time.
// The copies return both parts in one vector register, a part_pair: a
// caller's store of two returned registers as one vector goes through memory
// under GCC, and the stalled load costs as much as a quarter of sqrt.
#if CPLX_FMA_DISPATCH
template <class Op, class... A>
CPLX_TARGET_FMA CPLX_NOINLINE part_pair fused_copy(A... a) noexcept {
    const Complex r = Op::template run<true>(a...);
    return part_pair{r.re, r.im};
}
template <class Op, class... A>
CPLX_NOINLINE part_pair split_copy(A... a) noexcept {
    const Complex r = Op::template run<false>(a...);
    return part_pair{r.re, r.im};
}
#elif CPLX_GNU
template <class Op, class... A>
CPLX_NOINLINE part_pair only_copy(A... a) noexcept {
    const Complex r = Op::template run<kFma>(a...);
    return part_pair{r.re, r.im};
}
#endif

// Op::run<F>(a...) called as a function of its own, compiled with the
// choice F: for a body, and for a body's rare paths, which would otherwise
// crowd the registers and branches of its common one.
template <class Op, bool F, class... A>
CPLX_INLINE Complex out_of_line(A... a) noexcept {
#if CPLX_FMA_DISPATCH
    part_pair r;
    if constexpr (F) {
        r = fused_copy<Op>(a...);
    } else {
        r = split_copy<Op>(a...);
    }
    return {r[0], r[1]};
#elif CPLX_GNU
    const part_pair r = only_copy<Op>(a...);
    return {r[0], r[1]};
#else
    return Op::template run<F>(a...);
#endif
}

// Op::run<F>(a...) with the given parts. Where nothing is chosen at run time,
// the body is still a function of its own, called, unless it is as short as
// sqrt's: inlined into a caller that turns its operand a quarter (sin, tan,
// asinh), Clang's code for the whole ran at half the speed.
template <class Op, bool Inline = false, class... A>
CPLX_INLINE Complex dispatch(A... a) noexcept {
#if CPLX_FMA_DISPATCH
    return run_fma() ? out_of_line<Op, true>(a...) : out_of_line<Op, false>(a...);
#else
    if constexpr (Inline) {
        return Op::template run<kFma>(a...);
    } else {
        return out_of_line<Op, kFma>(a...);
    }
#endif
}

// Whether parts whose larger magnitude is big have squares, and sums of
// squares, well inside the double range.
CPLX_INLINE bool squares_in_range(double big) noexcept { return big <= 0x1p+500 && big >= 0x1p-500; }

// Signs put back on a first-quadrant result.
CPLX_INLINE Complex signed_like(double re, double im, double sre, double sim) noexcept {
    return {std::copysign(re, sre), std::copysign(im, sim)};
}
CPLX_INLINE Complex negated_if(double re, double im, bool nre, bool nim) noexcept {
    return {negated_if(re, nre), negated_if(im, nim)};
}

// x^2 + y^2 - 1 as a double-double to 2^-104 relative for |x|, |y| <= 2: the
// squares split exactly into four doubles, and those and -1 summed without
// error (Hull, Fairgrieve and Tang form the same sum from halves). Near the
// unit circle it cancels to as little as 2^-108 or less, so anything short
// of exact loses the result.
template <bool F = kFma>
CPLX_INLINE dd norm_minus_one(double x, double y) noexcept {
    const dd xx = two_sqr<F>(x), yy = two_sqr<F>(y);
    const double t[5] = {-1.0, xx.hi, yy.hi, xx.lo, yy.lo};
    return exact_sum(t);
}

// The parts' magnitudes, scaled by 2^-e where their squares would leave the
// double range, and the sum of their squares as a double-double to 2^-105.
struct scaled_parts {
    double x, y;
    int e;
    dd s;
};

template <bool F = kFma>
CPLX_INLINE scaled_parts scale_parts(double re, double im) noexcept {
    double x = std::fabs(re), y = std::fabs(im);
    const double big = x > y ? x : y;
    int e = 0;
    if (!squares_in_range(big)) {
        e = std::ilogb(big);
        x = std::scalbn(x, -e);
        y = std::scalbn(y, -e);
    }
    const dd xx = two_sqr<F>(x), yy = two_sqr<F>(y);
    const dd s = two_sum(xx.hi, yy.hi);
    return {x, y, e, fast_two_sum(s.hi, s.lo + (xx.lo + yy.lo))};
}

// log|re + i im| for finite parts, not both zero. Where |z|^2 is in
// [1/2, 2], half log1p of the exact |z|^2 - 1, rounded once from double-
// double: within 0.51 ulp however close |z| is to 1. Elsewhere
// (log(s.hi) + s.lo / s.hi) / 2 + e ln 2, the small quotient taken with a
// reciprocal estimate; |log(s)| >= ln 2, so that the C library's log (under
// an ulp) and the halving leave it within an ulp.
struct log_abs_op {
    template <bool F>
    CPLX_INLINE static Complex run(double re, double im) noexcept {
        const scaled_parts p = scale_parts<F>(re, im);
        if (p.e == 0 && p.s.hi >= 0.5 && p.s.hi <= 2) return {to_double(half_log1p<F>(norm_minus_one<F>(p.x, p.y))), 0};
        const double l = (std::log(p.s.hi) + p.s.lo * reciprocal_estimate(p.s.hi)) * 0.5;
        return {p.e == 0 ? l : (l + p.e * kLn2Lo) + p.e * kLn2Hi, 0};
    }
};

// The common case of log_abs_op, inline: parts whose squares need no scaling
// and |z|^2 = s = p + q outside [1/2, 2]. The same sum, with p >= q its
// rounding error exact, and the squares' errors beside it. False, with l
// untouched, for every other z, infinite and NaN parts included.
template <bool F>
CPLX_INLINE bool log_abs_common(double re, double im, double& l) noexcept {
    const double x = std::fabs(re), y = std::fabs(im);
    const double big = x > y ? x : y, small = x > y ? y : x;
    const dd p = two_sqr<F>(big), q = two_sqr<F>(small);
    const double s = p.hi + q.hi;
    if (!CPLX_LIKELY(squares_in_range(big) && !(s >= 0.5 && s <= 2))) return false;
    const double lo = ((p.hi - s) + q.hi) + (p.lo + q.lo);
    l = (std::log(s) + lo * reciprocal_estimate(s)) * 0.5;
    return true;
}

template <bool F = kFma>
CPLX_INLINE double log_abs(double re, double im) noexcept {
    double l;
    return log_abs_common<F>(re, im, l) ? l : out_of_line<log_abs_op, F>(re, im).re;
}

// log(1 + t) for a compensated t >= 0: 1 + t.v = u.hi + u.lo exactly, and
// log(u.hi) + (u.lo + t.e) / u.hi, the rest to first order (its square is
// under 2^-104). The C library's log (under an ulp; 0.52 in glibc) is half
// the price of its log1p, and the low parts ride along: within 1.1 ulp.
CPLX_INLINE double log1p_comp(comp t) noexcept {
    const dd u = two_sum(1.0, t.v);
    return std::log(u.hi) + (u.lo + t.e) / u.hi;
}

} // namespace detail

// ---------------------------------------------------------------- basics

constexpr double norm(const Complex& z) noexcept { return z.re * z.re + z.im * z.im; }

inline Complex proj(const Complex& z) noexcept {
    if (std::isinf(z.re) || std::isinf(z.im)) return {detail::kInf, std::copysign(0.0, z.im)};
    return z;
}

// ------------------------------------------------------------- square root

namespace detail {

// x^2 + y^2 for x, y >= 0, the larger square fused where the target fuses:
// within 1.5 u.
template <bool F>
CPLX_INLINE double sum_of_squares(double x, double y) noexcept {
    const double big = x > y ? x : y, small = x > y ? y : x;
    return F ? std::fma(big, big, small * small) : big * big + small * small;
}

// For x, y >= 0 with s = x^2 + y^2 in range: t = sqrt((x + |z|) / 2) and
// y / 2t, the real part and |imaginary part| of sqrt(x + iy). |z| = sqrt(s)
// is within 1.75 u; x + |z| is kept as an exact pair, and t0 = sqrt of its
// half is corrected by one Newton step with inv = 1 / 2t0, the one division,
// which y / 2t needs anyway: t and y / 2t are then within 0.88 u of the exact
// parts before their last rounding, so within 1.4 ulp, and usually far less.
template <bool F>
CPLX_INLINE Complex sqrt_first(double x, double y, double s) noexcept {
    const double m = root(s);
    const dd h = fast_two_sum(0.5 * m, 0.5 * x); // (x + |z|) / 2, exactly but for |z|'s error; m >= x
    const double t0 = root(h.hi), inv = 0.5 / t0;
    double e, q0, rem; // h - t0^2, so that t = t0 + e inv; q0 ~ y / 2t0 and its remainder y - 2 t0 q0
    if constexpr (F) {
        e = std::fma(-t0, t0, h.hi) + h.lo;
        q0 = y * inv;
        rem = std::fma(-2 * t0, q0, y);
    } else { // a split product of a subnormal y would be inexact: divide instead
        const dd tt = two_sqr<F>(t0);
        e = ((h.hi - tt.hi) - tt.lo) + h.lo;
        q0 = y / (2 * t0);
        rem = 0;
    }
    // y / 2t = q0 (1 - 2 e inv^2) + rem inv
    return {t0 + e * inv, q0 + inv * (rem - 2 * q0 * (e * inv))};
}

// The same for parts out of that range, scaled by an even power of two:
// sqrt(4^k z) = 2^k sqrt(z). Where y / 2t would come out subnormal, it is
// formed from y scaled by 2^-k only, so that it is rounded once.
template <bool F>
CPLX_NOINLINE Complex sqrt_scaled(double x, double y) noexcept {
    const double big = x > y ? x : y;
    const int e = (std::ilogb(big) / 2) * 2;
    const double xs = std::scalbn(x, -e), ys = std::scalbn(y, -e);
    const Complex r = sqrt_first<F>(xs, ys, sum_of_squares<F>(xs, ys));
    const double t = std::scalbn(r.re, e / 2);
    if (y != 0 && std::fabs(r.im) < 0x1p-1000) return {t, std::scalbn(y, -e / 2) / (2 * r.re)};
    return {t, std::scalbn(r.im, e / 2)};
}

// sqrt of x + iy, x, y >= 0, not both zero, one of them infinite or NaN, or
// the two out of sqrt_first's range: the larger part t and y / 2t.
template <bool F>
CPLX_NOINLINE Complex sqrt_rare(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    if (std::isinf(y)) return {kInf, kInf};
    if (std::isnan(z.re) || (std::isnan(y) && !std::isinf(x))) return {z.re + z.im, z.re + z.im};
    if (std::isinf(x)) return {kInf, std::isnan(y) ? y : 0.0}; // swapped for -inf by sqrt_signed
    return sqrt_scaled<F>(x, y);
}

// The principal root's parts put together: for x >= 0, t + i y / 2t; for
// x < 0, |y| / 2t + i t; the imaginary part has y's sign.
CPLX_INLINE Complex sqrt_signed(const Complex& z, Complex r) noexcept {
    return std::signbit(z.re) ? Complex(r.im, std::copysign(r.re, z.im)) : Complex(r.re, std::copysign(r.im, z.im));
}

struct sqrt_op {
    template <bool F>
    CPLX_INLINE static Complex run(double re, double im) noexcept {
        const Complex z = {re, im};
        const double x = std::fabs(re), y = std::fabs(im), s = sum_of_squares<F>(x, y);
        if (CPLX_LIKELY(safe(s, s))) return sqrt_signed(z, sqrt_first<F>(x, y, s));
        if (x == 0 && y == 0) return {0.0, im};
        const Complex r = sqrt_rare<F>(z);
        if (std::isnan(r.re) && std::isnan(r.im)) return r;
        return sqrt_signed(z, r);
    }
};

} // namespace detail

// The principal square root: t + i y / 2t for x >= 0, |y| / 2t + i t for
// x < 0, the sign of t that of y, t = sqrt((|x| + |z|) / 2); this never forms
// |z| - |x| where it cancels (Kahan 1987).
inline Complex sqrt(const Complex& z) noexcept { return detail::dispatch<detail::sqrt_op, true>(z.re, z.im); }

// ------------------------------------------------------- exp, log and pow

namespace detail {

// exp past the fast path: huge or tiny e^x, huge y, infinities, NaNs.
CPLX_NOINLINE inline Complex exp_rare(const Complex& z) noexcept {
    const double x = z.re, y = std::fabs(z.im);
    if (y == 0) return {std::isnan(x) ? x : exp_times(x, {1.0, 0.0}), z.im};
    if (std::isnan(x) || (!finite(y) && x != -kInf)) {
        if (x == kInf) return {kInf, y - y};
        return {x + y - y, x + y - y};
    }
    if (!finite(y)) return {0.0, negated_if(0.0, std::signbit(z.im))}; // e^-inf: 0, signs unspecified
    const sine_cosine p = sin_cos_parts(y);
    if (x == -kInf)
        return negated_if(std::copysign(0.0, p.c.hi + p.c.lo), std::copysign(0.0, p.s.hi + p.s.lo), false,
                          std::signbit(z.im));
    return negated_if(exp_times(x, p.c), exp_times(x, p.s), false, std::signbit(z.im));
}

// e^x cos y + i e^x sin y, each part the product of two pairs good to 2^-56,
// rounded once: within 0.52 ulp but for the extra rounding of mul_parts'
// high product, so within an ulp. A zero y is the imaginary part itself. The
// sine is odd and the cosine even to the last bit, so conj(exp(z)) ==
// exp(conj z).
struct exp_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        if (CPLX_LIKELY(x > -700 && x < 709 && std::fabs(y) < 0x1p16)) {
            const dd e = exp_pair(x);
            const sine_cosine p = sin_cos_parts<F>(y);
            return {mul_parts(e, p.c), mul_parts(e, p.s)};
        }
        return exp_rare({x, y});
    }
};

// log|z| + i arg z, with arg exactly std::atan2(im, re).
struct log_rare_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const double theta = std::atan2(y, x);
        if (finite(x) && finite(y) && (x != 0 || y != 0)) return {log_abs_op::run<F>(x, y).re, theta};
        if (std::isinf(x) || std::isinf(y)) return {kInf, theta};
        if (std::isnan(x) || std::isnan(y)) return {x + y, x + y};
        return {-kInf, theta};
    }
};

struct log_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        double l;
        if (CPLX_LIKELY(log_abs_common<F>(x, y, l))) return {l, std::atan2(y, x)};
        return out_of_line<log_rare_op, F>(x, y);
    }
};

} // namespace detail

inline Complex exp(const Complex& z) noexcept { return detail::dispatch<detail::exp_op>(z.re, z.im); }

// Where |z|^2 is outside [1/16, 16] and the parts need no scaling, log|z|
// is half the C library's log of s = x^2 + y^2 rounded, fused or not, inline:
// s is within 1.5 u, and |log s| >= ln 16, so that its error is a quarter of
// an ulp of log s and the result within 0.8 ulp. The rest goes to log_op.
inline Complex log(const Complex& z) noexcept {
    const double x = std::fabs(z.re), y = std::fabs(z.im);
    const double big = x > y ? x : y, small = x > y ? y : x, s = big * big + small * small;
    if (CPLX_LIKELY(detail::squares_in_range(big) && !(s >= 0.0625 && s <= 16)))
        return {0.5 * std::log(s), std::atan2(z.im, z.re)};
    return detail::dispatch<detail::log_op>(z.re, z.im);
}

// log(z) / ln 10, with 1 / ln 10 held to double-double: one more rounding
// and a fraction of an ulp on each part of log's.
inline Complex log10(const Complex& z) noexcept {
    constexpr detail::dd inv_ln10 = {0x1.bcb7b1526e50ep-2, 0x1.95355baaafad3p-57};
    const Complex l = log(z);
    return {l.re * inv_ln10.hi + l.re * inv_ln10.lo, l.im * inv_ln10.hi + l.im * inv_ln10.lo};
}

namespace detail {

// e^(uh + ul) cis(vh + vl) for |ul|, |vl| within a few ulps of uh and vh:
// e^uh cis(vh), corrected to first order by ul and vl, which is all they
// need; each part within an ulp or so of the result's modulus.
CPLX_INLINE Complex exp_cis(double uh, double ul, double vh, double vl) noexcept {
    const sine_cosine p = sin_cos_parts(vh);
    const dd c = {p.c.hi, p.c.lo - p.s.hi * vl}, s = {p.s.hi, p.s.lo + p.c.hi * vl};
    if (CPLX_LIKELY(uh > -700 && uh < 709)) {
        const dd e = exp_pair(uh), eu = {e.hi, e.lo + e.hi * ul};
        return {mul_parts(eu, c), mul_parts(eu, s)};
    }
    return {exp_times(uh, {c.hi, c.lo + c.hi * ul}), exp_times(uh, {s.hi, s.lo + s.hi * ul})};
}

// z^w for finite, non-zero z and finite w = wr + i wi: e^(w log z) with log z
// and w log z to 2^-68 relative, in compensated doubles, so that the error
// of the result, about |w log z| times that of w log z plus two ulps, stays
// within 8 u while |w log z| <= 700. log|z| is half log1p of the exact
// |z|^2 - 1 near |z| = 1, where it cancels.
template <bool F, bool RealW>
CPLX_INLINE Complex pow_general(const Complex& z, double wr, double wi) noexcept {
    const scaled_parts p = scale_parts<F>(z.re, z.im);
    const comp lr = p.e == 0 && p.s.hi >= 0.5 && p.s.hi <= 2 ? half_log1p<F>(norm_minus_one<F>(p.x, p.y))
                                                             : half_log<F>(p.s.hi, p.s.lo, p.e);
    const comp li = atan2_c<F>(p.y, p.x, std::signbit(z.im), std::signbit(z.re));
    comp u, v;
    if constexpr (RealW) { // half the products
        u = cmul<F>(lr, wr);
        v = cmul<F>(li, wr);
    } else {
        const comp b = cmul<F>(li, wi);
        u = csum(cmul<F>(lr, wr), comp{-b.v, -b.e});
        v = csum(cmul<F>(lr, wi), cmul<F>(li, wr));
    }
    const dd un = fast_two_sum(u.v, u.e), vn = fast_two_sum(v.v, v.e);
    return exp_cis(un.hi, un.lo, vn.hi, vn.lo);
}

// Complex products of compensated values, for pow_int.
struct comp_complex {
    comp re, im;
};

template <bool F>
CPLX_INLINE comp_complex times(const comp_complex& a, const comp_complex& b) noexcept {
    const comp rr = cmul<F>(a.re, b.re), ii = cmul<F>(a.im, b.im), ri = cmul<F>(a.re, b.im), ir = cmul<F>(a.im, b.re);
    return {csum(rr, comp{-ii.v, -ii.e}), csum(ri, ir)};
}

// z^n for finite non-zero z and 0 < |n| <= 64 by binary powering in
// compensated doubles, which keeps the error near an ulp where plain doubles
// would double it at every squaring: z = 2^e z' with |z'| in [1, 2.9), a
// negative n powers 1/z', and the power of two goes on last, so that nothing
// on the way overflows or underflows; only the result may.
template <bool F>
CPLX_INLINE Complex pow_int(const Complex& z, int n) noexcept {
    const int e = std::ilogb(std::fabs(z.re) > std::fabs(z.im) ? z.re : z.im);
    const double x = std::scalbn(z.re, -e), y = std::scalbn(z.im, -e);
    comp_complex b = {{x, 0.0}, {y, 0.0}};
    if (n < 0) { // 1/z' = conj(z') / |z'|^2
        const comp d = csum(cmul<F>(b.re, b.re), cmul<F>(b.im, b.im));
        b = {cdiv<F>(comp{x, 0.0}, d), cdiv<F>(comp{-y, 0.0}, d)};
    }
    const unsigned power = static_cast<unsigned>(n < 0 ? -n : n);
    comp_complex r = power & 1 ? b : comp_complex{{1.0, 0.0}, {0.0, 0.0}};
    for (unsigned m = power >> 1; m != 0; m >>= 1) {
        b = times<F>(b, b);
        if (m & 1) r = times<F>(r, b);
    }
    const int scale = e * n;
    return {std::scalbn(to_double(r.re), scale), std::scalbn(to_double(r.im), scale)};
}

// pow's bodies by the kind of exponent, z = zr + i zi raised to an integer
// n = wr, a real wr, or wr + i wi, each fused or split through dispatch.
enum class exponent { integer, real, complex };

template <exponent K>
struct pow_op {
    template <bool F>
    CPLX_INLINE static Complex run(double zr, double zi, double wr, double wi) noexcept {
        if constexpr (K == exponent::integer) {
            return pow_int<F>({zr, zi}, static_cast<int>(wr));
        } else {
            return pow_general<F, K == exponent::real>({zr, zi}, wr, wi);
        }
    }
};

} // namespace detail

// z^w = e^(w log z); z^0 is 1 for every z, integer exponents up to 64 in
// magnitude are products, and a zero or non-finite base or exponent is
// exp(w * log(z)).
inline Complex pow(const Complex& z, double w) noexcept {
    if (w == 0) return {1, 0};
    const double big = detail::magnitude(z);
    if (!detail::finite(big) || big == 0 || !detail::finite(w)) return exp(w * log(z));
    using detail::exponent;
    if (std::fabs(w) <= 64 && w == static_cast<int>(w))
        return detail::dispatch<detail::pow_op<exponent::integer>>(z.re, z.im, w, 0.0);
    return detail::dispatch<detail::pow_op<exponent::real>>(z.re, z.im, w, 0.0);
}

inline Complex pow(const Complex& z, const Complex& w) noexcept {
    if (w.im == 0) return pow(z, w.re);
    const double big = detail::magnitude(z);
    if (!detail::finite(big) || big == 0 || !detail::finite(w.re) || !detail::finite(w.im)) return exp(w * log(z));
    return detail::dispatch<detail::pow_op<detail::exponent::complex>>(z.re, z.im, w.re, w.im);
}

// A real base is the complex number x + 0i, on the upper side of the cut.
inline Complex pow(double x, const Complex& w) noexcept { return pow(Complex(x, 0.0), w); }

// ------------------------------------------------ hyperbolic and circular

namespace detail {

// sinh (or, with `cosine`, cosh) of a + ib for a, b >= 0, past the fast path.
CPLX_NOINLINE inline Complex sinh_cosh_rare(double a, double b, bool cosine) noexcept {
    if (a - a == 0 && b < kInf) { // 22 <= a: cosh a = sinh a = e^a / 2 to the last bit
        const sine_cosine p = sin_cos_parts(b);
        return {exp_times(a, p.c, 1), b == 0 ? b : exp_times(a, p.s, 1)};
    }
    if (std::isnan(a)) return {a, b == 0 ? b : kNaN};
    if (a == kInf) {
        if (b == 0) return {kInf, b};
        if (b < kInf) {
            const sine_cosine p = sin_cos_parts(b);
            return {std::copysign(kInf, p.c.hi + p.c.lo), std::copysign(kInf, p.s.hi + p.s.lo)};
        }
        return {kInf, kNaN};
    }
    // a finite, b infinite or NaN.
    if (a == 0) return cosine ? Complex(kNaN, a) : Complex(a, kNaN);
    return {kNaN, kNaN};
}

// sinh (or, with `cosine`, cosh) of a + ib for a, b >= 0, finite or not: the
// products of the pairs cosh a or sinh a and cos b or sin b, rounded once,
// within an ulp.
template <bool F>
CPLX_INLINE Complex sinh_cosh_first(double a, double b, bool cosine) noexcept {
    if (CPLX_LIKELY(a < 22 && b < kInf)) {
        const sine_cosine p = sin_cos_parts<F>(b);
        const cosh_sinh h = hyperbolic(a);
        return {mul_parts(cosine ? h.ch : h.sh, p.c), mul_parts(cosine ? h.sh : h.ch, p.s)}; // sin 0 is +0
    }
    return sinh_cosh_rare(a, b, cosine);
}

// tanh(a + ib) for 0 <= a < 1/2 as (sinh a cosh a + i sin b cos b) /
// (sinh^2 a + cos^2 b), whose denominator is a sum of squares and so never
// cancels; in double-doubles from the kernels' pairs (2^-56), rounded once.
// Below 2^-500, a subnormal sinh a would lose its bits in the products, and
// sinh a = a to the last bit: the real part is a / (a^2 + cos^2 b), formed
// from a scaled by 2^600 and scaled back once.
CPLX_NOINLINE inline Complex tanh_small(double a, double b) noexcept {
    const sine_cosine p = sin_cos_parts(b);
    const cosh_sinh h = hyperbolic(a);
    const dd s = fast_two_sum(p.s.hi, p.s.lo), c = fast_two_sum(p.c.hi, p.c.lo);
    const dd sh = fast_two_sum(h.sh.hi, h.sh.lo), ch = fast_two_sum(h.ch.hi, h.ch.lo);
    const dd den = add(mul(sh, sh), mul(c, c)), im = divide(mul(s, c), den);
    if (a < 0x1p-500) return {to_double(divide(dd{a * 0x1p600, 0.0}, den)) * 0x1p-600, to_double(im)};
    return {to_double(divide(mul(sh, ch), den)), to_double(im)};
}

// For 1/2 <= a < 22, (sinh 2a + i sin 2b) / (cosh 2a + cos 2b): the
// denominator is at least 0.54 and its parts, as pairs, accurate enough that
// its cancellation costs nothing. With d normalized, n / d = q + (n.lo -
// q d.lo) / d.hi to within an ulp, q = n.hi / d.hi.
template <bool F>
CPLX_INLINE Complex tanh_parts(double a, double b) noexcept {
    if (a < 0.5) return tanh_small(a, b);
    const sine_cosine p = sin_cos_parts<F>(2 * b);
    const cosh_sinh h = hyperbolic(2 * a);
    const dd t = two_sum(h.ch.hi, p.c.hi), d = fast_two_sum(t.hi, t.lo + (h.ch.lo + p.c.lo));
    const double qr = h.sh.hi / d.hi, qi = p.s.hi / d.hi;
    return {qr + (h.sh.lo - qr * d.lo) / d.hi, qi + (p.s.lo - qi * d.lo) / d.hi};
}

// The rest: huge b, where 2b overflows, takes the sum of squares; past a =
// 22, tanh a is 1 to the last bit and the imaginary part is 2 sin 2b e^(-2a)
// = 4 sin b cos b e^(-2a), whose sign, that of sin b cos b for any finite b,
// is what an infinite a keeps.
CPLX_NOINLINE inline Complex tanh_rare(double a, double b) noexcept {
    if (std::isnan(a)) return {a, b == 0 ? b : kNaN};
    if (b < kInf) {
        if (a < 22) return tanh_small(a, b);
        if (b == 0) return {1.0, b};
        const sine_cosine p = sin_cos_parts(b);
        if (a == kInf) return {1.0, std::copysign(0.0, (p.s.hi + p.s.lo) * (p.c.hi + p.c.lo))};
        const dd sc = mul(fast_two_sum(p.s.hi, p.s.lo), fast_two_sum(p.c.hi, p.c.lo));
        return {1.0, exp_times(-2 * a, {4 * sc.hi, 4 * sc.lo})};
    }
    if (a == kInf) return {1.0, 0.0}; // b infinite or NaN: the zero's sign is unspecified
    return {a == 0 ? a : kNaN, kNaN};
}

struct sinh_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const Complex h = sinh_cosh_first<F>(std::fabs(x), std::fabs(y), false);
        return negated_if(h.re, h.im, std::signbit(x), std::signbit(y));
    }
};

struct cosh_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const Complex h = sinh_cosh_first<F>(std::fabs(x), std::fabs(y), true);
        return negated_if(h.re, h.im, false, std::signbit(x) != std::signbit(y));
    }
};

struct tanh_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const double a = std::fabs(x), b = std::fabs(y);
        const Complex t = CPLX_LIKELY(a < 22 && b < 0x1p1022) ? tanh_parts<F>(a, b) : tanh_rare(a, b);
        return negated_if(t.re, t.im, std::signbit(x), std::signbit(y));
    }
};

} // namespace detail

inline Complex sinh(const Complex& z) noexcept { return detail::dispatch<detail::sinh_op>(z.re, z.im); }

inline Complex cosh(const Complex& z) noexcept { return detail::dispatch<detail::cosh_op>(z.re, z.im); }

inline Complex tanh(const Complex& z) noexcept { return detail::dispatch<detail::tanh_op>(z.re, z.im); }

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

// asin (or, with `cosine`, acos) of x + iy for x, y >= 0 finite (Hull,
// Fairgrieve and Tang, "Implementing the complex arcsine and arccosine
// functions using exception handling", 1997): the real part, and the
// magnitude of the imaginary part, which both share. With R = |z + 1|,
// S = |z - 1|, A = (R + S) / 2 >= 1 and B = x / A, Re asin z = asin B, or
// atan(x / sqrt(A^2 - x^2)) past B = 0.6417, and |Im| = acosh A. The
// differences that would cancel come from sums of positive terms:
// a = R - (x + 1) = y^2 / (R + x + 1) and b = S - |1 - x| = y^2 / (S + |1 - x|),
// so that A - 1 = (a + b) / 2 + max(x - 1, 0) and A - x = (a + b) / 2 +
// max(1 - x, 0), and A^2 - 1 and A^2 - x^2 are their products with A + 1 and
// A + x. All in compensated doubles (their quotients and roots to 2^-61,
// which is all a value about to be rounded needs), so each argument of a
// real function is rounded once, within 0.51 ulp; with the C library's function (under an
// ulp) and its condition, at most 1.2 here, each part is within 2 ulps.
template <bool F>
CPLX_INLINE Complex asin_acos_general(double x, double y, bool cosine) noexcept {
    const dd y2 = two_sqr<F>(y), p = two_sum(x, 1.0), n = two_sum(1.0, -x);
    const comp yy = {y2.hi, y2.lo}, xp1 = {p.hi, p.lo}, dist = x < 1 ? comp{n.hi, n.lo} : comp{-n.hi, -n.lo};
    const comp r = csqrt<F, 1>(csum(cmul<F>(xp1, xp1), yy)), s = csqrt<F, 1>(csum(cmul<F>(dist, dist), yy));
    const comp ab = csum(cdiv<F, 1>(yy, csum(r, xp1)), cdiv<F, 1>(yy, csum(s, dist))), half = {0.5 * ab.v, 0.5 * ab.e};
    const comp am1 = x < 1 ? half : csum(half, dist), amx = x < 1 ? csum(half, dist) : half;
    const comp a = csum(am1, 1.0);
    double re;
    if (x <= 0.6417 * a.v) {
        const double b = to_double(cdiv<F, 1>(comp{x, 0.0}, a));
        re = cosine ? std::acos(b) : std::asin(b);
    } else {
        const comp f = csqrt<F, 1>(cmul<F>(amx, csum(a, x))); // sqrt(A^2 - x^2)
        re = std::atan(to_double(cosine ? cdiv<F, 1>(f, comp{x, 0.0}) : cdiv<F, 1>(comp{x, 0.0}, f)));
    }
    const comp w = csqrt<F, 1>(cmul<F>(am1, csum(a, 1.0))); // sqrt(A^2 - 1)
    return {re, a.v <= 10 ? log1p_comp(csum(am1, w)) : std::log(to_double(csum(a, w)))};
}

template <bool F>
CPLX_INLINE Complex asin_acos_first(double x, double y, bool cosine) noexcept {
    constexpr double ln2 = 0x1.62e42fefa39efp-1;
    if (x > 0x1p28 || y > 0x1p28) { // asin z = -i log(2iz) to within |z|^-2
        return {cosine ? atan2_fast<F>(y, x) : atan2_fast<F>(x, y), log_abs<F>(x, y) + ln2};
    }
    // y^2 negligible and (a + b) / 2 ~ y^2 / 2x would lose its bits to
    // underflow: past x = 1, that is from y = 2^-511 sqrt(2x), and there
    // y^2 / (x^2 - 1) < 2^-930 all the same.
    if (y < (x > 1 ? 0x1p-480 : 0x1p-500)) {
        if (x < 1) { // y / sqrt(1 - x^2), 1 - x^2 = (1 - x)(1 + x) without its cancellation
            return {cosine ? std::acos(x) : std::asin(x), y / std::sqrt((1 - x) * (1 + x))};
        }
        if (x == 1) { // asin(1 + iy) = pi/2 - (1 - i) sqrt(y) to within y
            const double t = std::sqrt(y);
            return {cosine ? t : (kPi2.hi - t) + kPi2.lo, t};
        }
        // x > 1, on the cut: pi/2 (or 0) and acosh x = log(x + sqrt(x^2 - 1)), x^2 - 1 rounded once
        const double r = std::sqrt(F ? std::fma(x, x, -1.0) : (x - 1) * (x + 1));
        return {cosine ? (y == 0 ? 0.0 : y / r) : kPi2.hi, std::log1p((x - 1) + r)};
    }
    return asin_acos_general<F>(x, y, cosine);
}

// asin (or, with `cosine`, acos) of x + iy for x, y >= 0, finite or not: the
// real part and the magnitude of the imaginary part.
template <bool F>
CPLX_INLINE Complex asin_acos_magnitudes(double x, double y, bool cosine) noexcept {
    if (CPLX_LIKELY(x < kInf && y < kInf)) return asin_acos_first<F>(x, y, cosine);
    if (std::isnan(x) || std::isnan(y)) {
        Complex r(kNaN, kNaN);
        if (x == 0) r.re = cosine ? kPi2.hi : x;
        if (std::isinf(x) || std::isinf(y)) r.im = kInf;
        return r;
    }
    return {cosine ? std::atan2(y, x) : std::atan2(x, y), kInf};
}

struct asin_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const Complex a = asin_acos_magnitudes<F>(std::fabs(x), std::fabs(y), false);
        return signed_like(a.re, a.im, x, y);
    }
};

// acos(-z) = pi - acos(z), and the imaginary part has the opposite sign of z's.
struct acos_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const Complex a = asin_acos_magnitudes<F>(std::fabs(x), std::fabs(y), true);
        // pi - pi/2 would round up: where Re acos is pi/2 for either sign of x, keep it.
        const double re = std::signbit(x) && !std::isnan(a.re) && a.re != kPi2.hi ? (kPi.hi - a.re) + kPi.lo : a.re;
        return {re, std::signbit(y) ? a.im : -a.im};
    }
};

} // namespace detail

inline Complex asin(const Complex& z) noexcept { return detail::dispatch<detail::asin_op>(z.re, z.im); }

inline Complex acos(const Complex& z) noexcept { return detail::dispatch<detail::acos_op>(z.re, z.im); }

namespace detail {

// (1 - x)^2 + y^2 as d.hi + d.lo, from n = 1 - x and y2 = y^2 exact.
template <bool F>
CPLX_INLINE dd atanh_den(dd n, dd y2) noexcept {
    const dd oo = two_sqr<F>(n.hi), sq = two_sum(oo.hi, y2.hi);
    return {sq.hi, sq.lo + ((oo.lo + y2.lo) + 2 * n.hi * n.lo)};
}

// t = 4x / d for d.hi > 2^-50, as the rounded quotient corrected by its
// remainder and d.lo, which log1p_comp takes whole.
template <bool F>
CPLX_INLINE comp atanh_ratio(double x, dd d) noexcept {
    const double q = 4 * x / d.hi;
    const dd qd = two_prod<F>(q, d.hi);
    return {q, ((4 * x - qd.hi) - qd.lo - q * d.lo) * reciprocal_estimate(d.hi)};
}

// atanh(x + iy) for x, y >= 0 finite (Kahan 1987): the real part is
// log1p(4x / ((1 - x)^2 + y^2)) / 4, the imaginary part
// atan2(2y, (1 - x)(1 + x) - y^2) / 2. The log1p's argument is formed in
// compensated doubles and taken whole by log1p_comp, so that with log1p's
// condition, at most 1, it is within 1.1 ulp; the atan2's second argument is
// formed exactly where it cancels, near |z| = 1, and is otherwise within 1.5
// ulp of a value at least 1/2. This is every case; atanh_first below takes
// the common ones faster.
struct atanh_rare_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        if (x > 0x1p28 || y > 0x1p28) { // atanh z = 1/z + i pi/2 to within |z|^-3
            const Complex w = Complex(1, 0) / Complex(x, y);
            return {w.re, (kPi2.hi + w.im) + kPi2.lo};
        }
        const dd n = two_sum(1.0, -x), y2 = two_sqr<F>(y);
        double den = F ? std::fma(n.hi, 1 + x, -y2.hi) : n.hi * (1 + x) - y2.hi;
        if (std::fabs(den) < 0.5) den = 0.0 - to_double(norm_minus_one<F>(x, y)); // an exact zero is +0
        const double im = atan2_fast<F>(2 * y, den) * 0.5;
        const dd d = atanh_den<F>(n, y2);
        if (d.hi > 0x1p-50) return {log1p_comp(atanh_ratio<F>(x, d)) * 0.25, im};
        if (x == 1 && y == 0) return {kInf, im};
        // (1 - x)^2 + y^2 tiny: take the logarithms apart
        return {(std::log((1 + x) * (1 + x) + y * y) - 2 * log_abs<F>(n.hi, y)) * 0.25, im};
    }
};

// The common case: x, y <= 2^28, y >= 2^-900, (1 - x)^2 + y^2 > 2^-50 and
// |1 - x^2 - y^2| >= 1/2. The real part as above. The imaginary part as
// the C library's atan (under an ulp) of q = 2y / |e|, e = 1 - x^2 - y^2, at
// half the price of its atan2, or pi less that where e < 0; e is e.v + e.e
// from the products of 1 - x and 1 + x exact and y^2, rounded once (that
// rounding is left out: half an ulp of e, which moves the angle by at most
// half an ulp), and q's rounding and e.e are added to first order,
// dq / (1 + q^2) = (2y - q|e|) / (|e| + 2yq), which needs a few bits only:
// within 2 ulp before halving, 1.72 the worst seen. Both q and t are
// made before either call, so that little is held across them.
template <bool F>
CPLX_INLINE Complex atanh_first(double x, double y) noexcept {
    const dd n = two_sum(1.0, -x), y2 = two_sqr<F>(y);
    const dd p = two_sum(1.0, x), np = two_prod<F>(n.hi, p.hi);
    const double ev = np.hi - y2.hi, m = std::fabs(ev);
    const dd d = atanh_den<F>(n, y2);
    if (!CPLX_LIKELY(x <= 0x1p28 && y <= 0x1p28 && y >= 0x1p-900 && d.hi > 0x1p-50 && m >= 0.5))
        return out_of_line<atanh_rare_op, F>(x, y);
    const double ee = ((np.lo - y2.lo) + n.lo * p.hi) + n.hi * p.lo;
    const double a = 2 * y, q = a / m;
    const dd qm = two_prod<F>(q, m);
    const double c = (((a - qm.hi) - qm.lo) - q * negated_if(ee, ev < 0)) * reciprocal_estimate(m + q * a);
    const comp t = atanh_ratio<F>(x, d);
    const double at = std::atan(q), re = log1p_comp(t) * 0.25;
    return {re, (ev < 0 ? (kPi.hi - at) + (kPi.lo - c) : at + c) * 0.5};
}

// atanh of x + iy for x, y >= 0 infinite or NaN.
CPLX_NOINLINE inline Complex atanh_special(double x, double y) noexcept {
    if (std::isnan(x) || std::isnan(y)) {
        if (std::isinf(y)) return {0, kPi2.hi};
        return {x == 0 || std::isinf(x) ? 0 : kNaN, kNaN};
    }
    return {0, kPi2.hi};
}

struct atanh_op {
    template <bool F>
    CPLX_INLINE static Complex run(double x, double y) noexcept {
        const double a = std::fabs(x), b = std::fabs(y);
        const Complex t = CPLX_LIKELY(a < kInf && b < kInf) ? atanh_first<F>(a, b) : atanh_special(a, b);
        return signed_like(t.re, t.im, x, y);
    }
};

} // namespace detail

inline Complex atanh(const Complex& z) noexcept { return detail::dispatch<detail::atanh_op>(z.re, z.im); }

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

} // namespace cplx

CPLX_DIAGNOSTICS_END

#endif // CPLX_FUNCTIONS_HPP
