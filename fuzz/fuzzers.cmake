# libFuzzer targets for the entry decoder, for archive reading with frame
# sets and for map blocks with their start state. The main build uses g++; the targets need clang, so they are built as a
# project of their own when clang++ is present, and ctest runs each briefly
# from the seed corpus the data builder writes.
find_program(KARVO_CLANGXX NAMES clang++ clang++-14)
if(KARVO_CLANGXX)
  include(ExternalProject)
  set(KARVO_FUZZ_BUILD_DIR "${CMAKE_BINARY_DIR}/fuzz-build")
  ExternalProject_Add(karvo_fuzzers
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/targets
    BINARY_DIR ${KARVO_FUZZ_BUILD_DIR}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${KARVO_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
               -DKARVO_SOURCE_DIR=${CMAKE_SOURCE_DIR}
               -DKARVO_LUNAR_TABLE=${CMAKE_BINARY_DIR}/generated/lunar_table.cpp
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    EXCLUDE_FROM_ALL OFF)
  if(TARGET karvo_data)
    add_dependencies(karvo_fuzzers karvo_data)
  endif()
  if(TARGET lunar_table)
    add_dependencies(karvo_fuzzers lunar_table)
  endif()
  set(KARVO_FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs under ctest")
  foreach(target lzh mkf map)
    # New inputs go into a scratch corpus; the seeds are only read.
    set(scratch "${KARVO_FUZZ_BUILD_DIR}/corpus-${target}")
    add_test(NAME fuzz_${target}
      COMMAND sh -c "mkdir -p '${scratch}' && exec '${KARVO_FUZZ_BUILD_DIR}/${target}_fuzz' -max_total_time=${KARVO_FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 '${scratch}' '${KARVO_FUZZ_SEED_DIR}/${target}'")
    set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT 300 LABELS fuzz)
  endforeach()
  # Save and settings files, from seeds a fixture makes with the runner.
  add_test(NAME fuzz_save_seeds
    COMMAND sh "${CMAKE_CURRENT_SOURCE_DIR}/make_save_seeds.sh" "$<TARGET_FILE:karvo_runner_cli>" "${KARVO_FUZZ_SEED_DIR}")
  set_tests_properties(fuzz_save_seeds PROPERTIES TIMEOUT 300 LABELS fuzz FIXTURES_SETUP save_seeds)
  foreach(target save cfg)
    set(scratch "${KARVO_FUZZ_BUILD_DIR}/corpus-${target}")
    add_test(NAME fuzz_${target}
      COMMAND sh -c "mkdir -p '${scratch}' && exec '${KARVO_FUZZ_BUILD_DIR}/${target}_fuzz' -max_total_time=${KARVO_FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 '${scratch}' '${KARVO_FUZZ_SEED_DIR}/${target}'")
    set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT 300 LABELS fuzz FIXTURES_REQUIRED save_seeds
      ENVIRONMENT "KARVO_DATA=${KARVO_DATA_DIR};SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;KARVO_HEADLESS=1")
  endforeach()
  # FLC decoding, from the animations the builder writes as seeds.
  set(scratch "${KARVO_FUZZ_BUILD_DIR}/corpus-flc")
  add_test(NAME fuzz_flc
    COMMAND sh -c "mkdir -p '${scratch}' && exec '${KARVO_FUZZ_BUILD_DIR}/flc_fuzz' -max_total_time=${KARVO_FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 '${scratch}' '${KARVO_FUZZ_SEED_DIR}/flc'")
  set_tests_properties(fuzz_flc PROPERTIES TIMEOUT 300 LABELS fuzz)
else()
  message(STATUS "clang++ not found: fuzz targets are not built")
endif()
