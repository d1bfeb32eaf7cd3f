// SPDX-License-Identifier: MIT
// The timed loops of the libc++ benchmark: cplx, libc++'s std::complex and
// the bare formulas, compiled against libc++ and called through the C
// interface in libcxx_loops.hpp. libc++'s std::complex is templates over
// <cmath>, so nothing here needs libc++'s library: it is linked without one
// and with -z defs, which fails if that ever changes. Hidden visibility keeps
// these copies of cplx's inline functions apart from the harness's.
#include "libcxx_loops.hpp"

#include "complex/Functions.hpp"

#include <cmath>
#include <complex>
#include <cstddef>

#ifndef _LIBCPP_VERSION
#error "libcxx_loops.cpp measures libc++'s std::complex: compile it with -stdlib=libc++"
#endif
static_assert(_LIBCPP_VERSION >= 190000, "the libc++ benchmark is of libc++ 19 or later");

namespace {

using cplx::Complex;
using StdComplex = std::complex<double>;

template <class T>
T load(const double* p, std::size_t i) {
    return T(p[2 * i], p[2 * i + 1]);
}

void store(double* out, std::size_t i, const Complex& z) {
    out[2 * i] = z.re;
    out[2 * i + 1] = z.im;
}
void store(double* out, std::size_t i, const StdComplex& z) {
    out[2 * i] = z.real();
    out[2 * i + 1] = z.imag();
}
void store(double* out, std::size_t i, double x) { out[i] = x; }

// The same loop as the other builds' timings, op inlined into it.
template <class T, class Op>
void run(const double* x, const double* y, double* out, std::size_t n, Op op) {
    for (std::size_t i = 0; i < n; ++i) store(out, i, op(load<T>(x, i), load<T>(y, i)));
}

// A loop of T on the operands a and b; clang-format would take the
// expressions for declarations.
// clang-format off
#define CPLX_LOOP(name, T, expr)                                                                            \
    void name(const double* x, const double* y, double* out, std::size_t n) {                              \
        run<T>(x, y, out, n, []([[maybe_unused]] const T& a, [[maybe_unused]] const T& b) { return expr; }); \
    }

CPLX_LOOP(product_cplx, Complex, a * b)
CPLX_LOOP(product_std, StdComplex, a * b)
CPLX_LOOP(product_bare, Complex, Complex(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re))
CPLX_LOOP(quotient_cplx, Complex, a / b)
CPLX_LOOP(quotient_std, StdComplex, a / b)
CPLX_LOOP(quotient_bare, Complex,
          Complex((a.re * b.re + a.im * b.im) / (b.re * b.re + b.im * b.im),
                  (a.im * b.re - a.re * b.im) / (b.re * b.re + b.im * b.im)))
CPLX_LOOP(modulus_cplx, Complex, cplx::mod(a))
CPLX_LOOP(modulus_std, StdComplex, std::abs(a))
CPLX_LOOP(modulus_bare, Complex, std::sqrt(a.re * a.re + a.im * a.im))
CPLX_LOOP(argument_cplx, Complex, cplx::arg(a))
CPLX_LOOP(argument_std, StdComplex, std::arg(a))
CPLX_LOOP(argument_bare, Complex, std::atan2(a.im, a.re))

#define CPLX_FUNCTION(f)                      \
    CPLX_LOOP(f##_cplx, Complex, cplx::f(a)) \
    CPLX_LOOP(f##_std, StdComplex, std::f(a))
CPLX_FUNCTION(sqrt)
CPLX_FUNCTION(exp)
CPLX_FUNCTION(log)
CPLX_FUNCTION(log10)
CPLX_FUNCTION(sin)
CPLX_FUNCTION(cos)
CPLX_FUNCTION(tan)
CPLX_FUNCTION(sinh)
CPLX_FUNCTION(cosh)
CPLX_FUNCTION(tanh)
CPLX_FUNCTION(asin)
CPLX_FUNCTION(acos)
CPLX_FUNCTION(atan)
CPLX_FUNCTION(asinh)
CPLX_FUNCTION(acosh)
CPLX_FUNCTION(atanh)
#undef CPLX_FUNCTION
// The second operand, with parts in [-100, 100], scaled to [-2, 2], as in bench.cpp.
CPLX_LOOP(pow_cplx, Complex, cplx::pow(a, b * 0.02))
CPLX_LOOP(pow_std, StdComplex, std::pow(a, b * 0.02))
CPLX_LOOP(pow_real_cplx, Complex, cplx::pow(a, b.re * 0.02))
CPLX_LOOP(pow_real_std, StdComplex, std::pow(a, b.real() * 0.02))
CPLX_LOOP(pow_int_cplx, Complex, cplx::pow(a, 7.0))
CPLX_LOOP(pow_int_std, StdComplex, std::pow(a, 7.0))
#undef CPLX_LOOP

#define CPLX_OP(f, real) {#f, f##_cplx, f##_std, f##_bare, real}
#define CPLX_FUNCTION(f) {#f, f##_cplx, f##_std, nullptr, 0}
const cplx_bench_kernel kernels[] = {
    CPLX_OP(product, 0), CPLX_OP(quotient, 0), CPLX_OP(modulus, 1), CPLX_OP(argument, 1),
    CPLX_FUNCTION(sqrt), CPLX_FUNCTION(exp), CPLX_FUNCTION(log), CPLX_FUNCTION(log10),
    CPLX_FUNCTION(sin), CPLX_FUNCTION(cos), CPLX_FUNCTION(tan), CPLX_FUNCTION(sinh),
    CPLX_FUNCTION(cosh), CPLX_FUNCTION(tanh), CPLX_FUNCTION(asin), CPLX_FUNCTION(acos),
    CPLX_FUNCTION(atan), CPLX_FUNCTION(asinh), CPLX_FUNCTION(acosh), CPLX_FUNCTION(atanh),
    CPLX_FUNCTION(pow), CPLX_FUNCTION(pow_real), CPLX_FUNCTION(pow_int),
};
#undef CPLX_OP
#undef CPLX_FUNCTION
// clang-format on

} // namespace

extern "C" {

__attribute__((visibility("default"))) const cplx_bench_kernel* cplx_bench_libcxx_kernels(size_t* count) {
    *count = sizeof kernels / sizeof kernels[0];
    return kernels;
}

__attribute__((visibility("default"))) long cplx_bench_libcxx_version(void) { return _LIBCPP_VERSION; }
}
