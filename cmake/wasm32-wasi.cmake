# WebAssembly for the browser edition with Debian's clang 16, wasi-libc and libc++ for wasm32:
# the folders without Qt and web/ (make web). A module without a main (a reactor): the page
# calls it.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++-16)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_AR llvm-ar-16)
set(CMAKE_RANLIB llvm-ranlib-16)
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
# Debian puts libc++'s wasm32 headers and libraries beside the host's: clang looks for neither.
# SIMD where every current browser has it; the figure's sines are written for it. The code is
# written against GCC's warnings: clang's unused-constant warning is not one of them.
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem /usr/include/wasm32-wasi/c++/v1 -msimd128 -fno-exceptions -Wno-unused-command-line-argument")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L/usr/lib/llvm-16/lib/wasm32-wasi")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(KORVELIAN_WEB ON CACHE BOOL "The browser edition" FORCE)
# ctest runs the model's checks under Node's WASI.
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-warnings ${CMAKE_CURRENT_LIST_DIR}/../web/runwasi.mjs)
