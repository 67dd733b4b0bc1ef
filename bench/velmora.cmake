if(TARGET velmora_windows)
  add_executable(bench_velmora ${CMAKE_CURRENT_LIST_DIR}/velmora.cpp)
  target_link_libraries(bench_velmora PRIVATE velmora_windows benchmark::benchmark)
endif()
