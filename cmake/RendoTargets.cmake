# Every folder is one library built from the .cpp files beside its
# CMakeLists.txt, and one GoogleTest executable from its tests/ folder.
# Headers are included as "<folder>/<file>.h" from the project root.

# rendo_folder(NAME [DEPS ...] [TEST_DEPS ...] [GUI_TESTS])
function(rendo_folder name)
  cmake_parse_arguments(ARG "GUI_TESTS" "" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(srcs)
    add_library(${name} STATIC ${srcs} ${hdrs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()

  file(GLOB tsrcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(tsrcs AND RENDO_TESTS)
    set(main GTest::gtest_main)
    if(ARG_GUI_TESTS)
      set(main testsupport_guimain)
    endif()
    add_executable(${name}_tests ${tsrcs})
    target_link_libraries(${name}_tests PRIVATE ${name} ${ARG_TEST_DEPS} testsupport GTest::gtest GTest::gmock ${main})
    target_compile_definitions(${name}_tests PRIVATE
      RENDO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      RENDO_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(${name}_tests
      DISCOVERY_TIMEOUT 120
      PROPERTIES LABELS ${name}
                 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;RENDO_BINARY_DIR=${PROJECT_BINARY_DIR};RENDO_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
endfunction()
