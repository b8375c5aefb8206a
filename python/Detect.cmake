# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Sets TAVIXQTBASE_PYTHON_AVAILABLE: true when the Python module can be built,
# that is in a native Qt 6 build without sanitizers (Python would have to preload
# their runtimes), with sip-build, PyQt6 and its SIP files (Debian's sip-tools,
# python3-pyqt6, pyqt6-dev) and Python's headers (python3-dev). The first
# python3 on the path may be another installation than the one with PyQt6:
# TAVIXQTBASE_PYTHON is the first one that imports PyQt6 and sipbuild.

function(tavixqtbase_python_with_pyqt6 result candidate)
    execute_process(COMMAND ${candidate} -c "import PyQt6.QtCore, sipbuild"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()

set(TAVIXQTBASE_PYTHON_AVAILABLE FALSE)
if(TAVIXQTBASE_QT_MAJOR STREQUAL "6" AND NOT CMAKE_CROSSCOMPILING AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    find_program(TAVIXQTBASE_SIP_BUILD sip-build)
    find_program(TAVIXQTBASE_PYTHON NAMES python3 NAMES_PER_DIR VALIDATOR tavixqtbase_python_with_pyqt6
        PATHS /usr/bin)
    if(TAVIXQTBASE_SIP_BUILD AND TAVIXQTBASE_PYTHON)
        set(Python3_EXECUTABLE ${TAVIXQTBASE_PYTHON})
        find_package(Python3 COMPONENTS Interpreter Development.Module)
        execute_process(COMMAND ${TAVIXQTBASE_PYTHON} -c
            "import os, PyQt6; print(os.path.join(os.path.dirname(PyQt6.__file__), 'bindings'), end='')"
            OUTPUT_VARIABLE TAVIXQTBASE_PYQT6_BINDINGS)
        if(Python3_Development.Module_FOUND AND EXISTS ${TAVIXQTBASE_PYQT6_BINDINGS}/QtWidgets/QtWidgetsmod.sip)
            set(TAVIXQTBASE_PYTHON_AVAILABLE TRUE)
        endif()
    endif()
endif()
