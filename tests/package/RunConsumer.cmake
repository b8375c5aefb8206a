# Driven by ctest (see CMakeLists.txt beside this file).

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "'${command}' failed (${status}):\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# The layout application developers rely on.
foreach(path
        lib/libTavixQtBase.so.1.0.0
        lib/libTavixQtBase.so.1
        lib/libTavixQtBase.so
        lib/libtavixbase-5.0.1.so
        include/TavixQtBase/tavixqtbase_export.h
        include/TavixQtBase/errorreporting.h
        include/TavixQtBase/fpsstatistic.h
        include/TavixQtBase/layoutpersistence.h
        include/TavixQtBase/stringhelpers.h
        include/TavixQtBase/supportinfo.h
        include/GenICam/GCBase.h
        include/tavix/DeviceInfo.h
        include/tavix/TavixVersion.h
        lib/cmake/TavixQtBase/TavixQtBaseConfig.cmake
        lib/cmake/TavixQtBase/TavixQtBaseConfigVersion.cmake
        lib/cmake/TavixQtBase/TavixQtBaseTargets.cmake
        lib/pkgconfig/TavixQtBase.pc)
    if(NOT EXISTS ${prefix}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(GLOB private_headers ${prefix}/include/TavixQtBase/*_p.h)
if(private_headers)
    message(FATAL_ERROR "private headers installed: ${private_headers}")
endif()

# CMake consumer.
set(consumer_build ${WORK_DIR}/consumer-build)
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR} -B ${consumer_build} -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
    -DEXPECTED_QT_MAJOR=${QT_MAJOR})
run(${CMAKE_COMMAND} --build ${consumer_build})
run(${consumer_build}/consumer)
if(NOT run_output MATCHES "delivered: consumer works")
    message(FATAL_ERROR "unexpected consumer output:\n${run_output}")
endif()

# pkg-config consumer: the same program, built by hand with the flags the .pc file gives.
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
run(${PKG_CONFIG} --cflags --libs TavixQtBase)
string(STRIP "${run_output}" pc_flags)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(extra_flags UNIX_COMMAND "${CXX_FLAGS} ${LINKER_FLAGS}")
run(${CXX_COMPILER} -std=c++17 -fPIC ${extra_flags} ${CONSUMER_SOURCE_DIR}/main.cpp -o ${WORK_DIR}/consumer-pc
    ${pc_flags} -Wl,-rpath,${prefix}/lib)
run(${WORK_DIR}/consumer-pc)
if(NOT run_output MATCHES "delivered: consumer works")
    message(FATAL_ERROR "unexpected pkg-config consumer output:\n${run_output}")
endif()
