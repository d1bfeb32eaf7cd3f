// The header first and alone: it must bring in everything it uses. The
// stream operator is instantiated for narrow and wide streams so that the
// warning flags see its body too.
#include "complex/Complex.hpp"

#include <sstream>

template std::ostream& cplx::operator<<(std::ostream&, const cplx::Complex&);
template std::wostream& cplx::operator<<(std::wostream&, const cplx::Complex&);
