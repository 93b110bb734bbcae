# The fuzz targets, one line each: the target's name, its source file in tests/fuzz and the
# libraries of the game it exercises. Both builds read this list: the clang project (project/)
# builds every target in it, and the main build registers a timed run of each with CTest.
# The libraries named here must be known to project/CMakeLists.txt.
pellix_fuzz_target(fuzz_settings_file FuzzSettingsFile.cpp pellix_settings)
pellix_fuzz_target(fuzz_game_state_file FuzzGameStateFile.cpp pellix_model)
pellix_fuzz_target(fuzz_hiscores_file FuzzHiScoresFile.cpp pellix_scores)
pellix_fuzz_target(fuzz_score_replies ../online/fuzz/FuzzScoreReplies.cpp pellix_online)
pellix_fuzz_target(fuzz_score_outbox_file ../online/fuzz/FuzzScoreOutboxFile.cpp pellix_online)
pellix_fuzz_target(fuzz_server_requests ../online/fuzz/FuzzServerRequests.cpp pellix_server_requests)
pellix_fuzz_target(fuzz_play FuzzPlay.cpp pellix_play_driver)
