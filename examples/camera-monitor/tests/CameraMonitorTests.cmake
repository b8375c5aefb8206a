# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# End-to-end tests of the camera monitors against Aravis's simulated GigE Vision camera on the
# loopback interface, each case in a private network namespace of its own (harness.py), so that a
# monitor's discovery reaches no interface of the host. Their figures need the machine's cores, so
# the tests never run in parallel. Included by the tests of each monitor; camera_monitor_tests is
# false where the Aravis tools or a python3 with Pillow and PyQt6 are missing. The first python3 on
# the path may be another installation than the one with them (Debian's python3-pil, python3-pyqt6).
function(camera_monitor_python_usable result candidate)
    execute_process(COMMAND ${candidate} -c "import PIL, PyQt6.QtCore" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()
find_program(CAMERA_MONITOR_PYTHON NAMES python3 NAMES_PER_DIR VALIDATOR camera_monitor_python_usable PATHS /usr/bin)
find_program(ARV_FAKE_GV_CAMERA arv-fake-gv-camera-0.8)
if(CAMERA_MONITOR_PYTHON AND ARV_FAKE_GV_CAMERA)
    set(camera_monitor_tests TRUE)
else()
    set(camera_monitor_tests FALSE)
    message(STATUS "The Aravis tools (aravis-tools) or a python3 with Pillow and PyQt6 (python3-pil, python3-pyqt6) "
        "not found: the camera monitor tests are not registered")
endif()

# A case of camera_e2e.py, run against the monitor that the target MONITOR builds.
function(camera_monitor_add_test name monitor)
    add_test(NAME ${name}
        COMMAND ${CAMERA_MONITOR_PYTHON} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/camera_e2e.py
            --monitor $<TARGET_FILE:${monitor}>
            --fake-camera ${ARV_FAKE_GV_CAMERA}
            --work-dir ${CMAKE_CURRENT_BINARY_DIR}/${name}.home/work
            ${ARGN})
    set_tests_properties(${name} PROPERTIES
        LABELS camera-e2e
        RESOURCE_LOCK gige-loopback-camera
        # A limit for a hung case, with room for a machine busy with other work.
        TIMEOUT 900
        # Skipped, saying why: no network namespace or Xvfb, or a check that the run
        # left too little to make honestly, as a busy machine can.
        SKIP_RETURN_CODE 77)
    tavixqtbase_set_test_environment(TEST ${name})
endfunction()
