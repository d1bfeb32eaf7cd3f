# SPDX-License-Identifier: MIT
# Builds and runs the consumer program against cplx taken in the way WAY names:
#   find_package, pkg-config  install, move the install elsewhere (it must be
#                             relocatable), then find it there;
#   absolute-dirs             install with absolute include and data folders,
#                             as distributions pass them, then find it there;
#   deb                       make the .deb with CPack, unpack it with
#                             dpkg-deb -x, then find it there both ways;
#   add_subdirectory, FetchContent  from the source tree.
set(stage ${WORK_DIR}/stage-${WAY})
set(build ${WORK_DIR}/build-${WAY})
file(REMOVE_RECURSE ${stage} ${build})

function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "failed (${rc}): ${ARGV}\n${out}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_files root)
    foreach(file ${ARGN})
        if(NOT EXISTS ${root}/${file})
            message(FATAL_ERROR "${root} lacks ${file}")
        endif()
    endforeach()
endfunction()

# The consumer through CMake, with extra configure arguments, then run.
function(with_cmake way)
    run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build}/${way} -G ${GENERATOR}
        -DCMAKE_CXX_COMPILER=${CXX} -DCPLX_WAY=${way} -DCPLX_SOURCE_DIR=${CPLX_SOURCE_DIR} ${ARGN})
    run(${CMAKE_COMMAND} --build ${build}/${way})
    check_output(${build}/${way}/consumer)
endfunction()

# The consumer through pkg-config with the .pc files in pc_dir, then run.
function(with_pkg_config pc_dir)
    set(ENV{PKG_CONFIG_PATH} ${pc_dir})
    run(${PKG_CONFIG} --cflags cplx)
    string(STRIP "${out}" cflags)
    separate_arguments(cflags UNIX_COMMAND "${cflags}")
    file(MAKE_DIRECTORY ${build})
    run(${CXX} -std=c++17 ${cflags} ${CONSUMER_DIR}/main.cpp -o ${build}/consumer-pc)
    check_output(${build}/consumer-pc)
endfunction()

function(check_output program)
    run(${program})
    if(NOT out STREQUAL "-0.28+0.96i 5\n")
        message(FATAL_ERROR "${program} printed '${out}'")
    endif()
endfunction()

set(layout include/complex/Complex.hpp share/cmake/cplx/cplxConfig.cmake share/pkgconfig/cplx.pc
    share/doc/cplx/copyright bin/complex-demo)

if(WAY STREQUAL "find_package" OR WAY STREQUAL "pkg-config")
    run(${CMAKE_COMMAND} --install ${CPLX_BINARY_DIR} --prefix ${stage}/installed)
    expect_files(${stage}/installed ${layout})
    file(RENAME ${stage}/installed ${stage}/moved)
    if(WAY STREQUAL "pkg-config")
        with_pkg_config(${stage}/moved/share/pkgconfig)
    else()
        with_cmake(find_package -DCMAKE_PREFIX_PATH=${stage}/moved)
    endif()
elseif(WAY STREQUAL "absolute-dirs")
    run(${CMAKE_COMMAND} -S ${CPLX_SOURCE_DIR} -B ${stage}/build -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX}
        -DCPLX_BUILD_DEMO=OFF -DCPLX_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=${stage}/usr
        -DCMAKE_INSTALL_INCLUDEDIR=${stage}/usr/include/cplx -DCMAKE_INSTALL_DATADIR=${stage}/lib/data)
    run(${CMAKE_COMMAND} --install ${stage}/build)
    expect_files(${stage} usr/include/cplx/complex/Complex.hpp lib/data/pkgconfig/cplx.pc)
    with_pkg_config(${stage}/lib/data/pkgconfig)
    with_cmake(find_package -Dcplx_DIR=${stage}/lib/data/cmake/cplx)
elseif(WAY STREQUAL "deb")
    run(cpack -G DEB -B ${stage}/cpack --config ${CPLX_BINARY_DIR}/CPackConfig.cmake)
    file(GLOB deb ${stage}/cpack/*.deb)
    run(dpkg-deb -f ${deb} Package Version Architecture)
    if(NOT out MATCHES "Package: cplx\nVersion: ${VERSION}\nArchitecture: [a-z0-9]+\n")
        message(FATAL_ERROR "the package says:\n${out}")
    endif()
    run(dpkg-deb -x ${deb} ${stage}/root)
    expect_files(${stage}/root/usr ${layout})
    with_pkg_config(${stage}/root/usr/share/pkgconfig)
    with_cmake(find_package -DCMAKE_PREFIX_PATH=${stage}/root/usr)
else()
    with_cmake(${WAY})
endif()
