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

# The Python package (python/druvo), where the prefix's Python looks for
# packages (lib/python3.X/dist-packages on Debian, site-packages elsewhere;
# set DRUVO_PYTHON_INSTALL_DIR to choose), with a _location.py naming the
# installed library so that it is found without DRUVO_LIBRARY. (Not yet for
# Windows builds, where the DLL is installed beside the programs.)
if(BUILD_SHARED_LIBS AND NOT WIN32)
  find_program(DRUVO_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(DRUVO_PYTHON3 python3)
  set(DRUVO_PYTHON_DEFAULT_DIR ${CMAKE_INSTALL_LIBDIR}/python3/dist-packages)
  if(DRUVO_PYTHON3)
    execute_process(
      COMMAND ${DRUVO_PYTHON3} -c
        "import sys; d = 'dist' if any(p.endswith('dist-packages') for p in sys.path) else 'site'; print('lib/python%d.%d/%s-packages' % (sys.version_info[0], sys.version_info[1], d))"
      OUTPUT_VARIABLE DRUVO_PYTHON_DEFAULT_DIR
      OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  set(DRUVO_PYTHON_INSTALL_DIR ${DRUVO_PYTHON_DEFAULT_DIR} CACHE STRING
      "Install folder of the Python package, relative to the prefix")
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/python/druvo
          DESTINATION ${DRUVO_PYTHON_INSTALL_DIR}
          FILES_MATCHING PATTERN "*.py" PATTERN "py.typed"
          PATTERN "__pycache__" EXCLUDE)
  install(CODE "
    set(location \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_SONAME_FILE_NAME:druvo>\")
    file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${DRUVO_PYTHON_INSTALL_DIR}/druvo/_location.py\"
         \"# Written by the install: the library this package loads.\\nLIBRARY = '\${location}'\\n\")")
endif()
