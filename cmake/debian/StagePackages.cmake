# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Run by CPack (CPACK_PRE_BUILD_SCRIPTS, see cmake/DebianPackages.cmake) once the
# components are staged, one directory each: removes the run paths from the
# shared libraries and gives every package its copyright file, its changelog,
# where it has one, its lintian overrides and, where cmake/debian has one for
# it, its symbols file, checked against the libraries (see write_symbols()).

set(debian_dir ${CMAKE_CURRENT_LIST_DIR})
set(source_dir ${CPACK_TAVIXQTBASE_SOURCE_DIR})

# The changelog's newest entry must be the version being packaged.
file(STRINGS ${debian_dir}/changelog top_entry LIMIT_COUNT 1)
if(NOT top_entry MATCHES "^tavixqtbase \\(${CPACK_TAVIXQTBASE_DEB_VERSION}\\) ")
    message(FATAL_ERROR "cmake/debian/changelog does not start with an entry for ${CPACK_TAVIXQTBASE_DEB_VERSION}: ${top_entry}")
endif()
set(changelog_gz ${CPACK_TOPLEVEL_DIRECTORY}/changelog.Debian.gz)
execute_process(COMMAND gzip -9nc INPUT_FILE ${debian_dir}/changelog OUTPUT_FILE ${changelog_gz}
    COMMAND_ERROR_IS_FATAL ANY)

# The copyright file in Debian's machine-readable format, its license text
# taken from LICENSE: every line indented, empty lines as " .".
file(READ ${source_dir}/LICENSE license_text)
string(REGEX MATCH "^Copyright \\(c\\) ([^\n]*)\\.\n\n" notice_line "${license_text}")
set(notice ${CMAKE_MATCH_1})
string(REPLACE "${notice_line}" "" license_text "${license_text}")
string(REGEX REPLACE "\n+$" "" license_text "${license_text}")
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text " ${license_text}")
set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: TavixQtBase

Files: *
Copyright: ${notice}
License: BSD-3-Clause
${license_text}
")

# Writes the symbols file of PACKAGE, staged in ROOT, from the libraries and the
# list cmake/debian/PACKAGE.symbols, which gives every exported symbol with the
# upstream version that brought it. Fails when a listed symbol is gone (programs
# built against it would break: raise the soname instead) and when the library
# exports a symbol that the list lacks while the version is still that of the
# newest listed symbol: programs built against the new symbol would then accept
# the library without it. After a version bump the new symbols come with the
# new version; add them to the list from the diff that dpkg-gensymbols prints.
function(write_symbols package root output)
    set(template ${debian_dir}/${package}.symbols)
    # An existing output file would be taken as the list.
    file(REMOVE ${output})
    # Given the package's Debian version, which is newer than the upstream
    # versions of the list, dpkg-gensymbols counts a listed symbol that is
    # missing as lost, also one of the version being packaged.
    # The architecture the packages are for, which selects the list's entries
    # tagged with arch-bits (a size_t is an unsigned int on 32-bit systems).
    set(architecture "")
    if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
        set(architecture -a${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
    endif()
    execute_process(COMMAND dpkg-gensymbols -p${package} -P${root} -v${CPACK_TAVIXQTBASE_DEB_VERSION} -I${template} -O${output} -c1 ${architecture}
        RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${package}: symbols of cmake/debian/${package}.symbols are no longer exported; "
            "removing them breaks programs built against them: restore them, or raise the soname.\n${report}")
    endif()
    if(NOT report MATCHES "\n\\+ ")
        return()
    endif()
    file(STRINGS ${template} versions REGEX "^ ")
    list(TRANSFORM versions REPLACE ".* ([^ ]+)$" "\\1")
    list(SORT versions COMPARE NATURAL ORDER DESCENDING)
    list(GET versions 0 newest)
    if(NOT CPACK_PACKAGE_VERSION VERSION_GREATER newest)
        message(FATAL_ERROR "${package}: the library exports symbols that cmake/debian/${package}.symbols lacks, "
            "and the version ${CPACK_PACKAGE_VERSION} is not newer than the newest listed one (${newest}). "
            "Raise the project version (and add a changelog entry), then list the new symbols with it.\n${report}")
    endif()
    message(WARNING "${package}: new symbols; list them in cmake/debian/${package}.symbols with the version "
        "${CPACK_PACKAGE_VERSION}:\n${report}")
endfunction()

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER ${component} upper)
    set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
    set(root ${CPACK_TEMPORARY_DIRECTORY}/${component})
    set(doc ${root}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${package})
    file(WRITE ${doc}/copyright "${copyright}")
    file(COPY_FILE ${changelog_gz} ${doc}/changelog.Debian.gz)
    file(READ ${debian_dir}/lintian-overrides overrides)
    if(EXISTS ${debian_dir}/${component}.lintian-overrides)
        file(READ ${debian_dir}/${component}.lintian-overrides component_overrides)
        string(APPEND overrides "${component_overrides}")
    endif()
    # Without the files' own license header.
    string(REGEX REPLACE "# SPDX[^\n]*\n#\n# SPDX[^\n]*\n\n" "" overrides "${overrides}")
    file(WRITE ${root}${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides/${package} "${overrides}")

    file(GLOB_RECURSE libraries LIST_DIRECTORIES false ${root}/*.so ${root}/*.so.*)
    foreach(library IN LISTS libraries)
        if(NOT IS_SYMLINK ${library})
            file(RPATH_REMOVE FILE ${library})
        endif()
    endforeach()
    if(EXISTS ${debian_dir}/${package}.symbols)
        write_symbols(${package} ${root} ${CPACK_TAVIXQTBASE_CONTROL_DIR}/${component}/symbols)
    endif()
    # The documentation is installed only once the target docs has built it.
    file(GLOB_RECURSE help_files ${root}/*.qch)
    if(component STREQUAL "Documentation" AND NOT help_files)
        message(FATAL_ERROR "no API documentation to package: build the target docs first")
    endif()
endforeach()
