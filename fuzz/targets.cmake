# Every fuzz target (fuzz_NAME.cpp, corpus in corpus/fuzz_NAME/) and the
# layer it drives. The fuzz build and the corpus replay under
# tests/robustness link the same.
set(SONVERO_FUZZ_TARGETS fuzz_forms fuzz_script fuzz_settings fuzz_spectrum)
set(fuzz_forms_LINK sonvero-plugin test-support)
set(fuzz_script_LINK vantorhost)
set(fuzz_settings_LINK sonvero-ui test-support)
set(fuzz_spectrum_LINK sonvero-audio)
