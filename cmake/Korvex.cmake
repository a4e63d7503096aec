# kx_add_program(NAME <target> [DEST <install dir>] [OUTPUT <file name>] SOURCES ...)
# Builds one program of the suite from its own sources, linked against shared/ and platform/.
# Modules install into korvex.wfd/modules; the launcher into the game directory itself.
function(kx_add_program)
  cmake_parse_arguments(P "" "NAME;DEST;OUTPUT" "SOURCES;LIBS" ${ARGN})
  # The forms go into a library so that the tests can link them without main.cpp.
  set(lib ${P_NAME}_forms)
  list(FILTER P_SOURCES EXCLUDE REGEX "main\\.cpp$")
  add_library(${lib} STATIC ${P_SOURCES})
  target_include_directories(${lib} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${lib} PUBLIC kx_shared kx_platform Qt6::Widgets ${P_LIBS})
  add_executable(${P_NAME} main.cpp)
  target_link_libraries(${P_NAME} PRIVATE ${lib})
  if(P_OUTPUT)
    set_target_properties(${P_NAME} PROPERTIES OUTPUT_NAME ${P_OUTPUT})
  endif()
  if(NOT P_DEST)
    set(P_DEST korvex.wfd/modules)
  endif()
  install(TARGETS ${P_NAME} RUNTIME DESTINATION ${P_DEST})
endfunction()

# kx_add_tests(NAME <target> [CORE] [LABELS ...] SOURCES ... LIBS ...)
# One GoogleTest executable; every test runs offscreen unless labelled xvfb. CORE: core's own
# tests, built on core's test support alone (the layers hold for tests too).
function(kx_add_tests)
  cmake_parse_arguments(T "CORE" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT KX_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_CORE)
    target_link_libraries(${T_NAME} PRIVATE kx_core_testsupport GTest::gtest_main ${T_LIBS})
  else()
    target_link_libraries(${T_NAME} PRIVATE kx_testsupport ${T_LIBS})
  endif()
  # Tests labelled xvfb need real windows: the test runner gives them a display.
  if("xvfb" IN_LIST T_LABELS)
    set(qpa xcb)
  else()
    set(qpa offscreen)
  endif()
  # Discovery passes PROPERTIES on as a flat list, so the environment holds one variable;
  # the tree's own folders reach the tests compiled in.
  target_compile_definitions(${T_NAME} PRIVATE KX_BUILD_DIR="${CMAKE_BINARY_DIR}"
                                               KX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set(props ENVIRONMENT "QT_QPA_PLATFORM=${qpa}" TIMEOUT 300)
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${T_NAME} PROPERTIES ${props} DISCOVERY_TIMEOUT 60)
endfunction()

# kx_add_fuzzer(NAME <fuzz_x> SOURCES ... LIBS ... [SEEDS <file or folder> ...])
# One fuzz target: a source defining LLVMFuzzerTestOneInput(const uint8_t*, size_t).
# With KX_FUZZ (a clang build, see scripts/fuzz) it becomes a libFuzzer binary; in the
# ordinary build it is linked with a driver that feeds it every seed once, and that run is a
# CTest test (<name>_seeds), so each target also guards its seeds on every test run.
# Seeds are the shipped files the reader takes; folders give all their files.
function(kx_add_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(KX_FUZZ)
    add_executable(${F_NAME} ${F_SOURCES})
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    add_dependencies(kx_fuzzers ${F_NAME})
  elseif(KX_TESTS)
    add_executable(${F_NAME} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/core/testing/FuzzSeedMain.cpp)
    add_test(NAME ${F_NAME}_seeds COMMAND ${F_NAME} ${F_SEEDS})
    set_tests_properties(${F_NAME}_seeds PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
  else()
    return()
  endif()
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  # scripts/fuzz reads this list: one line per target, its binary and its seeds.
  string(REPLACE ";" "|" seeds "${F_SEEDS}")
  set_property(GLOBAL APPEND PROPERTY KX_FUZZ_LIST "${F_NAME}\t$<TARGET_FILE:${F_NAME}>\t${seeds}")
endfunction()
