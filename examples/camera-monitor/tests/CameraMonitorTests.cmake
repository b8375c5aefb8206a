# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# End-to-end tests of the camera monitors against Aravis's simulated GigE Vision camera on the
# loopback interface, each case in a private network namespace of its own (harness.py), so that a
# monitor's discovery reaches no interface of the host. Their figures need the machine's cores, so
# the tests never run in parallel. Included by the tests of each monitor; camera_monitor_tests is
# false where python3 or the Aravis tools are missing.
find_package(Python3 COMPONENTS Interpreter)
find_program(ARV_FAKE_GV_CAMERA arv-fake-gv-camera-0.8)
if(Python3_Interpreter_FOUND AND ARV_FAKE_GV_CAMERA)
    set(camera_monitor_tests TRUE)
else()
    set(camera_monitor_tests FALSE)
    message(STATUS "python3 or the Aravis tools (aravis-tools) not found: the camera monitor tests are not registered")
endif()

# A case of camera_e2e.py, run against the monitor that the target MONITOR builds.
function(camera_monitor_add_test name monitor)
    add_test(NAME ${name}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/camera_e2e.py
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
