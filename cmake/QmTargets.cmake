# Small helpers so that each folder declares its target in one line and new
# source files are picked up without editing shared CMake files.

# qm_library(<name> DIR <dir> [DEPS <targets...>])
# A static library of every .cpp under <dir> (recursively); an interface
# library while the folder holds headers only.
function(qm_library name)
  cmake_parse_arguments(arg "" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${arg_DIR}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${arg_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${arg_DEPS})
  endif()
endfunction()

# qm_test_suite(<name> DIR <dir> DEPS <targets...>)
# One GoogleTest executable of every *_test.cpp under <dir>, registered with ctest.
# The tests see QM_SOURCE_DIR and QM_BINARY_DIR as string macros (a list of environment
# variables does not survive gtest_discover_tests' PROPERTIES, so only one is set there).
function(qm_test_suite name)
  cmake_parse_arguments(arg "" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${arg_DIR}/*_test.cpp" "${arg_DIR}/support/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${arg_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE QM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QM_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
