# Image lists: SVG sources and font entries -> PNGs + pack manifest (trakvolt-art) -> .dxg (trakvolt-pack).
# Each list reruns only when its manifest, one of its SVGs or one of the tools changes.
set(TRAKVOLT_ART_DIR ${CMAKE_BINARY_DIR}/art)

function(trakvolt_image_list list archive)
  set(source_dir ${CMAKE_CURRENT_SOURCE_DIR}/images/${list})
  set(manifest ${source_dir}/images.txt)
  set(stage ${TRAKVOLT_ART_DIR}/${list})
  set(out ${TRAKVOLT_DATA_DIR}/Res/${archive})
  # Globbing the folder (not just the manifest) makes a new SVG or manifest re-run configure,
  # so a list whose folder is still empty starts building as soon as its files appear.
  file(GLOB svgs CONFIGURE_DEPENDS ${source_dir}/*.svg ${source_dir}/*.txt)
  if(NOT EXISTS ${manifest})
    message(STATUS "Image list ${list}: no ${manifest} yet, ${archive} is not built")
    return()
  endif()
  add_custom_command(
    OUTPUT ${stage}/manifest.txt
    COMMAND trakvolt-art build ${manifest} ${stage}
    DEPENDS ${manifest} ${svgs} trakvolt-art
    COMMENT "Rendering image list ${list}"
    VERBATIM)
  if(TARGET trakvolt-pack)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TRAKVOLT_DATA_DIR}/Res
      COMMAND trakvolt-pack ${stage}/manifest.txt ${out}
      DEPENDS ${stage}/manifest.txt trakvolt-pack
      COMMENT "Packing ${archive}"
      VERBATIM)
    add_custom_target(images_${list} DEPENDS ${out})
  else()
    message(STATUS "Image list ${list}: trakvolt-pack is not built yet, only the PNGs are made")
    add_custom_target(images_${list} DEPENDS ${stage}/manifest.txt)
  endif()
  add_dependencies(game_data images_${list})
endfunction()

trakvolt_image_list(res1 Res1.dxg)
trakvolt_image_list(res3 Res3.dxg)
