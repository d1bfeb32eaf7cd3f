// The header first, alone: it must bring in everything it uses.
#include "complex/Complex.hpp"

#include <sstream>

// Instantiate the stream operator for narrow and wide streams, so that this
// translation unit checks the template bodies under the warning flags too.
std::string narrow(const cplx::Complex& z);
std::wstring wide(const cplx::Complex& z);

std::string narrow(const cplx::Complex& z) {
    std::ostringstream os;
    os << z;
    return os.str();
}

std::wstring wide(const cplx::Complex& z) {
    std::wostringstream os;
    os << z;
    return os.str();
}
