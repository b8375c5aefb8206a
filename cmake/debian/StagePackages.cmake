# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Run by CPack (CPACK_PRE_BUILD_SCRIPTS, see cmake/DebianPackages.cmake) once the
# components are staged, one directory each: removes the run paths from the
# shared libraries and gives every package its copyright file, its changelog
# and, where it has one, its lintian overrides.

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
endforeach()
