# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Builds the Qt help file from Doxygen's help project QHP, with an index entry
# for each QML type page (docs/qml-*.md, whose title begins with the type's name)
# under the identifiers Qt's own QML documentation uses, QML.<module>.<type> and
# QML.<type>, which Qt Creator's context help (F1) looks up.
#   cmake -DQHP=index.qhp -DQCH=TavixQtBase.qch -DPAGES_DIR=docs -DQHELPGENERATOR=... -P qmlkeywords.cmake

file(GLOB pages ${PAGES_DIR}/qml-*.md)
set(keywords "")
foreach(page IN LISTS pages)
    file(STRINGS ${page} title LIMIT_COUNT 1)
    if(NOT title MATCHES "^# ([A-Za-z]+) .*{#([a-z_]+)}$")
        message(FATAL_ERROR "${page}: the title names no QML type and page id")
    endif()
    foreach(id IN ITEMS "QML.TavixQtBase.${CMAKE_MATCH_1}" "QML.${CMAKE_MATCH_1}")
        string(APPEND keywords "<keyword name=\"${CMAKE_MATCH_1}\" id=\"${id}\" ref=\"${CMAKE_MATCH_2}.html\"/>\n")
    endforeach()
endforeach()

file(READ ${QHP} project)
string(REPLACE "</keywords>" "${keywords}</keywords>" indexed "${project}")
if(indexed STREQUAL project)
    message(FATAL_ERROR "${QHP} has no keyword list to add the QML types to")
endif()
file(WRITE ${QHP} "${indexed}")
execute_process(COMMAND ${QHELPGENERATOR} ${QHP} -o ${QCH} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${QHELPGENERATOR} failed on ${QHP}")
endif()
