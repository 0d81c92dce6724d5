# Install rules: headers under include/druvo/..., the library, the CMake
# package (find_package(Druvo) gives Druvo::druvo) and druvo.pc.
include(CMakePackageConfigHelpers)

foreach(header IN LISTS DRUVO_HEADERS)
  get_filename_component(header_dir ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${header_dir})
endforeach()

install(TARGETS druvo EXPORT DruvoTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(DRUVO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Druvo)
install(EXPORT DruvoTargets NAMESPACE Druvo:: DESTINATION ${DRUVO_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/DruvoConfig.cmake.in
  ${PROJECT_BINARY_DIR}/DruvoConfig.cmake INSTALL_DESTINATION ${DRUVO_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/DruvoConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/DruvoConfig.cmake
              ${PROJECT_BINARY_DIR}/DruvoConfigVersion.cmake
        DESTINATION ${DRUVO_CMAKE_DIR})

set(DRUVO_PC_CFLAGS "")
if(NOT BUILD_SHARED_LIBS)
  set(DRUVO_PC_CFLAGS "-DDRUVO_STATIC_DEFINE")
endif()
# The .pc file finds its prefix relative to itself, so an installed tree can move.
file(RELATIVE_PATH DRUVO_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" DRUVO_PC_TO_PREFIX "${DRUVO_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/druvo.pc.in ${PROJECT_BINARY_DIR}/druvo.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/druvo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
