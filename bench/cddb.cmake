find_package(Qt6 REQUIRED COMPONENTS Network)
add_executable(bench_cddb ${CMAKE_CURRENT_LIST_DIR}/cddb.cpp)
target_link_libraries(bench_cddb PRIVATE velmora_logic platform_net Qt6::Network benchmark::benchmark)
