// SPDX-License-Identifier: MIT
// The binary128 reference of the accuracy tests: a type Quad, its complex
// QuadComplex, and the functions under libquadmath's names (crealq, fabsq,
// csqrtq, ...). Where long double is binary128 (aarch64 Linux, for one) that
// is long double and the C library's own long double functions; otherwise it
// is __float128 and libquadmath, which comes with GCC on x86-64. The choice
// follows what long double is, not which compiler or processor this is.
#ifndef CPLX_TESTS_QUAD_HPP
#define CPLX_TESTS_QUAD_HPP

#include <cfloat>
#include <cmath>

#if defined(__clang__)
#pragma clang diagnostic ignored "-Wc99-extensions" // _Complex, as both C libraries declare them
#endif

#if LDBL_MANT_DIG == 113

#define CPLX_QUAD_IS_LONG_DOUBLE 1
using Quad = long double;
typedef _Complex long double QuadComplex;

// The C library's complex functions, declared here because C++'s <complex.h> is <complex>.
// clang-format off
extern "C" {
QuadComplex cpowl(QuadComplex, QuadComplex);
#define CPLX_QUAD(f) QuadComplex f##l(QuadComplex);
CPLX_QUAD(csqrt) CPLX_QUAD(cexp) CPLX_QUAD(clog) CPLX_QUAD(clog10) CPLX_QUAD(csin) CPLX_QUAD(ccos)
CPLX_QUAD(ctan) CPLX_QUAD(csinh) CPLX_QUAD(ccosh) CPLX_QUAD(ctanh) CPLX_QUAD(casin) CPLX_QUAD(cacos)
CPLX_QUAD(catan) CPLX_QUAD(casinh) CPLX_QUAD(cacosh) CPLX_QUAD(catanh)
#undef CPLX_QUAD
}

// The same functions under libquadmath's names, so that the tests read alike on every target.
inline Quad crealq(QuadComplex z) { return __real__ z; }
inline Quad cimagq(QuadComplex z) { return __imag__ z; }
inline QuadComplex cpowq(QuadComplex z, QuadComplex w) { return cpowl(z, w); }
#define CPLX_QUAD(f) inline Quad f##q(Quad x) { return std::f(x); }
CPLX_QUAD(fabs) CPLX_QUAD(sin) CPLX_QUAD(cos) CPLX_QUAD(exp) CPLX_QUAD(cosh) CPLX_QUAD(sinh)
#undef CPLX_QUAD
#define CPLX_QUAD(f) inline QuadComplex f##q(QuadComplex z) { return f##l(z); }
CPLX_QUAD(csqrt) CPLX_QUAD(cexp) CPLX_QUAD(clog) CPLX_QUAD(clog10) CPLX_QUAD(csin) CPLX_QUAD(ccos)
CPLX_QUAD(ctan) CPLX_QUAD(csinh) CPLX_QUAD(ccosh) CPLX_QUAD(ctanh) CPLX_QUAD(casin) CPLX_QUAD(cacos)
CPLX_QUAD(catan) CPLX_QUAD(casinh) CPLX_QUAD(cacosh) CPLX_QUAD(catanh)
#undef CPLX_QUAD
// clang-format on

#else

#define CPLX_QUAD_IS_LONG_DOUBLE 0
using Quad = __float128;

#if __has_include(<quadmath.h>)
#include <quadmath.h>
typedef __complex128 QuadComplex;
#else // clang does not see GCC's own include folder
typedef _Complex __float128 QuadComplex;
// clang-format off
extern "C" {
__float128 crealq(QuadComplex);
__float128 cimagq(QuadComplex);
__float128 fabsq(__float128);
__float128 sinq(__float128);
__float128 cosq(__float128);
__float128 expq(__float128);
__float128 coshq(__float128);
__float128 sinhq(__float128);
QuadComplex cpowq(QuadComplex, QuadComplex);
#define CPLX_QUAD(f) QuadComplex f(QuadComplex);
CPLX_QUAD(csqrtq) CPLX_QUAD(cexpq) CPLX_QUAD(clogq) CPLX_QUAD(clog10q) CPLX_QUAD(csinq) CPLX_QUAD(ccosq)
CPLX_QUAD(ctanq) CPLX_QUAD(csinhq) CPLX_QUAD(ccoshq) CPLX_QUAD(ctanhq) CPLX_QUAD(casinq) CPLX_QUAD(cacosq)
CPLX_QUAD(catanq) CPLX_QUAD(casinhq) CPLX_QUAD(cacoshq) CPLX_QUAD(catanhq)
#undef CPLX_QUAD
}
// clang-format on
#endif

#endif

#endif // CPLX_TESTS_QUAD_HPP
