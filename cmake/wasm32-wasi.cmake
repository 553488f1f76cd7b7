# The core as WebAssembly (wasm32-wasi), for the page: Debian's clang 19 with
# lld and the wasm32 C and C++ libraries. Its tests run under Node's WASI.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(BRAWLWISE_WASM ON)

set(CMAKE_C_COMPILER clang-19)
set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_EXECUTABLE_SUFFIX_C .wasm)
set(CMAKE_EXECUTABLE_SUFFIX_CXX .wasm)

# The wasm32 C++ library is built without exceptions; without run-time type
# information no type table, and no error printing with it, enters the module.
# Bulk memory (every browser the page needs has it, from Safari 15) makes each
# copy and fill of memory one instruction instead of a call into a loop.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti -ffunction-sections -fdata-sections -mbulk-memory")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--gc-sections")

set(CMAKE_CROSSCOMPILING_EMULATOR node ${CMAKE_CURRENT_LIST_DIR}/../tools/wasi-run.mjs)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
