# SPDX-License-Identifier: MIT
# The header's version macros, the project's version, the package version file
# and cplx.pc must all say the same.
file(STRINGS ${HEADER} lines REGEX "^#define CPLX_VERSION_(MAJOR|MINOR|PATCH) ")
set(header)
foreach(part MAJOR MINOR PATCH)
    if(NOT lines MATCHES "CPLX_VERSION_${part} ([0-9]+)")
        message(FATAL_ERROR "${HEADER} does not define CPLX_VERSION_${part}")
    endif()
    list(APPEND header ${CMAKE_MATCH_1})
endforeach()
list(JOIN header "." header)

include(${BINARY_DIR}/cplxConfigVersion.cmake)
file(STRINGS ${BINARY_DIR}/cplx.pc pc REGEX "^Version: ")
foreach(other "project ${PROJECT_VERSION}" "cplxConfigVersion.cmake ${PACKAGE_VERSION}" "cplx.pc ${pc}")
    if(NOT other MATCHES " (Version: )?${header}$")
        message(FATAL_ERROR "the header says ${header}, the ${other}")
    endif()
endforeach()
message(STATUS "version ${header} everywhere")
