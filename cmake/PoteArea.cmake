# Each area of src/ is a static library of Qt-Core-only logic (the .cpp files at the top of
# its folder) and, when it has a ui/ folder, a second library of widgets that may use the logic.
# The split is enforced by linking: a widget included by a logic file fails to build.
function(pote_area area)
  cmake_parse_arguments(A "" "" "LOGIC_LIBS;UI_LIBS" ${ARGN})
  file(GLOB logic_src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(logic_src)
    add_library(pote_${area} STATIC ${logic_src})
    target_include_directories(pote_${area} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(pote_${area} PUBLIC Qt6::Core ${A_LOGIC_LIBS})
  endif()
  if(POTE_WITH_UI)
    file(GLOB ui_src CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h
         ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.qrc)
    if(ui_src)
      add_library(pote_${area}_ui STATIC ${ui_src})
      target_include_directories(pote_${area}_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
      target_link_libraries(pote_${area}_ui PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets
                            Qt6::PrintSupport Qt6::Svg ${A_UI_LIBS})
      if(TARGET pote_${area})
        target_link_libraries(pote_${area}_ui PUBLIC pote_${area})
      endif()
    endif()
  endif()
endfunction()

# One test program per *_test.cpp file of the calling folder.
function(pote_tests)
  cmake_parse_arguments(A "" "" "LIBS;ENV" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src IN LISTS tests)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${A_LIBS} pote_test_support GTest::gtest GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;${A_ENV}"
      TIMEOUT 600)
  endforeach()
endfunction()
