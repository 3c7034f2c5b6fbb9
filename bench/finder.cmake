# finder_bench: the ADIF file finder's search against find(1) on a generated
# tree of at least 100,000 files. Usage: finder_bench [files] [runs]
add_executable(finder_bench ${CMAKE_CURRENT_LIST_DIR}/finder_bench.cpp)
target_link_libraries(finder_bench PRIVATE cardforge_logic)
