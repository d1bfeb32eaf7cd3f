// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes through from_chars and operator>>.
// Whatever parses must write and read back to the same value, in the text
// form and as std::complex writes it, a failed parse must leave the value
// alone, the library's own reader of a double must agree with the one in use,
// and nothing may read outside the input.
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
bool same(const Complex& a, const Complex& b) { return same(a.re, b.re) && same(a.im, b.im); }

using Own = cplx::detail::own_number;

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

    // "(re,im)" keeps both parts as they are, signed zeros included.
    char pair[80];
    char* at = pair;
    *at++ = '(';
    at = std::to_chars(at, pair + sizeof pair, z.re).ptr;
    *at++ = ',';
    at = std::to_chars(at, pair + sizeof pair, z.im).ptr;
    *at++ = ')';
    Complex whole(7, 7);
    const std::from_chars_result p = cplx::from_chars(pair, at, whole);
    check(p.ec == std::errc{} && p.ptr == at && same(whole, z));
    std::stringstream parts;
    parts << std::setprecision(17) << '(' << z.re << " , " << z.im << ')';
    Complex streamed_whole(7, 7);
    check(static_cast<bool>(parts >> streamed_whole) && same(streamed_whole, z));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy on the heap, so that AddressSanitizer sees a read past the end.
    const std::unique_ptr<char[]> text(new char[size]);
    if (size != 0) std::memcpy(text.get(), data, size);
    const char* first = text.get();
    const char* last = first + size;

    const Complex kept(42, -42);
    Complex z = kept, own = kept;
    const std::from_chars_result r = cplx::from_chars(first, last, z);
    check(r.ptr >= first && r.ptr <= last);
    const std::from_chars_result o =
        cplx::detail::read_text<Own>(first, last, own.re, own.im, std::chars_format::general);
    check(o.ptr == r.ptr && o.ec == r.ec && same(own, z));
    if (r.ec == std::errc{}) {
        check(r.ptr > first);
        write_and_read_back(z);
    } else {
        check(same(z.re, kept.re) && same(z.im, kept.im));
        check(r.ec == std::errc::result_out_of_range || (r.ec == std::errc::invalid_argument && r.ptr == first));
    }

    const std::string copy(first, size);
    std::istringstream in(copy), in_own(copy);
    Complex w = kept, w_own = kept;
    const bool read = static_cast<bool>(in >> w);
    check(static_cast<bool>(cplx::detail::read_stream<Own>(in_own, w_own.re, w_own.im)) == read && same(w_own, w));
    if (read) {
        write_and_read_back(w);
    } else {
        check(same(w.re, kept.re) && same(w.im, kept.im));
    }
    return 0;
}
