# SPDX-License-Identifier: MIT
# ASTRO_BUILD_PYTHON: the Python module astro (python/), on by default when the system
# Python (/usr/bin/python3 where it exists), its headers, pybind11 and numpy are found.
# Off by default in a sanitized build: an instrumented extension needs the sanitizer
# run-time preloaded into the interpreter. The libraries are then built position
# independent, as the shared module that takes them in needs.

set(ASTRO_PYTHON_DEFAULT OFF)
if(ASTRO_TOP_LEVEL AND NOT ASTRO_SANITIZE)
  if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3)
  endif()
  find_package(Python3 QUIET COMPONENTS Interpreter Development.Module)
  if(Python3_FOUND)
    find_package(pybind11 CONFIG QUIET)
    execute_process(COMMAND ${Python3_EXECUTABLE} -c "import numpy"
                    RESULT_VARIABLE ASTRO_NUMPY_STATUS OUTPUT_QUIET ERROR_QUIET)
    if(pybind11_FOUND AND ASTRO_NUMPY_STATUS EQUAL 0)
      set(ASTRO_PYTHON_DEFAULT ON)
    endif()
  endif()
  if(NOT ASTRO_PYTHON_DEFAULT)
    message(STATUS "pybind11, numpy or the Python headers not found (Debian: pybind11-dev "
                   "python3-numpy python3-dev): no Python module")
  endif()
endif()
option(ASTRO_BUILD_PYTHON "Build the Python module astro (python/)" ${ASTRO_PYTHON_DEFAULT})

if(ASTRO_BUILD_PYTHON)
  if(ASTRO_SANITIZE)
    message(FATAL_ERROR "ASTRO_BUILD_PYTHON needs a build without ASTRO_SANITIZE")
  endif()
  if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3)
  endif()
  find_package(Python3 REQUIRED COMPONENTS Interpreter Development.Module)
  find_package(pybind11 CONFIG REQUIRED)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  # Position-independent code may not assume that a global function is the one it calls
  # (it could be interposed), which would keep the chain from inlining its own routines.
  add_compile_options(-fno-semantic-interposition)
endif()
