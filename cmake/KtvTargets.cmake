# Helpers so each layer's folder declares its library in one line and picks up new files itself.

# ktv_library(<target> <folder> [DEPS libs...] [EXCLUDE subfolders...])
# Builds every .cpp under <folder> (except files named main.cpp, and the subfolders named
# after EXCLUDE, which are libraries of their own) into a static library.
function(ktv_library target folder)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${folder}/*.cpp" "${folder}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(sub ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "/${folder}/${sub}/")
  endforeach()
  list(FILTER sources INCLUDE REGEX ".*")
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    # A layer that has no code yet still exists, so the layers above can name it.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# ktv_test(<name> <folder> [QT] [FILTER gtest-filter] DEPS libs...)
# One GoogleTest executable per test folder; every .cpp in it is a test source. A folder
# with its own main.cpp keeps it; otherwise QT tests get a main that creates the
# QApplication, the others GoogleTest's own main.
function(ktv_test name folder)
  cmake_parse_arguments(ARG "QT" "FILTER" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${folder}/*.cpp" "${folder}/*.h")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests" "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} ktv_testsupport GTest::gtest GTest::gmock)
  set(own_main ${sources})
  list(FILTER own_main INCLUDE REGEX "/main\\.cpp$")
  if(NOT own_main)
    if(ARG_QT)
      target_link_libraries(${name} PRIVATE ktv_qt_test_main)
    else()
      target_link_libraries(${name} PRIVATE ktv_test_main)
    endif()
  endif()
  # FILTER: a gtest filter for the tests found; the others are run by tests of their own.
  if(NOT ARG_FILTER)
    set(ARG_FILTER "*")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests"
    TEST_FILTER "${ARG_FILTER}"
    DISCOVERY_TIMEOUT 60)
endfunction()
