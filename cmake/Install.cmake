# What `cmake --install` puts under the prefix (programs in bin/, the generated data read-only in
# share/trakvolt/, the desktop entry, icons, metainfo, manual pages) and the Debian package
# `cpack -G DEB` makes of it. The settings below are for distributors.
set(TRAKVOLT_APP_ID "org.trakvolt.Trakvolt" CACHE STRING "Desktop and AppStream id of the game")
set(TRAKVOLT_SCREENSHOT_URL "http://${TRAKVOLT_SCORE_SERVER}/screenshot.png" CACHE STRING
    "Where software centres fetch a screenshot of the game (trakvolt-replay makes one)")
set(TRAKVOLT_MAINTAINER "Trakvolt developers <maintainers@trakvolt.invalid>" CACHE STRING
    "The Debian package's maintainer")
set(TRAKVOLT_VERSION ${PROJECT_VERSION})
set(dist ${PROJECT_SOURCE_DIR}/dist)
set(staged ${CMAKE_BINARY_DIR}/dist)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS trakvolt trakvolt-scores trakvolt-replay trakvolt-art trakvolt-pack
                trakvolt-unpack trakvolt-audiogen
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/website.url DESTINATION ${TRAKVOLT_INSTALL_DATA})

configure_file(${dist}/trakvolt.desktop ${staged}/${TRAKVOLT_APP_ID}.desktop COPYONLY)
configure_file(${dist}/trakvolt.metainfo.xml.in ${staged}/${TRAKVOLT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${staged}/${TRAKVOLT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${staged}/${TRAKVOLT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed the way Debian wants them (no name, no
# time stamp, so the package is the same from one build to the next).
set(compressed)
foreach(page trakvolt.6 trakvolt-scores.6 trakvolt-tools.1 changelog)
  configure_file(${dist}/${page} ${staged}/${page} @ONLY)
  add_custom_command(OUTPUT ${staged}/${page}.gz
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${staged}/${page} ${staged}/${page}.gz
    DEPENDS ${staged}/${page} VERBATIM)
  list(APPEND compressed ${staged}/${page}.gz)
endforeach()
add_custom_target(dist_files ALL DEPENDS ${compressed})
install(FILES ${staged}/trakvolt.6.gz ${staged}/trakvolt-scores.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The tools share one page, installed under each tool's name.
foreach(tool trakvolt-replay trakvolt-art trakvolt-pack trakvolt-unpack trakvolt-audiogen)
  install(FILES ${staged}/trakvolt-tools.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          RENAME ${tool}.1.gz)
endforeach()
install(FILES ${dist}/copyright ${staged}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trakvolt)
install(FILES ${dist}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME trakvolt)

if(TRAKVOLT_ASSETS)
  install(DIRECTORY ${TRAKVOLT_DATA_DIR}/Res ${TRAKVOLT_DATA_DIR}/Music
          DESTINATION ${TRAKVOLT_INSTALL_DATA}/Data)
  # The icon: the player's car from the race pictures, in the hicolor theme's sizes.
  set(icon_sizes 16 22 24 32 48 64 128 256)
  set(icon_files ${staged}/icons/scalable/apps/trakvolt.svg)
  foreach(size ${icon_sizes})
    list(APPEND icon_files ${staged}/icons/${size}x${size}/apps/trakvolt.png)
  endforeach()
  add_custom_command(OUTPUT ${icon_files}
    COMMAND trakvolt-art icons ${PROJECT_SOURCE_DIR}/assets/images/res3/car1.svg ${staged}/icons
            trakvolt ${icon_sizes}
    DEPENDS ${PROJECT_SOURCE_DIR}/assets/images/res3/car1.svg trakvolt-art
    COMMENT "Drawing the desktop icons" VERBATIM)
  add_custom_target(app_icons ALL DEPENDS ${icon_files})
  install(DIRECTORY ${staged}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trakvolt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Trakvolt developers")
set(CPACK_PACKAGE_CONTACT ${TRAKVOLT_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade racing game on an endless road")
set(CPACK_PACKAGE_DESCRIPTION
    "Trakvolt (Гонкострель) is an arcade racing game: drive up an endless road\n"
    "seen from above, dodge walls, spikes, water, stones, cracks, rabbits and\n"
    "traffic, pick up points, extra lives, a gun and a turbo, and beat each\n"
    "level's clock. The best ten results are kept per player and can be sent to\n"
    "an online score table.\n"
    ".\n"
    "The package holds the game, its score server trakvolt-scores, and the tools\n"
    "that build, pack and unpack its pictures, sounds and music and replay it\n"
    "headless.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TRAKVOLT_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Depends from the libraries the programs link (dpkg-shlibdeps); the website button and the
# online table open the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
