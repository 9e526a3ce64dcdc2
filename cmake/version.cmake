# The project's one version (project(Kelvox VERSION ...)) as a generated header,
# kelvox/version.h, for the programs' --version; the package takes the same version through
# CPack. The about box shows it as "V1.06": the minor number in two digits.
if(PROJECT_VERSION_MINOR LESS 10)
  set(KELVOX_ABOUT_VERSION "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(KELVOX_ABOUT_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
               ${CMAKE_BINARY_DIR}/generated/kelvox/version.h @ONLY)
add_library(kelvox_version INTERFACE)
target_include_directories(kelvox_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
