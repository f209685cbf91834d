# make package: on Linux a Debian package (program and its film module, man page, desktop entry
# with its icon, AppStream data, documentation), on Windows a zip of
# borkwerk.exe (its icon built in) and a readme.
set(CPACK_PACKAGE_NAME borkwerk)
set(CPACK_PACKAGE_VENDOR "the borkwerk developers")
set(CPACK_PACKAGE_CONTACT "borkwerk developers <borkwerk@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "grows a tree in real time, in 3D")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME borkwerk-${PROJECT_VERSION}-windows-x64)
  install(TARGETS borkwerk RUNTIME DESTINATION .)
  # Older Notepads show a file with bare line feeds as one line.
  configure_file(docs/README-Windows.txt README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The start script shows what goes wrong with the first of these it finds
# (notify-send, zenity, kdialog, xmessage); without one, on standard error only.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libnotify-bin | zenity | kdialog | x11-utils")
set(CPACK_PACKAGE_DESCRIPTION
    "A trunk lengthens and thickens along an S-shaped growth curve, forks into
two children with random tilts and twists, and every branch forks again,
down to depth 10. The tree is lit by one directional light that turns about
the vertical axis; the mouse turns the camera round it.

The program is written against Win32, Direct3D 8 and DirectInput 8; on Linux
it runs on its own software Direct3D 8 in an SDL2 window, or headless,
writing PNG pictures.")

# Resolves every symbol at start, so the whole GOT can be read-only (Debian's
# hardening).
target_link_options(borkwerk PRIVATE -Wl,-z,relro,-z,now)
install(TARGETS borkwerk RUNTIME DESTINATION games)
# The film's module, where the program looks for it beside its own folder.
install(TARGETS borkwerk_film LIBRARY DESTINATION lib/borkwerk)
install(PROGRAMS paket/borkwerk-start DESTINATION libexec/borkwerk)
install(FILES paket/borkwerk.desktop DESTINATION share/applications)
# The desktop entry's icon, at the sizes tools/symbol.sh makes.
foreach(groesse 16 32 48 64 128 256)
  install(FILES paket/symbol/borkwerk-${groesse}.png
          DESTINATION share/icons/hicolor/${groesse}x${groesse}/apps RENAME borkwerk.png)
endforeach()
configure_file(paket/borkwerk.metainfo.xml borkwerk.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/borkwerk.metainfo.xml DESTINATION share/metainfo)

# Debian wants the man page and the changelog compressed, without a time
# stamp in the gzip header, so that the package is reproducible.
configure_file(docs/borkwerk.6 borkwerk.6 @ONLY)
configure_file(paket/changelog.Debian changelog.Debian @ONLY)
set(gepackt)
foreach(datei borkwerk.6 changelog.Debian)
  add_custom_command(OUTPUT ${datei}.gz
                     COMMAND gzip -9nkf ${datei}
                     DEPENDS ${CMAKE_BINARY_DIR}/${datei}
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
  list(APPEND gepackt ${CMAKE_BINARY_DIR}/${datei}.gz)
endforeach()
add_custom_target(paket_gepackt ALL DEPENDS ${gepackt})
install(FILES ${CMAKE_BINARY_DIR}/borkwerk.6.gz DESTINATION share/man/man6)
install(FILES README.md paket/copyright ${CMAKE_BINARY_DIR}/changelog.Debian.gz
        DESTINATION share/doc/borkwerk)
# The README shows its pictures from docs/bilder/, beside it.
install(DIRECTORY docs/bilder DESTINATION share/doc/borkwerk/docs)
include(CPack)
