# Extra test wiring: the catalogue check reads the built image archives.
if(TARGET test_assets AND TARGET game_data)
  add_dependencies(test_assets game_data)
endif()
