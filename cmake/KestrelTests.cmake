# kestrel_gtest(NAME SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...])
# One GoogleTest binary; its cases are discovered when CTest runs (not at build
# time), each with a time-out.
function(kestrel_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main kestrel_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 30
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()

# kestrel_qt_test(NAME SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...])
# One QtTest program on the offscreen platform, labelled gui.
function(kestrel_qt_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(labels gui ${ARG_LABELS})
  set(CMAKE_AUTOMOC ON)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test kestrel_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${labels}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endfunction()

# kestrel_qt_test_classes(NAME LIBS ... CLASSES Class file.cpp ...)
# One QtTest program of several test classes (tests/common/qt_test_registry.h)
# on the offscreen platform; CTest runs each class as a test NAME_Class of
# its own, labelled gui.
function(kestrel_qt_test_classes name)
  cmake_parse_arguments(ARG "" "" "LIBS;CLASSES" ${ARGN})
  set(CMAKE_AUTOMOC ON)
  set(sources ${PROJECT_SOURCE_DIR}/tests/common/qt_test_main.cpp)
  set(classes)
  foreach(item IN LISTS ARG_CLASSES)
    if(item MATCHES "\\.(cpp|h)$")
      list(APPEND sources ${item})
    else()
      list(APPEND classes ${item})
    endif()
  endforeach()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test kestrel_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  string(REGEX REPLACE "_tests$" "" prefix ${name})
  foreach(class IN LISTS classes)
    add_test(NAME ${prefix}_${class} COMMAND ${name} ${class})
    set_tests_properties(${prefix}_${class} PROPERTIES TIMEOUT 120 LABELS gui
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
  endforeach()
endfunction()
