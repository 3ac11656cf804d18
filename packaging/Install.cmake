# Installation (cmake --install) and the Debian package (cpack -G DEB, or
# scripts/package). Included by the top-level CMakeLists.txt after the
# programs and the data files are defined.
#
#   bin/vorna, bin/vorna-server
#   share/vorna/                     Vorna.dat, Vorna.spr, Vorna.pic, Demoland.world
#   share/applications/, share/icons/hicolor/NxN/apps/, share/metainfo/
#   share/man/man6/                  vorna.6.gz, vorna-server.6.gz
#   share/doc/vorna/                 README.md, README.server.md, copyright, changelog.gz
#   lib/systemd/system/              vorna-server.service (installed, not enabled)

set(VORNA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(VORNA_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)
set(VORNA_ICON_SIZES 16 32 48 64 128 256)
# The package is named vorna; the project, Vorna, would name the folder.
set(VORNA_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/vorna)

# What is installed is hardened as Debian's own programs are: checked string
# and memory functions, and relocations made read-only at start. (The tests'
# own sources are left as they are; they link the same checked library.)
foreach(target vorna_client vorna vorna_server_core vorna-server)
  if(TARGET ${target})
    target_compile_definitions(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:_FORTIFY_SOURCE=2>)
  endif()
endforeach()
foreach(program vorna vorna-server)
  if(TARGET ${program})
    target_link_options(${program} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:LINKER:-z,relro,-z,now>)
  endif()
endforeach()

install(TARGETS vorna RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vorna-server)
  install(TARGETS vorna-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/server/data/Demoland.world DESTINATION ${VORNA_INSTALL_DATADIR})
endif()
if(TARGET vorna-data)
  install(FILES ${CMAKE_BINARY_DIR}/Vorna.dat ${CMAKE_BINARY_DIR}/Vorna.spr ${CMAKE_BINARY_DIR}/Vorna.pic
          DESTINATION ${VORNA_INSTALL_DATADIR})
  foreach(size ${VORNA_ICON_SIZES})
    install(FILES ${CMAKE_BINARY_DIR}/icons/icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${VORNA_APP_ID}.png)
  endforeach()
endif()

install(FILES ${VORNA_PACKAGING_DIR}/${VORNA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VORNA_PACKAGING_DIR}/${VORNA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog go compressed, without names or times in the
# gzip header, so that two builds give the same bytes.
find_program(VORNA_GZIP gzip REQUIRED)
set(VORNA_COMPRESSED)
foreach(page vorna.6 vorna-server.6 changelog)
  configure_file(${VORNA_PACKAGING_DIR}/${page} ${VORNA_GENERATED_DIR}/${page} @ONLY)
  add_custom_command(OUTPUT ${VORNA_GENERATED_DIR}/${page}.gz
    COMMAND ${VORNA_GZIP} -9nf -k ${VORNA_GENERATED_DIR}/${page}
    DEPENDS ${VORNA_GENERATED_DIR}/${page}
    VERBATIM)
  list(APPEND VORNA_COMPRESSED ${VORNA_GENERATED_DIR}/${page}.gz)
endforeach()
add_custom_target(vorna-packaging ALL DEPENDS ${VORNA_COMPRESSED})
install(FILES ${VORNA_GENERATED_DIR}/vorna.6.gz ${VORNA_GENERATED_DIR}/vorna-server.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

configure_file(${VORNA_PACKAGING_DIR}/copyright ${VORNA_GENERATED_DIR}/copyright @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${VORNA_GENERATED_DIR}/copyright ${VORNA_GENERATED_DIR}/changelog.gz
        DESTINATION ${VORNA_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/server/README.md DESTINATION ${VORNA_INSTALL_DOCDIR} RENAME README.server.md)

# The service names the server by its installed path, known only when the
# installation runs (cmake --install --prefix, or the package's /usr).
if(TARGET vorna-server)
  install(CODE "
    file(READ \"${VORNA_PACKAGING_DIR}/vorna-server.service\" unit)
    string(REPLACE \"@VORNA_SERVER_PROGRAM@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vorna-server\" unit \"\${unit}\")
    file(WRITE \"${VORNA_GENERATED_DIR}/vorna-server.service\" \"\${unit}\")")
  install(FILES ${VORNA_GENERATED_DIR}/vorna-server.service DESTINATION lib/systemd/system)
endif()

# ---- The Debian package ------------------------------------------------------------------
set(CPACK_PACKAGE_NAME vorna)
set(CPACK_PACKAGE_VENDOR "The Vorna developers")
set(CPACK_PACKAGE_CONTACT "The Vorna developers <${VORNA_SUPPORT_ADDRESS}>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "graphical multi-user online role-playing game")
set(CPACK_PACKAGE_DESCRIPTION
  "Vorna is the player's program for a graphical online role-playing game:\n"
  "one window that logs in to a game server, lets the player choose a\n"
  "character and then shows the world around it from above, with the other\n"
  "players and the creatures that live there.\n"
  "\n"
  "The package holds the client, its data files, and vorna-server, the\n"
  "reference login and game server with the demo world Demoland, which can\n"
  "run as a system service.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vorna.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# adduser makes the server's system user in the maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS adduser)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${VORNA_PACKAGING_DIR}/debian/postinst ${VORNA_PACKAGING_DIR}/debian/prerm ${VORNA_PACKAGING_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${VORNA_PACKAGING_DIR}/DebianLayout.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
