# Extra test wiring for the asset checks: the catalogue reads the built image archives, and the
# art builder's own tests link its library.
if(TARGET test_assets)
  if(TARGET game_data)
    add_dependencies(test_assets game_data)
  endif()
  target_link_libraries(test_assets PRIVATE trakvolt_art)
endif()

# The SDL build itself, under a virtual X display.
add_test(NAME sdl_window COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/sdl/window_test.sh
         $<TARGET_FILE:trakvolt> ${CMAKE_BINARY_DIR}/Data)
set_tests_properties(sdl_window PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 240)

# The archive manifest and contact-sheet tests drive the archive tools' library.
if(TARGET test_archive)
  target_link_libraries(test_archive PRIVATE trakvolt_archive_tools)
endif()

# The score server's tests drive the server's library over real HTTP on the loopback.
if(TARGET test_server)
  target_link_libraries(test_server PRIVATE trakvolt_scores trakvolt_scores_fill)
endif()
# The same server tests again over a private PostgreSQL.
if(TARGET test_server)
  add_test(NAME server_postgres COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/server/with_postgres.sh
           $<TARGET_FILE:test_server> --gtest_filter=ScoreServerTest.*)
  set_tests_properties(server_postgres PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
# The score server under load from 50 concurrent clients, and killed halfway through a run.
if(TARGET trakvolt-scores-load)
  add_test(NAME server_load COMMAND trakvolt-scores-load --server $<TARGET_FILE:trakvolt-scores>
           --requests 1000 --clients 50)
  add_test(NAME server_load_kill COMMAND trakvolt-scores-load
           --server $<TARGET_FILE:trakvolt-scores> --requests 1000 --clients 50 --kill)
  set_tests_properties(server_load server_load_kill PROPERTIES TIMEOUT 180)
  # The same against a private PostgreSQL (a fresh instance for each run).
  foreach(kill "" "--kill")
    set(name server_load_postgres${kill})
    string(REPLACE "--" "_" name "${name}")
    add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/server/with_postgres.sh bash -c
             "\"$0\" --server \"$1\" --requests 1000 --clients 50 ${kill} --db \"postgresql://trakvolt@/postgres?host=$TRAKVOLT_TEST_PG_HOST\""
             $<TARGET_FILE:trakvolt-scores-load> $<TARGET_FILE:trakvolt-scores>)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
  endforeach()
endif()

# The installed game under a virtual X display, and the Debian package with its checks.
if(TARGET game_data)
  add_test(NAME install_prefix COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install/install_test.sh
           ${CMAKE_BINARY_DIR})
  add_test(NAME install_package COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install/package_test.sh
           ${CMAKE_BINARY_DIR})
  set_tests_properties(install_prefix install_package PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 240)
endif()

# The SDL display's tests link the SDL machine; they show pictures only under present_test.sh.
if(TARGET test_sdl)
  target_link_libraries(test_sdl PRIVATE trakvolt_sdl)
  add_test(NAME sdl_present COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/sdl/present_test.sh
           $<TARGET_FILE:test_sdl> $<TARGET_FILE:trakvolt-replay> ${CMAKE_BINARY_DIR}/Data)
  set_tests_properties(sdl_present PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
  if(TARGET game_data)
    add_dependencies(test_sdl game_data)
  endif()
endif()

# Two real games started on one save folder at random moments.
if(TARGET trakvolt-replay)
  add_test(NAME two_games_one_folder COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/shell/two_games_test.sh
           $<TARGET_FILE:trakvolt-replay> ${CMAKE_BINARY_DIR}/Data)
  set_tests_properties(two_games_one_folder PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()

# The screen guard compares with the reference pictures kept in the tree, reads the generated
# art's fingerprint, and names the renew script in its failures.
if(TARGET test_pictures)
  target_compile_definitions(test_pictures PRIVATE
    TRAKVOLT_GUARD_REFERENCE="${CMAKE_CURRENT_SOURCE_DIR}/pictures/reference"
    TRAKVOLT_GUARD_RENEW_COMMAND="bash ${PROJECT_SOURCE_DIR}/scripts/renew_screen_guard.sh ${CMAKE_BINARY_DIR}")
  if(TARGET game_data)
    add_dependencies(test_pictures game_data)
  endif()
endif()

# How tests say they cannot run here, in the scripts and in the GoogleTest cases, with and
# without CI=true.
if(TARGET test_support)
  add_test(NAME skip_helpers COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/support/skip_test.sh
           $<TARGET_FILE:test_support>)
endif()

# The pack tool and the headless runner under a file-size limit.
add_test(NAME tools_pack_size_limit COMMAND bash
         ${CMAKE_CURRENT_SOURCE_DIR}/tools/file_size_limit_test.sh pack $<TARGET_FILE:trakvolt-pack>)
add_test(NAME tools_replay_size_limit COMMAND bash
         ${CMAKE_CURRENT_SOURCE_DIR}/tools/file_size_limit_test.sh replay
         $<TARGET_FILE:trakvolt-replay> ${CMAKE_BINARY_DIR}/Data)
set_tests_properties(tools_pack_size_limit tools_replay_size_limit PROPERTIES
                     SKIP_RETURN_CODE 77 TIMEOUT 60)
