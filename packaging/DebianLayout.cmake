# Run by CPack on the staged files of the Debian package, before it is made:
# Debian keeps the programs of games in /usr/games (on every user's PATH), so
# they move there from /usr/bin, and the server's service names the new place.
# A plain `cmake --install` keeps them in bin/.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(NOT EXISTS "${root}/usr/bin/vorna")
  message(FATAL_ERROR "no usr/bin/vorna in the staged files at ${root}")
endif()
file(MAKE_DIRECTORY "${root}/usr/games")
foreach(program vorna vorna-server)
  if(EXISTS "${root}/usr/bin/${program}")
    file(RENAME "${root}/usr/bin/${program}" "${root}/usr/games/${program}")
  endif()
endforeach()
file(GLOB left "${root}/usr/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${root}/usr/bin")
endif()
set(unit "${root}/usr/lib/systemd/system/vorna-server.service")
if(EXISTS "${unit}")
  file(READ "${unit}" text)
  string(REPLACE "/usr/bin/vorna-server" "/usr/games/vorna-server" text "${text}")
  file(WRITE "${unit}" "${text}")
endif()
