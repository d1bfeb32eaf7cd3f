// SPDX-License-Identifier: MIT
// Between the benchmark program, built against libstdc++ like Google
// Benchmark, and the loops built against libc++ (libcxx_loops.cpp): plain
// functions over arrays of doubles, so that neither side sees the other's
// standard library.
#ifndef CPLX_BENCH_LIBCXX_LOOPS_HPP
#define CPLX_BENCH_LIBCXX_LOOPS_HPP

#include <stddef.h>

extern "C" {

// One operation over n elements: x and y hold n complex numbers each as
// re, im pairs; out receives n pairs, or n doubles for a real result.
typedef void cplx_bench_loop(const double* x, const double* y, double* out, size_t n);

struct cplx_bench_kernel {
    const char* name;
    cplx_bench_loop* ours;   // cplx
    cplx_bench_loop* theirs; // libc++'s std::complex
    cplx_bench_loop* bare;   // the formula on the two doubles; null for the elementary functions
    int real_result;         // out holds n doubles
};

// The operations, in the order the other builds report them.
const cplx_bench_kernel* cplx_bench_libcxx_kernels(size_t* count);

// The _LIBCPP_VERSION the loops were compiled against.
long cplx_bench_libcxx_version(void);
}

#endif // CPLX_BENCH_LIBCXX_LOOPS_HPP
