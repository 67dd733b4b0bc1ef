# Sonafex's effects over a 10-minute file, beside sox doing the same gain and
# normalising in the same run.
add_executable(bench_sonafex ${CMAKE_CURRENT_LIST_DIR}/sonafex.cpp)
target_link_libraries(bench_sonafex PRIVATE sonafex_logic benchmark::benchmark)
