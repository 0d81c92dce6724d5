# Windows builds (MinGW-w64, see cmake/mingw-w64-x86_64.cmake): the library
# is druvo.dll with its import library libdruvo.dll.a, and every program is
# put beside it in bin/ together with the MinGW runtime DLLs, so that the
# folder runs as it is. In a cross-build the programs run under Wine, in a
# Wine prefix of the build's own.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(CMAKE_CROSSCOMPILING)
  set(DRUVO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /usr/bin/env WINEPREFIX=${DRUVO_WINEPREFIX}
      ${CMAKE_CURRENT_LIST_DIR}/wine-run)
endif()

# The runtime DLLs the compiler's programs need (C++ library, unwinder,
# threads), copied into bin/.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
    file(COPY ${path} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  else()
    message(WARNING "MinGW runtime ${dll} not found; copy it beside the programs")
  endif()
endforeach()

function(druvo_windows_library target)
  # druvo.dll, not libdruvo.dll: the name host modules load.
  set_target_properties(${target} PROPERTIES PREFIX "")
  # The shell (shortcuts, special folders), COM and the message box.
  target_link_libraries(${target} PRIVATE shell32 ole32 uuid user32)
endfunction()
