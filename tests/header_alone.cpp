// SPDX-License-Identifier: MIT
// The header first and alone: it must bring in everything it uses. The
// stream operators are instantiated for narrow and wide streams so that the
// warning flags see their bodies too.
#include "complex/Complex.hpp"

#include <sstream>

template std::ostream& cplx::operator<<(std::ostream&, const cplx::Complex&);
template std::wostream& cplx::operator<<(std::wostream&, const cplx::Complex&);
template std::istream& cplx::operator>>(std::istream&, cplx::Complex&);
template std::wistream& cplx::operator>>(std::wistream&, cplx::Complex&);
