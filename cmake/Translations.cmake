# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Builds the library's translations, translations/tavixqtbase_<language>.ts, into
# .qm files with lrelease, and installs them. The build tree keeps them in
# TAVIXQTBASE_TRANSLATIONS_BUILD_DIR; installed, they lie in
# TAVIXQTBASE_TRANSLATIONS_INSTALL_DIR, which the library finds from its own
# directory through TAVIXQTBASE_TRANSLATIONS_FROM_LIBDIR, so that the installed
# tree can be moved.

find_package(Qt${QT_VERSION_MAJOR} REQUIRED COMPONENTS LinguistTools)

set(TAVIXQTBASE_TRANSLATIONS_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/${TAVIXQTBASE_DATA_NAME}/translations)
set(TAVIXQTBASE_TRANSLATIONS_BUILD_DIR ${PROJECT_BINARY_DIR}/translations)
file(RELATIVE_PATH TAVIXQTBASE_TRANSLATIONS_FROM_LIBDIR
    ${CMAKE_INSTALL_FULL_LIBDIR} ${CMAKE_INSTALL_FULL_DATADIR}/${TAVIXQTBASE_DATA_NAME}/translations)

# Builds the given .ts files into .qm files in output_dir with lrelease, and sets
# the variable named qm_files_var to the list of .qm files.
function(tavixqtbase_add_qm_files qm_files_var output_dir)
    set_source_files_properties(${ARGN} PROPERTIES OUTPUT_LOCATION ${output_dir})
    if(QT_VERSION_MAJOR EQUAL 6)
        qt6_add_translation(qm_files ${ARGN} OPTIONS -silent)
    else()
        qt5_add_translation(qm_files ${ARGN} OPTIONS -silent)
    endif()
    set(${qm_files_var} ${qm_files} PARENT_SCOPE)
endfunction()

tavixqtbase_add_qm_files(tavixqtbase_qm_files ${TAVIXQTBASE_TRANSLATIONS_BUILD_DIR}
    ${PROJECT_SOURCE_DIR}/translations/tavixqtbase_de.ts)
add_custom_target(tavixqtbase_translations DEPENDS ${tavixqtbase_qm_files})

install(FILES ${tavixqtbase_qm_files}
    DESTINATION ${TAVIXQTBASE_TRANSLATIONS_INSTALL_DIR}
    COMPONENT Runtime)
