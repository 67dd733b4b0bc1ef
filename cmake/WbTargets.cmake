# wb_tests(<name> LIBS <libs...> [ENV <VAR=value...>] [SLOW <gtest patterns...>]
#          [DESKTOP <gtest patterns...>])
# Builds every tests/*.cpp beside the calling CMakeLists into one test binary
# and registers its cases with CTest. Cases matching a SLOW pattern carry the
# label "slow", so a quick run can leave them out (ctest -LE slow); cases
# matching a DESKTOP pattern carry "desktop" (they start a virtual display
# and a window manager of their own). A plain ctest runs them all.
function(wb_tests name)
  cmake_parse_arguments(WT "" "" "LIBS;ENV;SLOW;DESKTOP" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${WT_LIBS} GTest::gtest wb_test_main)
  # Line tables are all a failing test's backtrace needs, and full debug
  # information of the test units costs a quarter of their build.
  target_compile_options(${name} PRIVATE $<$<CONFIG:RelWithDebInfo>:-g1>)
  target_compile_definitions(${name} PRIVATE
    WB_SOURCE_DIR="${CMAKE_SOURCE_DIR}" WB_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(_env "QT_QPA_PLATFORM=offscreen" ${WT_ENV})
  set(_rest)
  foreach(_label SLOW DESKTOP)
    if(WT_${_label})
      list(JOIN WT_${_label} ":" _patterns)
      string(TOLOWER ${_label} _lower)
      gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TEST_FILTER "${_patterns}"
        PROPERTIES ENVIRONMENT "${_env}" LABELS ${_lower})
      list(APPEND _rest ${WT_${_label}})
    endif()
  endforeach()
  if(_rest)
    list(JOIN _rest ":" _rest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TEST_FILTER "-${_rest}"
      PROPERTIES ENVIRONMENT "${_env}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
      PROPERTIES ENVIRONMENT "${_env}")
  endif()
endfunction()
