# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Compares the dynamic symbols that LIBRARY defines with the documented
# interface listed in INTERFACE (see that file). Driven by ctest.

cmake_policy(VERSION 3.25)
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only -C ${LIBRARY}
    OUTPUT_VARIABLE nm_output RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

file(STRINGS ${INTERFACE} entries REGEX "^[^#]")
string(REPLACE "\n" ";" lines "${nm_output}")

set(unexpected "")
set(found_entries "")
foreach(line IN LISTS lines)
    # "<address> <type> <name>"; the linker's own markers are not ours.
    if(NOT line MATCHES "^[0-9a-f]+ [A-Za-z] (.+)$")
        continue()
    endif()
    set(name "${CMAKE_MATCH_1}")
    if(name MATCHES "^(__bss_start|_edata|_end|_init|_fini)$")
        continue()
    endif()
    string(REGEX REPLACE "^(typeinfo name for|typeinfo for|vtable for) " "" bare "${name}")
    # Not ours: copies of Qt's and the standard library's inline functions and
    # templates, which unoptimised builds emit with default visibility, and the
    # sanitizers' own markers.
    string(REGEX REPLACE "\\(.*" "" qualified "${bare}")
    if(qualified MATCHES "std::|__gnu_cxx::" OR bare MATCHES "^Q[A-Z][A-Za-z0-9]*(::|<|$)" OR bare MATCHES "^__odr_asan")
        continue()
    endif()
    set(matched FALSE)
    foreach(entry IN LISTS entries)
        string(LENGTH "${entry}" length)
        string(SUBSTRING "${bare}" 0 ${length} head)
        # An entry without "(" or "::" names a class and must match whole.
        if((head STREQUAL entry AND entry MATCHES "[(:]$") OR bare STREQUAL entry)
            set(matched TRUE)
            list(APPEND found_entries "${entry}")
            break()
        endif()
    endforeach()
    if(NOT matched)
        list(APPEND unexpected "${name}")
    endif()
endforeach()

set(missing "")
foreach(entry IN LISTS entries)
    if(NOT entry IN_LIST found_entries)
        list(APPEND missing "${entry}")
    endif()
endforeach()

if(unexpected OR missing)
    list(JOIN unexpected "\n  " unexpected_text)
    list(JOIN missing "\n  " missing_text)
    message(FATAL_ERROR "exported but not documented:\n  ${unexpected_text}\ndocumented but not exported:\n  ${missing_text}")
endif()
message(STATUS "exports match the documented interface")
