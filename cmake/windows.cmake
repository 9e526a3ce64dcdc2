# What the Windows cross build adds to the project's own rules (included by the top
# CMakeLists.txt when the target system is Windows):
# - every program built for Windows runs here through Wine, with a private Wine prefix inside
#   the build folder and Wine's own messages silenced;
# - each GoogleTest program is one CTest test: listing the cases of every program at build
#   time would start Wine once more per program, and one Wine start per program is enough.

set(KELVOX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix the tests run in")
find_program(KELVOX_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
find_program(KELVOX_WINE64 NAMES wine64 wine)
find_program(KELVOX_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(KELVOX_WINESERVER NAMES wineserver)
if(NOT KELVOX_WINE64)
  message(WARNING "wine64 not found: Windows programs cannot run here")
endif()

set(KELVOX_WINE_FONTS ${CMAKE_BINARY_DIR}/wine-fonts.sh)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-fonts.sh.in ${KELVOX_WINE_FONTS}
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# Test programs that are not built for Windows (their targets stay defined): those that start
# other programs through POSIX calls the MinGW run time does not have (fork, waitpid), and the
# window tests labelled `gui`, which drive the GTK widgets; the Windows window has its own
# checks in windows/.
set(KELVOX_POSIX_ONLY_TESTS iddb_gen_program_test cli_binary_test)

# Replaces GoogleTest's per-case discovery with one test per program; takes the same arguments.
function(gtest_discover_tests target)
  cmake_parse_arguments(D "NO_PRETTY_TYPES;NO_PRETTY_VALUES"
                        "WORKING_DIRECTORY;TEST_PREFIX;TEST_SUFFIX;TEST_LIST;DISCOVERY_TIMEOUT;DISCOVERY_MODE;XML_OUTPUT_DIR"
                        "EXTRA_ARGS;PROPERTIES" ${ARGN})
  if(target IN_LIST KELVOX_POSIX_ONLY_TESTS OR "${D_PROPERTIES}" MATCHES "LABELS;gui")
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
    return()
  endif()
  if(NOT D_WORKING_DIRECTORY)
    set(D_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(name ${D_TEST_PREFIX}${target}${D_TEST_SUFFIX})
  add_test(NAME ${name} COMMAND ${target} ${D_EXTRA_ARGS} WORKING_DIRECTORY ${D_WORKING_DIRECTORY})
  # Properties come in name/value pairs; an empty value (LABELS "") is dropped by the call, so
  # a value that is itself a property name means the one before it was empty.
  set(names LABELS RUN_SERIAL TIMEOUT ENVIRONMENT SKIP_RETURN_CODE WILL_FAIL)
  set(properties ${D_PROPERTIES})
  while(properties)
    list(POP_FRONT properties property)
    set(value "")
    if(properties)
      list(GET properties 0 next)
      if(NOT next IN_LIST names)
        list(POP_FRONT properties value)
      endif()
    endif()
    if(NOT value STREQUAL "")
      set_tests_properties(${name} PROPERTIES ${property} "${value}")
    endif()
  endwhile()
  if(D_TEST_LIST)
    set(${D_TEST_LIST} ${name} PARENT_SCOPE)
  endif()
endfunction()
