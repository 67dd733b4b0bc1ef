# wb_tests(<name> LIBS <libs...> [ENV <VAR=value...>] [SLOW <gtest patterns...>])
# Builds every tests/*.cpp beside the calling CMakeLists into one test binary
# and registers its cases with CTest. Cases matching a SLOW pattern carry the
# label "slow", so a quick run can leave them out (ctest -LE slow); a plain
# ctest runs them all.
function(wb_tests name)
  cmake_parse_arguments(WT "" "" "LIBS;ENV;SLOW" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${WT_LIBS} GTest::gtest wb_test_main)
  target_compile_definitions(${name} PRIVATE
    WB_SOURCE_DIR="${CMAKE_SOURCE_DIR}" WB_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(_env "QT_QPA_PLATFORM=offscreen" ${WT_ENV})
  if(WT_SLOW)
    list(JOIN WT_SLOW ":" _slow)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TEST_FILTER "-${_slow}"
      PROPERTIES ENVIRONMENT "${_env}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TEST_FILTER "${_slow}"
      PROPERTIES ENVIRONMENT "${_env}" LABELS slow)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
      PROPERTIES ENVIRONMENT "${_env}")
  endif()
endfunction()
