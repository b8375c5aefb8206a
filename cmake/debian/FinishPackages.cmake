# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Run by CPack (CPACK_POST_BUILD_SCRIPTS, see cmake/DebianPackages.cmake) on the
# finished packages: adds the field Multi-Arch, which CPack cannot write, to the
# packages named in CPACK_TAVIXQTBASE_MULTI_ARCH (entries PACKAGE=VALUE).

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND dpkg-deb --field ${deb} Package OUTPUT_VARIABLE package OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    set(entry ${CPACK_TAVIXQTBASE_MULTI_ARCH})
    list(FILTER entry INCLUDE REGEX "^${package}=")
    if(NOT entry)
        continue()
    endif()
    string(REGEX REPLACE ".*=" "" multi_arch ${entry})
    set(tree ${CPACK_TOPLEVEL_DIRECTORY}/multi-arch/${package})
    file(REMOVE_RECURSE ${tree})
    file(MAKE_DIRECTORY ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    file(READ ${tree}/DEBIAN/control control)
    string(REGEX REPLACE "(Architecture: [^\n]*\n)" "\\1Multi-Arch: ${multi_arch}\n" control "${control}")
    file(WRITE ${tree}/DEBIAN/control "${control}")
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()
