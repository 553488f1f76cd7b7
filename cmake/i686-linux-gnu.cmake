# The core and its unit tests as a 32-bit x86 Linux program, run under
# qemu-i386's user-mode emulation, which needs nothing from the kernel: the
# 32-bit program's arithmetic and texts on a host that cannot execute 32-bit
# code. Debian's i686 cross-compiler is the same GCC as MinGW-w64's, and the
# project's options (brawlwise_exact_arithmetic, which keys on the processor
# set here) give it the 32-bit Windows program's flags.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRAWLWISE_I686_LINUX ON)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)

# No position-independent code, as in the Windows program: Linux's default
# would hold a register for the global offset table and change the code
# around every arithmetic step.
set(CMAKE_C_FLAGS_INIT "-fno-pie")
set(CMAKE_CXX_FLAGS_INIT "-fno-pie")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-no-pie")

set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386 -L /usr/i686-linux-gnu)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
