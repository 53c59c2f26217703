# The WAVE reading target, run by ctest from the WAVE seeds the data builder
# writes (fuzz-seeds/wave), like the other targets.
if(KARVO_CLANGXX)
  set(scratch "${KARVO_FUZZ_BUILD_DIR}/corpus-wave")
  add_test(NAME fuzz_wave
    COMMAND sh -c "mkdir -p '${scratch}' && exec '${KARVO_FUZZ_BUILD_DIR}/wave_fuzz' -max_total_time=${KARVO_FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 '${scratch}' '${KARVO_FUZZ_SEED_DIR}/wave'")
  set_tests_properties(fuzz_wave PROPERTIES TIMEOUT 300 LABELS fuzz)
endif()
