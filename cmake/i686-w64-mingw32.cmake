# The 32-bit Windows program (PE32), which runs on every Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRAWLWISE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
