# Velmora's GIF decoder and colour reduction beside ImageMagick's convert and
# giflib's decoder; giflib is linked here only, so the bench needs its headers.
find_library(GIF_LIBRARY gif)
find_path(GIF_INCLUDE_DIR gif_lib.h)
if(TARGET velmora_pictures AND GIF_LIBRARY AND GIF_INCLUDE_DIR)
  add_executable(bench_pictures ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
  target_include_directories(bench_pictures PRIVATE ${GIF_INCLUDE_DIR})
  target_link_libraries(bench_pictures PRIVATE velmora_pictures benchmark::benchmark ${GIF_LIBRARY})
endif()
