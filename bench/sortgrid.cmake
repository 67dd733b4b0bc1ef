if(TARGET velmora_grid)
  add_executable(bench_sortgrid ${CMAKE_CURRENT_LIST_DIR}/sortgrid.cpp)
  target_link_libraries(bench_sortgrid PRIVATE velmora_grid benchmark::benchmark)
endif()
