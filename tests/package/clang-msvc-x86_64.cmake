# Microsoft mode without a Windows SDK or C runtime: clang-14 compiles for
# x86_64-pc-windows-msvc, freestanding, and lld-link-14 links with no default
# library, starting at ConsumerEntry. The kernel32 import library is given as
# CMAKE_C_STANDARD_LIBRARIES (tools/check-package.sh makes it from
# kernel32.def with llvm-dlltool-14).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_C_COMPILER_TARGET x86_64-pc-windows-msvc)
# Without a C runtime no test program links, so CMake's compiler checks stop at an object.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_C_FLAGS_INIT -ffreestanding)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld-link-14 -Xlinker /nodefaultlib -Xlinker /entry:ConsumerEntry")
