// SPDX-License-Identifier: MIT
// Prints a fixed transcript of what cplx::Complex does, then waits for one
// non-blank character (or the end of input) before it exits.

#include <iostream>

#include "complex/Complex.hpp"

int main() {
    using cplx::Complex;

    std::cout << "Example program for the Complex header (complex/Complex.hpp)\n" << std::endl;

    const Complex a(3, 4);
    Complex b(3, -4);
    Complex c;

    c = a * b;
    std::cout << a << " * " << b << " = " << c << std::endl;
    c = a / b;
    std::cout << a << " / " << b << " = " << c << std::endl;
    c = a + b;
    std::cout << a << " + " << b << " = " << c << std::endl;
    c = a - b;
    std::cout << a << " - " << b << " = " << c << std::endl;

    // Comparing a with itself is the point of these two lines.
    std::cout << a << " != " << a << " : " << (a != a) << std::endl; // NOLINT(misc-redundant-expression)
    std::cout << a << " == " << a << " : " << (a == a) << std::endl; // NOLINT(misc-redundant-expression)
    std::cout << std::endl;

    const double angle = cplx::arg(b); // of 3-4i, before b is reused
    b = cplx::fromPolar(5, 0.785398163375);
    std::cout << "arg(" << b << ") = " << cplx::arg(b) << " rad, " << cplx::argDeg(b) << " deg." << std::endl;

    c = cplx::fromPolar(cplx::mod(a), angle);
    std::cout << "mod(" << c << ") = " << cplx::mod(c) << std::endl;

    const Complex d(5, 8);
    c = conj(d);
    std::cout << "conj(" << d << ") = " << c << std::endl;

    // Formatted extraction skips white space, so only a non-blank character
    // (or the end of input, or a read error) ends the wait.
    char key = 0;
    std::cin >> key;
    return 0;
}
