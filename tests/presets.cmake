# SPDX-License-Identifier: MIT
# README.md, .ci/run and CMakePresets.json must agree: CI runs the README's
# test command word for word, every workflow that command names exists, and
# every preset in the README's Builds table is defined.
# Usage: cmake -DSOURCE_DIR=... -P presets.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${SOURCE_DIR}/README.md readme)
file(READ ${SOURCE_DIR}/.ci/run ci)
file(READ ${SOURCE_DIR}/CMakePresets.json presets)

# The test command: from its first "cmake --workflow" line up to the end of
# the block (README) or of the file (.ci/run), blank lines dropped.
function(test_command text out)
    string(FIND "${text}" "\ncmake --workflow --preset gcc " at)
    if(at LESS 0)
        message(FATAL_ERROR "no test command starting 'cmake --workflow --preset gcc' in\n${text}")
    endif()
    string(SUBSTRING "${text}" ${at} -1 text)
    string(FIND "${text}" "```" end)
    string(SUBSTRING "${text}" 0 ${end} text)
    string(REGEX REPLACE "\n+" "\n" text "${text}")
    string(STRIP "${text}" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
test_command("${readme}" readme_command)
test_command("${ci}" ci_command)
if(NOT readme_command STREQUAL ci_command)
    message(FATAL_ERROR ".ci/run runs\n${ci_command}\nbut README.md says\n${readme_command}")
endif()

# Every name defined in one section of CMakePresets.json.
function(preset_names section out)
    string(JSON n LENGTH "${presets}" ${section})
    set(names "")
    math(EXPR last "${n} - 1")
    foreach(i RANGE ${last})
        string(JSON name GET "${presets}" ${section} ${i} name)
        list(APPEND names ${name})
    endforeach()
    set(${out} ${names} PARENT_SCOPE)
endfunction()
preset_names(workflowPresets workflows)
preset_names(configurePresets configures)

# Every name in the list is defined in CMakePresets.json.
function(expect_defined names defined what)
    foreach(name IN LISTS names)
        if(NOT name IN_LIST defined)
            message(FATAL_ERROR "${what} '${name}', which CMakePresets.json lacks")
        endif()
    endforeach()
endfunction()

string(REGEX MATCHALL "--preset [A-Za-z0-9_-]+" used "${readme_command}")
list(TRANSFORM used REPLACE "--preset " "")
expect_defined("${used}" "${workflows}" "the test command runs workflow")

# The Builds table: each backquoted name in the first column is a preset.
string(FIND "${readme}" "\n## Builds\n" at)
string(SUBSTRING "${readme}" ${at} -1 builds)
string(SUBSTRING "${builds}" 1 -1 builds)
string(REGEX REPLACE "\n## .*" "" builds "${builds}")
string(REGEX MATCHALL "\n\\| [^|]+\\|" rows "${builds}")
string(REGEX MATCHALL "`[^`]+`" listed "${rows}")
list(TRANSFORM listed REPLACE "`" "")
expect_defined("${listed}" "${configures}" "README.md's Builds table lists")
list(LENGTH listed n_listed)
if(n_listed LESS 5)
    message(FATAL_ERROR "README.md's Builds table lost its presets: ${n_listed} found")
endif()
list(LENGTH used n)
message(STATUS "${n} workflows in the test command, ${n_listed} presets in the Builds table, all defined")
