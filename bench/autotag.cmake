# Autotag over 99 lame-made files from a 99-track list, beside id3tool and mv in a shell loop.
if(TARGET velmora_logic)
  add_executable(bench_autotag ${CMAKE_CURRENT_LIST_DIR}/autotag.cpp)
  target_link_libraries(bench_autotag PRIVATE velmora_logic benchmark::benchmark)
endif()
