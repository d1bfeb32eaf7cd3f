// SPDX-License-Identifier: MIT
// The functions header first and alone: it must bring in everything it uses.
#include "complex/Functions.hpp"

cplx::Complex cplx_header_alone_functions(const cplx::Complex& z);
cplx::Complex cplx_header_alone_functions(const cplx::Complex& z) { return pow(asin(z), sqrt(z)); }
