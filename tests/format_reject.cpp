// SPDX-License-Identifier: MIT
// Options that a Complex does not take, in a format string the library
// checks at compile time, must not compile. The build compiles this file
// once per case: case 0 takes good options and is part of every build, so
// that a failure of any other case is down to its format string alone.
#include "complex/Format.hpp"

#include <string>

#if defined(CPLX_FORMAT_TEST_FMT)
#if __cplusplus >= 202002L
#define CHECKED(...) fmt::format(__VA_ARGS__) // consteval
#else
#define CHECKED(f, ...) fmt::format(FMT_STRING(f), __VA_ARGS__)
#endif
#else
#define CHECKED(...) std::format(__VA_ARGS__)
#endif

#ifndef CPLX_REJECT
#define CPLX_REJECT 0
#endif

std::string cplx_format_reject(const cplx::Complex& z);

std::string cplx_format_reject(const cplx::Complex& z) {
#if CPLX_REJECT == 0
    return CHECKED("{:*^+#{}.{}e}|{:\xe2\x86\x92<8}", z, 30, 3, z) + CHECKED("{0:>{1}.{2}G}", z, 20, 4);
#elif CPLX_REJECT == 1
    return CHECKED("{:d}", z); // a type for integers
#elif CPLX_REJECT == 2
    return CHECKED("{:08.3f}", z); // '0'
#elif CPLX_REJECT == 3
    return CHECKED("{:.3Lf}", z); // 'L'
#elif CPLX_REJECT == 4
    return CHECKED("{:{}.{}f}", z, 12); // no argument for the precision
#endif
}
