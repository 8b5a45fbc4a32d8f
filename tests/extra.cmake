# Extra test wiring for the asset checks: the catalogue reads the built image archives, and the
# art builder's own tests link its library.
if(TARGET test_assets)
  if(TARGET game_data)
    add_dependencies(test_assets game_data)
  endif()
  target_link_libraries(test_assets PRIVATE trakvolt_art)
endif()
