# `cpack -G DEB` in the build folder: one package per install component.
# Dependencies come from dpkg-shlibdeps over the installed programs, so each
# package depends on exactly the libraries its program links.
set(CPACK_PACKAGE_NAME rollavortex)
set(CPACK_PACKAGE_VENDOR "The Rollavortex developers")
set(CPACK_PACKAGE_CONTACT "${ROLLAVORTEX_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL game data server)
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ROLLAVORTEX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ROLLAVORTEX_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Maintainer scripts and the control file get the permissions Debian wants.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME rollavortex)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "rollavortex-data (= ${PROJECT_VERSION})")
# CPack indents the lines after the first itself.
set(CPACK_COMPONENT_GAME_DESCRIPTION
    "physics game: turn the world to roll the ball to the finish
You never push the ball: the arrow keys turn the whole level around it,
gravity always points down the screen, and the ball rolls, bounces and
jumps to the finish. Race levels are timed to the millisecond; in puzzle
levels every colour target must be broken while the ball has its colour.
Finished times go to online highscore tables.")

# Pictures, sounds, music and levels: the same bytes on every CPU.
set(CPACK_DEBIAN_DATA_PACKAGE_NAME rollavortex-data)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DATA_PACKAGE_DEPENDS ttf-bitstream-vera)
set(CPACK_COMPONENT_DATA_DESCRIPTION
    "data of the game Rollavortex
Pictures, sounds, music and levels of the game Rollavortex, shared by the
game and its highscore server, which replays submitted runs on the same
level files.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME rollavortex-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION games)
# Submitted runs are replayed on the game's level files, which the data
# package installs; nothing of the game's window or sound comes with them.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "rollavortex-data (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_SERVER_DESCRIPTION
    "highscore server of the game Rollavortex
rollavortex-highscored keeps the online highscore tables of the game
Rollavortex in an SQLite or PostgreSQL database and serves them over HTTP.
It verifies submitted runs by replaying them with the game's own physics,
without opening a window or an audio device.")

set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/DebianLayout.cmake)

include(CPack)
