# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Compares the ABI of LIBRARY (built with debug information) with the baseline
# BASELINE and fails on any difference; with UPDATE=ON writes the baseline
# anew instead. Both sides are written by abidw with the same options: only
# what the exported interface reaches, as the public headers in HEADERS_DIR
# declare it, without source locations or directories, so that the file stays
# the same across rebuilds, build directories and edits that leave the ABI
# alone. The new dump goes into WORK_DIR.
#   cmake -DLIBRARY=... -DBASELINE=... -DHEADERS_DIR=... -DWORK_DIR=... [-DUPDATE=ON] -P tests/abi/CheckAbi.cmake

cmake_minimum_required(VERSION 3.25)

get_filename_component(name ${BASELINE} NAME)
set(dump ${WORK_DIR}/${name})
execute_process(COMMAND abidw --headers-dir ${HEADERS_DIR} --drop-private-types --exported-interfaces-only
        --no-corpus-path --no-comp-dir-path --no-show-locs --no-parameter-names --type-id-style hash
        --out-file ${dump} ${LIBRARY}
    COMMAND_ERROR_IS_FATAL ANY)
# Translation units by file name only: the directories differ from machine to machine.
file(READ ${dump} abi)
string(REGEX REPLACE "(<abi-instr [^>]* path=')[^']*/" "\\1" abi "${abi}")
file(WRITE ${dump} "${abi}")
if(UPDATE)
    file(COPY_FILE ${dump} ${BASELINE})
    message(STATUS "wrote ${BASELINE}")
    return()
endif()

execute_process(COMMAND abidiff ${BASELINE} ${dump} RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT status MATCHES "^[0-9]+$")
    message(FATAL_ERROR "abidiff did not run: ${status}")
endif()
# abidiff's status is a bit set: 1 error, 2 usage error, 4 ABI change, 8 incompatible ABI change.
math(EXPR tool_error "${status} & 3")
math(EXPR incompatible "${status} & 8")
if(tool_error)
    message(FATAL_ERROR "abidiff failed (${status}):\n${report}")
elseif(incompatible)
    message(FATAL_ERROR "incompatible ABI change: programs built against the baseline would break. Undo it, "
        "or raise the major version, and with it the soname, and start a new baseline.\n${report}")
elseif(status)
    # abidiff calls incompatible only what it is sure of, a removed or changed
    # symbol; a class that changed its size or layout comes here too. A change
    # that only adds fails as well until the baseline records it, so that the
    # check guards what was added from then on.
    message(FATAL_ERROR "ABI change: if it only adds (a function, a class), write the baseline anew "
        "(cmake --build BUILD_DIR --target abi-baseline); if a type changed its size or layout, programs built "
        "against the baseline break: undo it, or raise the major version and with it the soname.\n${report}")
endif()
message(STATUS "the ABI of ${LIBRARY} matches ${BASELINE}")
