# tarmel_add_test(<name> CORE|UI SOURCES <files...> [LIBS <libs...>] [TIMEOUT <s>])
#   CORE tests link the core (the sanitised copy when TARMEL_SANITIZE_CORE is on);
#   UI tests link tarmel_ui and the fakes of tests/support.
# Every test runs offscreen, with the corpus path in TARMEL_CORPUS and a timeout against hangs.
function(tarmel_add_test name)
  cmake_parse_arguments(T "CORE;UI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  if(T_CORE)
    if(TARGET tarmel_core_san)
      target_link_libraries(${name} PRIVATE tarmel_core_san)
    else()
      target_link_libraries(${name} PRIVATE tarmel_core)
    endif()
  else()
    target_link_libraries(${name} PRIVATE tarmel_ui tarmel_test_support)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARMEL_CORPUS=${PROJECT_SOURCE_DIR}/../shared/corpus;TARMEL_SOURCE_DIR=${PROJECT_SOURCE_DIR};ASAN_OPTIONS=detect_leaks=0;LC_ALL=C.UTF-8")
endfunction()
