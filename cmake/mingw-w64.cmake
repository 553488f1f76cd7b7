# Cross-compiles a Windows build with MinGW-w64 for BRAWLWISE_MINGW_TRIPLE,
# which the architecture's own toolchain file sets before including this.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model, whose runtime has the std::mutex that GoogleTest
# needs; everything is linked statically, so no DLL of it is needed.
set(CMAKE_C_COMPILER ${BRAWLWISE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRAWLWISE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRAWLWISE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRAWLWISE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
