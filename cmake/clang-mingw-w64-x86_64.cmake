# Cross-compiles for 64-bit Windows with clang and lld instead of GCC, against the same mingw-w64
# headers and libraries and the posix-thread GCC's C++ library: a second compiler's view of the code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${CORVANE_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${CORVANE_MINGW_TRIPLE})

# Clang does not find the C++ library of a GCC whose folder is named "12-posix": name it.
file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${CORVANE_MINGW_TRIPLE}/*-posix)
list(SORT gcc_dirs COMPARE NATURAL)
list(POP_BACK gcc_dirs gcc_dir)
if(NOT gcc_dir)
  message(FATAL_ERROR "No posix-thread mingw-w64 GCC under /usr/lib/gcc/${CORVANE_MINGW_TRIPLE}")
endif()
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${gcc_dir}/include/c++ ${gcc_dir}/include/c++/${CORVANE_MINGW_TRIPLE} ${gcc_dir}/include/c++/backward)
# GCC for this target keeps thread-local variables through emulated TLS, and so does its C++
# library (std::call_once's, behind std::future among others): clang must use the same.
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls")
# That library's threads stand on winpthreads, which GCC's driver adds by itself; the static one,
# named as a file, so that no DLL is needed (lld finds archive members wherever they stand).
set(link_flags "-fuse-ld=lld -L${gcc_dir} -l:libpthread.a")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link_flags}")
