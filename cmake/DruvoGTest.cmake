# GoogleTest for the test programs: the installed package on the host; in a
# cross-build, built for the target from Debian's GoogleTest sources
# (package googletest, /usr/src/googletest), since the host's libraries
# cannot be linked into target programs.
set(DRUVO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources built for the target in a cross-build")
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
elseif(NOT TARGET GTest::gtest)
  if(NOT EXISTS ${DRUVO_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${DRUVO_GTEST_SOURCE_DIR}")
  endif()
  set(BUILD_SHARED_LIBS OFF)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${DRUVO_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
endif()
