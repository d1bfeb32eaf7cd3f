# Installs the built project into a staging folder, moves it elsewhere (the
# package must be relocatable), then builds and runs the consumer the way
# WAY names.
set(stage ${WORK_DIR}/stage)
set(moved ${WORK_DIR}/moved)
set(build ${WORK_DIR}/build-${WAY})
file(REMOVE_RECURSE ${stage} ${moved} ${build})

function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "failed (${rc}): ${ARGV}\n${out}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

if(WAY STREQUAL "find_package" OR WAY STREQUAL "pkg-config")
    run(${CMAKE_COMMAND} --install ${CPLX_BINARY_DIR} --prefix ${stage})
    if(NOT EXISTS ${stage}/include/complex/Complex.hpp OR NOT EXISTS ${stage}/bin/complex-demo)
        message(FATAL_ERROR "the install is missing the header or the demo")
    endif()
    file(RENAME ${stage} ${moved})
endif()

if(WAY STREQUAL "pkg-config")
    set(ENV{PKG_CONFIG_PATH} ${moved}/share/pkgconfig)
    run(pkg-config --cflags cplx)
    string(STRIP "${out}" cflags)
    separate_arguments(cflags UNIX_COMMAND "${cflags}")
    file(MAKE_DIRECTORY ${build})
    run(${CXX} -std=c++17 ${cflags} ${CONSUMER_DIR}/main.cpp -o ${build}/consumer)
else()
    run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -G ${GENERATOR}
        -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${moved}
        -DCPLX_WAY=${WAY} -DCPLX_SOURCE_DIR=${CPLX_SOURCE_DIR})
    run(${CMAKE_COMMAND} --build ${build})
endif()

run(${build}/consumer)
if(NOT out STREQUAL "-0.28+0.96i 5\n")
    message(FATAL_ERROR "the consumer printed '${out}'")
endif()
