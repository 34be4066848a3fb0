# SPDX-License-Identifier: MIT
# Installation: libraries, headers, the program, a CMake package (find_package(astro) gives
# astro::astro) and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS astro EXPORT astroTargets)
install(FILES ${PROJECT_SOURCE_DIR}/astro.hpp DESTINATION ${ASTRO_INSTALL_INCLUDEDIR})
install(EXPORT astroTargets NAMESPACE astro:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/astro)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/astroConfig.cmake.in
  ${PROJECT_BINARY_DIR}/astroConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/astro)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/astroConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/astroConfig.cmake ${PROJECT_BINARY_DIR}/astroConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/astro)

# pkg-config: the subsystem libraries, the ones that build on others first.
get_property(libraries GLOBAL PROPERTY ASTRO_LIBRARIES)
list(REVERSE libraries)
set(ASTRO_PC_LIBS "")
foreach(lib IN LISTS libraries)
  string(APPEND ASTRO_PC_LIBS " -l${lib}")
endforeach()
string(STRIP "${ASTRO_PC_LIBS}" ASTRO_PC_LIBS)
# The prefix is found from the file's own place, so the installed tree can move.
file(RELATIVE_PATH ASTRO_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(${PROJECT_SOURCE_DIR}/cmake/astro.pc.in ${PROJECT_BINARY_DIR}/astro.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/astro.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(TARGET RER_IVOZUVU_VUZARE)
  install(TARGETS RER_IVOZUVU_VUZARE RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
