# Sound effects and music: effect descriptions -> WAVs + pack manifest -> Sounds.dxw, and the
# two scores -> Menu.xm and Race.xm (all by trakvolt-audiogen). Each output reruns only when
# its sources or the builder change.
set(TRAKVOLT_AUDIO_DIR ${CMAKE_BINARY_DIR}/audio)
file(GLOB sound_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/sounds/*.sfx)
add_custom_command(
  OUTPUT ${TRAKVOLT_AUDIO_DIR}/sounds/sounds.txt
  COMMAND trakvolt-audiogen sounds ${CMAKE_CURRENT_SOURCE_DIR}/sounds ${TRAKVOLT_AUDIO_DIR}/sounds
  DEPENDS ${sound_sources} trakvolt-audiogen
  COMMENT "Synthesising the sound effects"
  VERBATIM)
set(audio_outputs ${TRAKVOLT_AUDIO_DIR}/sounds/sounds.txt)
if(TARGET trakvolt-pack)
  add_custom_command(
    OUTPUT ${TRAKVOLT_DATA_DIR}/Res/Sounds.dxw
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TRAKVOLT_DATA_DIR}/Res
    COMMAND trakvolt-pack ${TRAKVOLT_AUDIO_DIR}/sounds/sounds.txt ${TRAKVOLT_DATA_DIR}/Res/Sounds.dxw
    DEPENDS ${TRAKVOLT_AUDIO_DIR}/sounds/sounds.txt trakvolt-pack
    COMMENT "Packing Sounds.dxw"
    VERBATIM)
  list(APPEND audio_outputs ${TRAKVOLT_DATA_DIR}/Res/Sounds.dxw)
else()
  message(STATUS "Sounds: trakvolt-pack is not built yet, only the WAVs are made")
endif()

foreach(song Menu Race)
  string(TOLOWER ${song} score)
  add_custom_command(
    OUTPUT ${TRAKVOLT_DATA_DIR}/Music/${song}.xm
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TRAKVOLT_DATA_DIR}/Music
    COMMAND trakvolt-audiogen music ${CMAKE_CURRENT_SOURCE_DIR}/music/${score}.score
            ${TRAKVOLT_DATA_DIR}/Music/${song}.xm
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/music/${score}.score trakvolt-audiogen
    COMMENT "Writing ${song}.xm"
    VERBATIM)
  list(APPEND audio_outputs ${TRAKVOLT_DATA_DIR}/Music/${song}.xm)
endforeach()

add_custom_target(game_audio DEPENDS ${audio_outputs})
add_dependencies(game_data game_audio)
