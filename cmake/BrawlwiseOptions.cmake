# Warnings are errors for the project's own targets.
function(brawlwise_strict target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wshadow -Werror)
  endif()
endfunction()

# Every sum, quotient and rounding must be the IEEE one, digit for digit in
# every build: SSE2 double arithmetic on 32-bit x86 (never the x87 unit's
# extended precision), and no fused multiply-add. WebAssembly (wasm32) has
# 4-byte pointers too, but no x87 unit: its arithmetic is IEEE by definition.
function(brawlwise_exact_arithmetic target)
  if(MSVC)
    target_compile_options(${target} PUBLIC /fp:precise)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_compile_options(${target} PUBLIC /arch:SSE2)
    endif()
  else()
    target_compile_options(${target} PUBLIC -ffp-contract=off -fno-fast-math)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
      target_compile_options(${target} PUBLIC -msse2 -mfpmath=sse)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # GCC 12.2 miscompiles two (double)(float)x results stored side by side
      # (a Course written out of line): its basic-block vectoriser makes them
      # one two-lane float-to-double conversion, which a later pass folds
      # away, so both roundings to single precision are lost. x86-64 shows
      # it at -O2 and -O3; 32-bit SSE2 does not.
      target_compile_options(${target} PUBLIC -fno-tree-slp-vectorize)
    endif()
  endif()
endfunction()

# A Windows program built with MinGW-w64 carries its C++ runtime inside, so
# that it needs no DLL beyond those of Windows.
function(brawlwise_self_contained target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
