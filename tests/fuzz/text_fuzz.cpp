// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes through from_chars and operator>>.
// Whatever parses must write and read back to the same value, a failed parse
// must leave the value alone, and nothing may read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>

#include "complex/Complex.hpp"

namespace {

using cplx::Complex;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

bool same(double a, double b) {
    return a != a ? b != b && std::signbit(a) == std::signbit(b) : std::memcmp(&a, &b, sizeof a) == 0;
}

// The value the text form gives back: a part it leaves out returns as +0.
bool round_trips(const Complex& z, const Complex& back) {
    const double re = z.im != 0 && z.re == 0 ? 0.0 : z.re, im = z.im == 0 ? 0.0 : z.im;
    return same(back.re, re) && same(back.im, im);
}

void write_and_read_back(const Complex& z) {
    char buf[64];
    const std::to_chars_result w = cplx::to_chars(buf, buf + sizeof buf, z);
    check(w.ec == std::errc{});
    Complex back(7, 7);
    const std::from_chars_result r = cplx::from_chars(buf, w.ptr, back);
    check(r.ec == std::errc{} && r.ptr == w.ptr && round_trips(z, back));

    std::stringstream io;
    io << std::setprecision(17) << z;
    Complex streamed(7, 7);
    check(static_cast<bool>(io >> streamed) && round_trips(z, streamed));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy on the heap, so that AddressSanitizer sees a read past the end.
    const std::unique_ptr<char[]> text(new char[size]);
    if (size != 0) std::memcpy(text.get(), data, size);
    const char* first = text.get();
    const char* last = first + size;

    const Complex kept(42, -42);
    Complex z = kept;
    const std::from_chars_result r = cplx::from_chars(first, last, z);
    check(r.ptr >= first && r.ptr <= last);
    if (r.ec == std::errc{}) {
        check(r.ptr > first);
        write_and_read_back(z);
    } else {
        check(same(z.re, kept.re) && same(z.im, kept.im));
        check(r.ec == std::errc::result_out_of_range || (r.ec == std::errc::invalid_argument && r.ptr == first));
    }

    std::istringstream in(std::string(first, size));
    Complex w = kept;
    if (in >> w) {
        write_and_read_back(w);
    } else {
        check(same(w.re, kept.re) && same(w.im, kept.im));
    }
    return 0;
}
