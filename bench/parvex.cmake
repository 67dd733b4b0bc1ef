# Splitting and joining a 1 GiB file, beside split -b and cat on the same file,
# and the longest wait of the GUI event loop during a split.
add_executable(bench_parvex ${CMAKE_CURRENT_LIST_DIR}/parvex.cpp)
target_link_libraries(bench_parvex PRIVATE parvex_logic platform_gui benchmark::benchmark)
