# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# The environment every test runs in, for tests/ and the camera monitor's tests:
# Qt's offscreen platform, an English UTF-8 locale, UTC, and a home and XDG
# directories of the test's own, so that no test reads or writes the user's
# settings or depends on the machine's locale. Only ctest's timeout limits a
# test: QtTest's watchdog, which aborts a test function after 5 minutes, would
# fail one that starts a hundred processes on a machine busy with other work.
#
#   tavixqtbase_set_test_environment(TEST name [ENVIRONMENT NAME=value...])
#
# sets the ENVIRONMENT property of the test, with the given variables after the
# pinned ones. The test's home is the directory name.home beside its binary.
function(tavixqtbase_set_test_environment)
    cmake_parse_arguments(ARG "" "TEST" "ENVIRONMENT" ${ARGN})
    set(home ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TEST}.home)
    # Qt refuses a runtime directory that others may read.
    file(MAKE_DIRECTORY ${home}/runtime)
    file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set(environment
        QT_QPA_PLATFORM=offscreen LANG=en_US.UTF-8 LC_ALL= LANGUAGE= TZ=UTC HOME=${home}
        XDG_CONFIG_HOME=${home}/config XDG_DATA_HOME=${home}/data XDG_CACHE_HOME=${home}/cache
        XDG_RUNTIME_DIR=${home}/runtime QTEST_FUNCTION_TIMEOUT=86400000 ${ARG_ENVIRONMENT})
    set_tests_properties(${ARG_TEST} PROPERTIES ENVIRONMENT "${environment}")
endfunction()
