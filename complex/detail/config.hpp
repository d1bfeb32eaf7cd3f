// SPDX-License-Identifier: MIT
// Compiler facts the cplx headers share: whether GCC's and Clang's builtins
// may be used, and the few attributes built on them. Everything here has a
// standard C++ fallback, which CPLX_PORTABLE selects (a test build defines it
// so that the fallbacks are compiled and run too); no macro changes a result,
// only how fast it is reached.

#ifndef CPLX_DETAIL_CONFIG_HPP
#define CPLX_DETAIL_CONFIG_HPP

#if (defined(__GNUC__) || defined(__clang__)) && !defined(CPLX_PORTABLE)
#define CPLX_GNU 1
#else
#define CPLX_GNU 0
#endif

// CPLX_SQRT_BUILTIN: a square root builtin that is the instruction alone,
// with no errno (detail::root): 1 element-wise, 2 SSE2's, 0 none.
#if CPLX_GNU && defined(__has_builtin)
#if __has_builtin(__builtin_bit_cast)
#define CPLX_HAS_BIT_CAST 1
#endif
#if __has_builtin(__builtin_elementwise_sqrt)
#define CPLX_SQRT_BUILTIN 1
#elif defined(__SSE2__) && __has_builtin(__builtin_ia32_sqrtsd)
#define CPLX_SQRT_BUILTIN 2
#endif
#endif
#ifndef CPLX_HAS_BIT_CAST
#define CPLX_HAS_BIT_CAST 0
#endif
#ifndef CPLX_SQRT_BUILTIN
#define CPLX_SQRT_BUILTIN 0
#endif

#if CPLX_GNU
#define CPLX_LIKELY(x) __builtin_expect(!!(x), 1)
#define CPLX_NOINLINE __attribute__((noinline))
#else
#define CPLX_LIKELY(x) (x)
#define CPLX_NOINLINE
#endif

// Whether the target is known to have a fused multiply-add in hardware, and
// so whether compilers may contract a * b + c into one: the one switch the
// library's exact products and sums follow (complex/detail/dd.hpp).
#if defined(__FMA__) || defined(__aarch64__) || defined(__ARM_FEATURE_FMA) || defined(__FP_FAST_FMA)
#define CPLX_HAS_FMA 1
#else
#define CPLX_HAS_FMA 0
#endif

// Around each header's body: the headers compare doubles exactly wherever
// they mean it and index their own fixed tables, so a user's -Wfloat-equal
// and -Wunsafe-buffer-usage are for the user's code, not these headers.
#if defined(__clang__)
#define CPLX_DIAGNOSTICS_BEGIN                                                             \
    _Pragma("clang diagnostic push") _Pragma("clang diagnostic ignored \"-Wfloat-equal\"") \
        _Pragma("clang diagnostic ignored \"-Wunknown-warning-option\"")                   \
            _Pragma("clang diagnostic ignored \"-Wunsafe-buffer-usage\"")
#define CPLX_DIAGNOSTICS_END _Pragma("clang diagnostic pop")
#elif defined(__GNUC__)
#define CPLX_DIAGNOSTICS_BEGIN _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wfloat-equal\"")
#define CPLX_DIAGNOSTICS_END _Pragma("GCC diagnostic pop")
#else
#define CPLX_DIAGNOSTICS_BEGIN
#define CPLX_DIAGNOSTICS_END
#endif

#endif // CPLX_DETAIL_CONFIG_HPP
