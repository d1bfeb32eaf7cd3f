// SPDX-License-Identifier: MIT
// The double-double kit: a value as the unevaluated sum hi + lo of two
// doubles, the error-free transformations that make such sums (two-sum,
// two-product), and the few operations on pairs that the elementary functions
// need. Each function states whether it is exact and, if not, its error.
//
// Whether a product's rounding error comes from a fused multiply-add or from
// Dekker's splitting is decided in one place, kFma below (and, on x86-64
// without a target flag, at run time by the functions that gain from it). Both
// give the same bits. Neither can be broken by a compiler that contracts
// a * b + c into an fma, as g++ does by default whenever the target has one:
// the fma form computes the error with std::fma itself, and the split form,
// which only targets without FMA compile, splits by masking bits, so that
// every product it forms is exact and a fused product equals the plain one.

#ifndef CPLX_DETAIL_DD_HPP
#define CPLX_DETAIL_DD_HPP

#include <cmath>
#include <cstdint>
#include <cstring>

#include "config.hpp"

// Small helpers must be inlined into the fma-targeted functions that call
// them, or they would be compiled for the default target there.
#if CPLX_GNU
#define CPLX_INLINE inline __attribute__((always_inline))
#else
#define CPLX_INLINE inline
#endif

// On x86-64 built without -mfma, most processors still have FMA: the
// functions whose double-double steps dominate check at run time and run a
// copy of themselves compiled for it.
#if CPLX_GNU && !CPLX_HAS_FMA && defined(__x86_64__)
#define CPLX_FMA_DISPATCH 1
#define CPLX_TARGET_FMA __attribute__((target("fma")))
#else
#define CPLX_FMA_DISPATCH 0
#define CPLX_TARGET_FMA
#endif

CPLX_DIAGNOSTICS_BEGIN

