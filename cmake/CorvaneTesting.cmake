# corvane_add_gtest(NAME <exe> SOURCES <files...> [LIBS <targets...>] [OWN_MAIN] [LABELS <labels...>]
#                   [TIMEOUT <seconds>] [PROPERTIES <ctest properties...>])
# PROPERTIES passes more CTest properties, e.g. RESOURCE_LOCK oe_registry for
# tests that write the shared synthetic Outlook Express keys.
# Builds a GoogleTest program and registers each of its tests with CTest. On the
# windows preset the program runs under Wine (the cross-compiling emulator) with
# the bin folder as its working folder; on the native preset it runs directly.
function(corvane_add_gtest)
  cmake_parse_arguments(T "OWN_MAIN" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gmock ${T_LIBS})
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${T_LIBS})
  endif()
  target_compile_definitions(${T_NAME} PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(props TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  list(APPEND props ${T_PROPERTIES})
  if(NOT CORVANE_RUNS_TESTS)
    return()  # built so it compiles and links; this machine cannot run it
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    PROPERTIES ${props})
endfunction()
