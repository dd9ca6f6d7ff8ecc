find_package(Threads REQUIRED)

# A layer is every .cpp of its folder (recursively) built as one shared library: the
# module library, the host and the tests then share one copy of every process-wide
# and per-thread object of the framework, as siblings of a loaded module do.
# A layer without sources yet becomes an interface target, so that the layers
# above it link the same way before and after it is written.
function(slownik_layer name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(sources)
    add_library(${name} SHARED ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# The module itself: a shared library made of several folders.
function(slownik_module name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB_RECURSE more CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${more})
  endforeach()
  if(sources)
    add_library(${name} SHARED ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    set_target_properties(${name} PROPERTIES OUTPUT_NAME slownik)
  endif()
endfunction()

# Every *_test.cpp under a test folder is its own executable, so that one
# broken test file never stops the others from building.
function(slownik_tests dir)
  cmake_parse_arguments(ARG "" "LABEL" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*_support.cpp)
  foreach(test ${tests})
    get_filename_component(base ${test} NAME_WE)
    set(target ${dir}_${base})
    string(REPLACE "/" "_" target ${target})
    add_executable(${target} ${test} ${helpers})
    target_link_libraries(${target} PRIVATE test_support ${ARG_DEPS} GTest::gtest GTest::gmock)
    add_test(NAME ${target} COMMAND ${target})
    set(labels ${ARG_LABEL})
    if(base MATCHES "thread")
      list(APPEND labels threads)   # also run under the thread sanitizer
    endif()
    set_tests_properties(${target} PROPERTIES LABELS "${labels}" TIMEOUT 900
      ENVIRONMENT "SLOWNIK_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endforeach()
endfunction()
