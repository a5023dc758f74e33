# Time of one signature generation against the three bare openssl runs.
add_executable(bench_assinatura ${CMAKE_CURRENT_SOURCE_DIR}/bench_assinatura.cpp)
target_link_libraries(bench_assinatura PRIVATE toolsat)
