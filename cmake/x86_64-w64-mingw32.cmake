# The 64-bit Windows program (PE32+), for setups that run no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRAWLWISE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
