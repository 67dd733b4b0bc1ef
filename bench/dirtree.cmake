if(TARGET velmora_controls)
  add_executable(bench_dirtree ${CMAKE_CURRENT_LIST_DIR}/dirtree.cpp)
  target_link_libraries(bench_dirtree PRIVATE velmora_controls benchmark::benchmark)
endif()
