# Helpers shared by every folder's CMakeLists.txt.
#
# ERG_WINDOWS is true in the cross build; the host build (portable core only)
# skips everything that needs the platform.
if(WIN32)
  set(ERG_WINDOWS TRUE)
else()
  set(ERG_WINDOWS FALSE)
endif()

set(ERG_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# erg_test(<name> SOURCES <files...> [LIBS <targets...>] [WINDOW])
#   A GoogleTest executable registered with ctest. Under the cross build ctest
#   runs it through Wine; WINDOW tests create windows and run under a virtual
#   display (tools/with-display).
function(erg_test name)
  cmake_parse_arguments(T "WINDOW" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(T_WINDOW)
    add_test(NAME ${name}
             COMMAND ${ERG_ROOT}/tools/with-display ${ERG_ROOT}/tools/wine-run $<TARGET_FILE:${name}>
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # Window tests share one display: run them one at a time so that no
    # window covers another test's window while it reads pixels back.
    set_tests_properties(${name} PROPERTIES LABELS window RESOURCE_LOCK display)
  else()
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
  # ERG_WINE_TEST: tools/wine-run starts a test program once more when Wine
  # failed to start it (it ended before printing anything).
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT ERG_WINE_TEST=1)
endfunction()