namespace cplx {
namespace detail {

inline constexpr bool kFma = CPLX_HAS_FMA != 0;

#if CPLX_GNU
// Two doubles in one vector register.
using part_pair = double __attribute__((vector_size(16)));
#endif

// The correctly rounded square root, as std::sqrt, for callers whose operand
// is never negative. std::sqrt may set errno, so compilers guard the square
// root instruction with a call to the C library for negative operands; the
// registers that call clobbers are saved around it even where it is never
// taken, which cost Clang's sqrt a third of its speed. The builtins below are
// the instruction alone.
CPLX_INLINE double root(double x) noexcept {
#if CPLX_SQRT_BUILTIN == 1
    return __builtin_elementwise_sqrt(x);
#elif CPLX_SQRT_BUILTIN == 2
    return __builtin_ia32_sqrtsd(part_pair{x, 0})[0];
#else
    return std::sqrt(x);
#endif
}

struct dd {
    double hi, lo;
};

CPLX_INLINE std::uint64_t to_bits(double x) noexcept {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

CPLX_INLINE double from_bits(std::uint64_t b) noexcept {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

// a + b = s + e exactly, for any a and b whose sum does not overflow.
CPLX_INLINE dd two_sum(double a, double b) noexcept {
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// The same for |a| >= |b| (or a == 0), in three operations.
CPLX_INLINE dd fast_two_sum(double a, double b) noexcept {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a rounded to 26 significant bits, so that a = hi + (a - hi) with both
// halves of at most 26 bits and their products exact. Done on the bits
// (round half up in magnitude, then truncate), not as Veltkamp's
// (2^27 + 1) a - ((2^27 + 1) a - a), which a compiler's contraction breaks.
CPLX_INLINE double split_hi(double a) noexcept {
    constexpr std::uint64_t half = std::uint64_t(1) << 26, low = (std::uint64_t(1) << 27) - 1;
    return from_bits((to_bits(a) + half) & ~low);
}

// a b = p + e exactly while |a b| stays within [2^-969, 2^1023). The split
// form is taken only where the target has no FMA: where it has one, a
// compiler may fuse p = a * b into whatever adds p next, so that p is never
// rounded and the pair comes apart; the fma form forbids that, as p is an
// operand of an fma call.
template <bool F = kFma>
CPLX_INLINE dd two_prod(double a, double b) noexcept {
    const double p = a * b;
    if constexpr (F || kFma) {
        return {p, std::fma(a, b, -p)};
    } else {
        const double ah = split_hi(a), al = a - ah, bh = split_hi(b), bl = b - bh;
        return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
    }
}

// a^2 = p + e exactly, as two_prod(a, a) with one split.
template <bool F = kFma>
CPLX_INLINE dd two_sqr(double a) noexcept {
    const double p = a * a;
    if constexpr (F || kFma) {
        return {p, std::fma(a, a, -p)};
    } else {
        const double ah = split_hi(a), al = a - ah;
        return {p, ((ah * ah - p) + 2 * ah * al) + al * al};
    }
}

// (a.hi + a.lo) + (b.hi + b.lo) to within 2^-104 (|a| + |b|): the high
// parts summed without error, the low parts added to that error. Not for
// sums that cancel to far below their terms; exact_sum is for those.
CPLX_INLINE dd add(dd a, dd b) noexcept {
    const dd s = two_sum(a.hi, b.hi);
    return fast_two_sum(s.hi, s.lo + (a.lo + b.lo));
}

CPLX_INLINE dd add(dd a, double b) noexcept {
    const dd s = two_sum(a.hi, b);
    return fast_two_sum(s.hi, s.lo + a.lo);
}

// (a.hi + a.lo)(b.hi + b.lo) to about 2^-104 relative, for normalized pairs
// whose product stays within two_prod's range.
template <bool F = kFma>
CPLX_INLINE dd mul(dd a, dd b) noexcept {
    const dd p = two_prod<F>(a.hi, b.hi);
    return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

template <bool F = kFma>
CPLX_INLINE dd mul(dd a, double b) noexcept {
    const dd p = two_prod<F>(a.hi, b);
    return fast_two_sum(p.hi, p.lo + a.lo * b);
}

// 1/x for a positive normal x with no division: the exponent and mantissa
// bits negated by one subtraction (within 5%), then Newton steps, each of
// which squares the relative error: 2^-8.6 after one, 2^-17 after two. For
// correction terms, which need a few bits only.
CPLX_INLINE double reciprocal_estimate(double x, int steps = 1) noexcept {
    double r = from_bits(std::uint64_t(0x7fde623822fc16e6) - to_bits(x));
    for (int i = 0; i < steps; ++i) r = r * (2 - x * r);
    return r;
}

// a / b to about 2^-100 relative, with one division: q = a.hi / b.hi, and
// the remainder a - q b, which two_prod forms exactly but for its low part,
// times an estimate of 1 / b.hi good to 2^-17 (the correction is 2^-52 of
// q), for b.hi positive and normal.
template <bool F = kFma>
CPLX_INLINE dd divide(dd a, dd b) noexcept {
    const double q = a.hi / b.hi;
    const dd qb = two_prod<F>(q, b.hi);
    const double r = ((a.hi - qb.hi) - qb.lo) + (a.lo - q * b.lo);
    return {q, r * reciprocal_estimate(b.hi, 2)}; // normalized already, and a zero q keeps its sign
}

// hi + lo rounded once; a zero hi keeps its sign.
CPLX_INLINE double to_double(dd a) noexcept { return a.lo == 0 ? a.hi : a.hi + a.lo; }

// Compensated values: v as plain double arithmetic computes it, and e, the
// first-order estimate of v's error, carried beside it. Each operation forms
// its own rounding error exactly (two_sum, two_prod, the remainder of a
// quotient or root) and adds the operands' errors to first order, so that v
// + e is good to about 2^-100 while the chain of v runs at the latency of
// plain doubles: nothing in it waits for an e. An error term is divided by
// reciprocal_estimate, as it needs no more; so e is within 2^-16 of the
// first-order error, and the result within 2^-68 relative of the exact value
// for chains of a dozen operations with no cancellation beyond 2^-30.
struct comp {
    double v, e;
};

CPLX_INLINE comp csum(comp a, comp b) noexcept {
    const dd s = two_sum(a.v, b.v);
    return {s.hi, s.lo + (a.e + b.e)};
}

CPLX_INLINE comp csum(comp a, double b) noexcept {
    const dd s = two_sum(a.v, b);
    return {s.hi, s.lo + a.e};
}

template <bool F = kFma>
CPLX_INLINE comp cmul(comp a, comp b) noexcept {
    const dd p = two_prod<F>(a.v, b.v);
    return {p.hi, p.lo + (a.v * b.e + a.e * b.v)};
}

template <bool F = kFma>
CPLX_INLINE comp cmul(comp a, double b) noexcept {
    const dd p = two_prod<F>(a.v, b);
    return {p.hi, p.lo + a.e * b};
}

// For b.v positive. Steps: the reciprocal estimate's Newton steps; one
// leaves e within 2^-8 of the first-order error, and the result within 2^-61
// relative, which a value about to be rounded to double can afford.
template <bool F = kFma, int Steps = 2>
CPLX_INLINE comp cdiv(comp a, comp b) noexcept {
    const double q = a.v / b.v;
    const dd qb = two_prod<F>(q, b.v);
    return {q, (((a.v - qb.hi) - qb.lo) + (a.e - q * b.e)) * reciprocal_estimate(b.v, Steps)};
}

// For a.v positive and normal; Steps as for cdiv.
template <bool F = kFma, int Steps = 2>
CPLX_INLINE comp csqrt(comp a) noexcept {
    const double r = root(a.v);
    const dd rr = two_sqr<F>(r);
    return {r, (((a.v - rr.hi) - rr.lo) + a.e) * (0.5 * reciprocal_estimate(r, Steps))};
}

CPLX_INLINE double to_double(comp a) noexcept { return a.e == 0 ? a.v : a.v + a.e; } // -0 stays -0

// The sum of n doubles as a double-double to about 2^-104 relative, however
// much it cancels (Shewchuk, "Adaptive precision floating-point arithmetic
// and fast robust geometric predicates", 1997): two_sum grows the terms
// into an expansion of nonoverlapping parts without error; compressing it
// then leaves parts that are not even adjacent, so that the largest two
// carry the value. A dozen two-sums; for the few places where a sum cancels
// to nothing in the worst case.
template <int N>
CPLX_INLINE dd exact_sum(const double (&t)[N]) noexcept {
    double e[N] = {};
    for (int k = 0; k < N; ++k) { // e[0..k) stays nonoverlapping, increasing
        double q = t[k];
        for (int i = 0; i < k; ++i) {
            const dd s = two_sum(q, e[i]);
            q = s.hi;
            e[i] = s.lo;
        }
        e[k] = q;
    }
    double g[N] = {}, h[N] = {};
    int bottom = N - 1;
    double q = e[N - 1];
    for (int i = N - 2; i >= 0; --i) {
        const dd s = fast_two_sum(q, e[i]);
        q = s.hi;
        if (s.lo != 0) {
            g[bottom--] = q;
            q = s.lo;
        }
    }
    g[bottom] = q;
    int top = 0;
    for (int i = bottom + 1; i < N; ++i) {
        const dd s = fast_two_sum(g[i], q);
        q = s.hi;
        if (s.lo != 0) h[top++] = s.lo;
    }
    return {q, top > 0 ? h[top - 1] : 0.0};
}

} // namespace detail
} // namespace cplx

CPLX_DIAGNOSTICS_END

#endif // CPLX_DETAIL_DD_HPP
