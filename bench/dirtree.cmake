if(TARGET velmora_filesystem)
  add_executable(bench_dirtree ${CMAKE_CURRENT_LIST_DIR}/dirtree.cpp)
  target_link_libraries(bench_dirtree PRIVATE velmora_filesystem benchmark::benchmark)
endif()
