# Every test runs with its own home folder, so nothing touches the real
# user's Lexivane folder, and GUI tests run on the offscreen platform.
set(LEXIVANE_TEST_HOME_ROOT "${CMAKE_BINARY_DIR}/test-homes")

function(lexivane_add_test name)
  cmake_parse_arguments(ARG "GUI" "WORKING_DIRECTORY" "COMMAND" ${ARGN})
  if(NOT ARG_COMMAND)
    set(ARG_COMMAND ${name})
  endif()
  set(home "${LEXIVANE_TEST_HOME_ROOT}/${name}")
  set(runtime "${LEXIVANE_TEST_HOME_ROOT}/${name}-runtime")
  file(MAKE_DIRECTORY "${home}")
  file(MAKE_DIRECTORY "${runtime}")
  file(CHMOD "${runtime}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY "${home}")
  endif()
  # The program makes its own temporary home too, for when it is run by hand.
  if(TARGET ${name})
    target_link_libraries(${name} PRIVATE testhome)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  endif()
  add_test(NAME ${name} COMMAND ${ARG_COMMAND} WORKING_DIRECTORY "${ARG_WORKING_DIRECTORY}")
  set(env "HOME=${home}" "XDG_RUNTIME_DIR=${runtime}" "LC_ALL=C.UTF-8")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# A test that cannot run on this machine still shows in the run, as skipped
# with its reason (and as a failure where LEXIVANE_NO_SKIP=1 asks that nothing
# be skipped), instead of silently not being there.
function(lexivane_add_missing_test name reason)
  add_test(NAME ${name} COMMAND sh -c "echo \"skipped: $1\"; [ \"$LEXIVANE_NO_SKIP\" = 1 ] && exit 1; exit 77" sh "${reason}")
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  message(STATUS "${name}: ${reason}")
endfunction()
