# A 200 MB download from a loopback web server, beside curl -o of the same file.
if(TARGET platform_net)
  find_package(Qt6 REQUIRED COMPONENTS Core Network)
  add_executable(bench_update ${CMAKE_CURRENT_LIST_DIR}/update.cpp)
  target_link_libraries(bench_update PRIVATE platform_net benchmark::benchmark Qt6::Network)
endif()
