# Checks an installed Plumex: every public header of src/ (those outside detail/
# folders) is under include/plumex/ and nothing else is; every include in an
# installed header resolves inside the install tree; the libraries, the CMake
# package and plumex.pc are there; no test, benchmark or fuzz program is.
# Run as: cmake -DSOURCE_DIR=<repo> -DPREFIX=<install prefix> [-DBUILD_DIR=<build>] -P CheckInstall.cmake
# With BUILD_DIR, the build is first installed into PREFIX (emptied before).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/ScriptChecks.cmake)
require_variables(CheckInstall SOURCE_DIR PREFIX)

if(BUILD_DIR)
  file(REMOVE_RECURSE ${PREFIX})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    OUTPUT_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed (${rc})")
  endif()
endif()

# The headers: exactly the public ones.
file(GLOB_RECURSE source_headers RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h)
list(FILTER source_headers EXCLUDE REGEX "(^|/)detail/")
file(GLOB_RECURSE installed_headers RELATIVE ${PREFIX}/include/plumex ${PREFIX}/include/plumex/*)
foreach(header ${source_headers})
  if(NOT header IN_LIST installed_headers)
    fail("public header ${header} is not installed")
  endif()
endforeach()
foreach(header ${installed_headers})
  if(NOT header IN_LIST source_headers)
    fail("include/plumex/${header} is not a public header")
  endif()
endforeach()

# A public header that includes an internal one would break every consumer.
foreach(header ${installed_headers})
  file(STRINGS ${PREFIX}/include/plumex/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
    get_filename_component(dir ${header} DIRECTORY)
    if(NOT EXISTS ${PREFIX}/include/plumex/${included} AND NOT EXISTS ${PREFIX}/include/plumex/${dir}/${included})
      fail("include/plumex/${header} includes \"${included}\", which is not installed")
    endif()
  endforeach()
endforeach()

# Libraries, package files.
foreach(name vcl30 Plumex)
  file(GLOB found ${PREFIX}/lib*/lib${name}.a ${PREFIX}/lib*/lib${name}.so ${PREFIX}/lib/*/lib${name}.a ${PREFIX}/lib/*/lib${name}.so)
  if(NOT found)
    fail("library ${name} is not installed")
  endif()
endforeach()
foreach(pattern cmake/Plumex/PlumexConfig.cmake cmake/Plumex/PlumexConfigVersion.cmake cmake/Plumex/PlumexTargets.cmake
                pkgconfig/plumex.pc)
  file(GLOB found ${PREFIX}/lib*/${pattern} ${PREFIX}/lib/*/${pattern})
  if(NOT found)
    fail("${pattern} is not installed")
  endif()
endforeach()

# Nothing of the tests, benchmarks or fuzz targets.
file(GLOB_RECURSE everything RELATIVE ${PREFIX} ${PREFIX}/*)
foreach(path ${everything})
  string(TOLOWER "${path}" lower)
  if(lower MATCHES "(^|/)(tests?|bench|fuzz)(/|$)|_tests?($|\\.)|_bench|fuzz_|gtest|gmock|(^|/)test[a-z]*\\.h$")
    fail("${path} does not belong in the install tree")
  endif()
endforeach()

if(errors GREATER 0)
  message(FATAL_ERROR "${errors} problem(s) in the install tree ${PREFIX}")
endif()
list(LENGTH installed_headers header_count)
message(STATUS "install tree ${PREFIX}: ${header_count} public headers, libraries, CMake package and plumex.pc")
