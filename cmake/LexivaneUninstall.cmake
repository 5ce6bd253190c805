# cmake --build build --target uninstall: removes what the last
# cmake --install of this build tree put in place (install_manifest.txt).
set(manifest "${CMAKE_CURRENT_BINARY_DIR}/install_manifest.txt")
if(NOT EXISTS "${manifest}")
  message(FATAL_ERROR "Nothing to uninstall: ${manifest} is missing (nothing was installed from this build).")
endif()
file(STRINGS "${manifest}" files)
foreach(f IN LISTS files)
  if(EXISTS "${f}" OR IS_SYMLINK "${f}")
    message(STATUS "Removing ${f}")
    file(REMOVE "${f}")
  endif()
endforeach()
