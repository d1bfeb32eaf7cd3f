// SPDX-License-Identifier: MIT
#include <complex/Complex.hpp>

#include <iostream>

int main() {
    const cplx::Complex a(3, 4), b(3, -4);
    std::cout << a / b << ' ' << mod(a) << '\n';
}
