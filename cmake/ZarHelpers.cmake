# zar_add_subfolders(): adds every direct sub-folder that has a CMakeLists.txt, in name order.
function(zar_add_subfolders)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# zar_add_gtest(name SOURCES ... LIBS ...): one GoogleTest executable, discovered by CTest.
# Every test runs offscreen with a private settings folder (set up by zar_test_main).
function(zar_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zar_test_main GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 600
    PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1"
      TIMEOUT 3600)
endfunction()

# zar_add_folder_library(name [DEPS ...] [QT ...]): one library of every .cpp/.h in the current
# folder (so several people can add files without touching this file). A dependency that does
# not exist yet is skipped; an empty folder makes no library.
function(zar_add_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR})
  foreach(dep ${ARG_DEPS})
    if(TARGET ${dep} OR dep MATCHES "::")
      target_link_libraries(${name} PUBLIC ${dep})
    endif()
  endforeach()
endfunction()

# zar_add_folder_gtest(name [LIBS ...]): one test executable of every *Test.cpp (and helper
# .cpp) in the current folder; libraries that do not exist yet are skipped.
function(zar_add_folder_gtest name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  set(libs)
  foreach(lib ${ARG_LIBS})
    if(TARGET ${lib} OR lib MATCHES "::")
      list(APPEND libs ${lib})
    endif()
  endforeach()
  zar_add_gtest(${name} SOURCES ${sources} LIBS ${libs})
endfunction()
