# What the release package takes from the Windows builds. tools/package.sh
# installs both trees into one staging folder (cmake --install), splits the
# DLL's symbols off and zips the folder.
#
#   bin/       Loomkeys.dll (x86_64 tree), Stubwright.exe (i686 tree)
#   include/   loomkeys.h
#   lib/       libLoomkeys.dll.a (MinGW-w64), Loomkeys.lib (Microsoft linker)
#   lib/cmake/Loomkeys/   the CMake package with the target Loomkeys::Loomkeys
#   vba/       Loomkeys.bas
#   dotnet/    Loomkeys.cs
#   README.txt
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  install(TARGETS Stubwright RUNTIME DESTINATION bin)
  return()
endif()

# Symbols for the field: the package splits them off into Loomkeys.dll.debug.
target_compile_options(loomkeys_core PRIVATE -g)
target_compile_options(Loomkeys PRIVATE -g)

# ld writes libLoomkeys.dll.a beside the DLL while linking it.
install(TARGETS Loomkeys RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/addin/include/loomkeys.h DESTINATION include)
install(FILES ${PROJECT_SOURCE_DIR}/clients/vba/Loomkeys.bas DESTINATION vba)
install(FILES ${PROJECT_SOURCE_DIR}/clients/dotnet/Loomkeys.cs DESTINATION dotnet)

# The Microsoft linker's import library, made from the same .def file.
find_program(LOOMKEYS_LLVM_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool REQUIRED)
set(loomkeys_msvc_import_library ${CMAKE_CURRENT_BINARY_DIR}/package/Loomkeys.lib)
add_custom_command(OUTPUT ${loomkeys_msvc_import_library}
  COMMAND ${LOOMKEYS_LLVM_DLLTOOL} -m i386:x86-64 -d ${PROJECT_SOURCE_DIR}/addin/win32/loomkeys.def
          -l ${loomkeys_msvc_import_library}
  DEPENDS ${PROJECT_SOURCE_DIR}/addin/win32/loomkeys.def
  VERBATIM)
add_custom_target(loomkeys_msvc_import_library ALL DEPENDS ${loomkeys_msvc_import_library})
install(FILES ${loomkeys_msvc_import_library} DESTINATION lib)

include(CMakePackageConfigHelpers)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LoomkeysConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/package/LoomkeysConfig.cmake INSTALL_DESTINATION lib/cmake/Loomkeys)
# A 32-bit client cannot load the DLL: the version file turns such a project
# away (it compares CMAKE_SIZEOF_VOID_P with this build's 8).
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/package/LoomkeysConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/LoomkeysConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/package/LoomkeysConfigVersion.cmake
        DESTINATION lib/cmake/Loomkeys)

configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/package/README.txt @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/README.txt DESTINATION .)

# The package's name, for tools/package.sh.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/package/name.txt "Loomkeys-${PROJECT_VERSION}-win64\n")
