# SPDX-License-Identifier: MIT
# Build flags and the one-line helpers for library and test targets.

include(GNUInstallDirs)

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

option(ASTRO_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ASTRO_SANITIZE)
  # Any report ends the process with an error, so a test that meets one fails. GCC leaves
  # a double converted to an integer it cannot hold out of "undefined"; clang has it there.
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

# Installed headers keep the source layout under include/astro: "solar/sun.hpp".
set(ASTRO_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/astro)

# Printed digits depend on IEEE double arithmetic in the written order: no fused
# multiply-add, no fast-math, no host-specific instruction sets.
function(astro_set_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -pedantic -ffp-contract=off)
endfunction()

# astro_add_library(<subsystem> SOURCES <files>... HEADERS <files>...) defines astro_<subsystem>
# and astro::<subsystem>. HEADERS are the subsystem's public headers, installed under
# include/astro/<subsystem>/; the folder's other headers are its own and stay behind.
function(astro_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS" ${ARGN})
  add_library(astro_${name} ${ARG_SOURCES})
  add_library(astro::${name} ALIAS astro_${name})
  astro_set_flags(astro_${name})
  target_sources(astro_${name} PUBLIC FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR}
                 FILES ${ARG_HEADERS})
  target_include_directories(astro_${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<INSTALL_INTERFACE:${ASTRO_INSTALL_INCLUDEDIR}>)
  target_compile_features(astro_${name} PUBLIC cxx_std_20)
  set_target_properties(astro_${name} PROPERTIES EXPORT_NAME ${name})
  install(TARGETS astro_${name} EXPORT astroTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          FILE_SET HEADERS DESTINATION ${ASTRO_INSTALL_INCLUDEDIR})
  set_property(GLOBAL APPEND PROPERTY ASTRO_LIBRARIES astro_${name})
endfunction()
