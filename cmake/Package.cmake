# Installs the libraries, the CMake package (TavixQtBaseConfig.cmake with the
# targets TavixQtBase::TavixQtBase, TavixQtBase::TavixBase and
# TavixQtBase::GCBase) and the pkg-config file.

include(CMakePackageConfigHelpers)

set(TAVIXQTBASE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TavixQtBase)

install(TARGETS TavixQtBase TavixBase GCBase
    EXPORT TavixQtBaseTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Devel
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT TavixQtBaseTargets
    NAMESPACE TavixQtBase::
    DESTINATION ${TAVIXQTBASE_CMAKE_DIR}
    COMPONENT Devel)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TavixQtBaseConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/TavixQtBaseConfig.cmake
    INSTALL_DESTINATION ${TAVIXQTBASE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TavixQtBaseConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)
install(FILES
        ${CMAKE_CURRENT_BINARY_DIR}/TavixQtBaseConfig.cmake
        ${CMAKE_CURRENT_BINARY_DIR}/TavixQtBaseConfigVersion.cmake
    DESTINATION ${TAVIXQTBASE_CMAKE_DIR}
    COMPONENT Devel)

get_target_property(TAVIXBASE_OUTPUT_NAME TavixBase OUTPUT_NAME)
get_target_property(GCBASE_OUTPUT_NAME GCBase OUTPUT_NAME)
# The prefix is found relative to the .pc file, so the installed tree can be moved.
file(RELATIVE_PATH TAVIXQTBASE_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" TAVIXQTBASE_PC_TO_PREFIX "${TAVIXQTBASE_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/TavixQtBase.pc.in ${CMAKE_CURRENT_BINARY_DIR}/TavixQtBase.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TavixQtBase.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT Devel)
