add_executable(bench_tagcodec ${CMAKE_CURRENT_LIST_DIR}/tagcodec.cpp)
target_link_libraries(bench_tagcodec PRIVATE velmora_logic benchmark::benchmark)
