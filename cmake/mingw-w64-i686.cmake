# Cross build of the 32-bit launcher stub. No 32-bit Wine exists here, so
# nothing built with this toolchain is run; it is checked statically.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
