# Run by cpack once the files of each package are staged and before they are
# packed: the Debian package follows Debian's layout where a plain install
# keeps the project's own.
#  - A game's programs live in /usr/games (Debian policy 11.11): the game,
#    rollavortex-levelc and rollavortex-autopilot; the data folder is still
#    ../share/rollavortex from there.
#  - The font is Debian's own copy (the package depends on
#    ttf-bitstream-vera), so the system keeps one file of it.
# From usr/share/rollavortex/font/ (Debian wants links inside /usr relative).
set(debianFont ../../fonts/truetype/ttf-bitstream-vera/VeraBd.ttf)
file(GLOB stagedRoots LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*/usr")
foreach(usr ${stagedRoots})
    if(EXISTS ${usr}/bin/rollavortex)
        # The game and its level makers' tools alike.
        file(MAKE_DIRECTORY ${usr}/games)
        file(GLOB programs ${usr}/bin/rollavortex*)
        foreach(program ${programs})
            get_filename_component(name ${program} NAME)
            file(RENAME ${program} ${usr}/games/${name})
        endforeach()
        file(GLOB left ${usr}/bin/*)
        if(NOT left)
            file(REMOVE_RECURSE ${usr}/bin)
        endif()
    endif()
    set(font ${usr}/share/rollavortex/font/VeraBd.ttf)
    if(EXISTS ${font})
        file(REMOVE ${font})
        file(CREATE_LINK ${debianFont} ${font} SYMBOLIC)
    endif()
endforeach()
