# What `cmake --install` puts on a system, and the Debian package that scripts/package.sh makes
# of it with CPack. The version, the release date and the addresses come from the top file.

include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS velloria-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/velloria-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME velloria-cli)
if(VELLORIA_CORE_ONLY)
    return()
endif()

install(TARGETS velloria RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/${VELLORIA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/velloria.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The icon drawn from its SVG in the sizes of the hicolor theme.
find_program(VELLORIA_RSVG_CONVERT rsvg-convert REQUIRED)
set(icons)
foreach(size 16 22 24 32 48 64 128 256)
    set(icon ${generated}/icons/${size}x${size}/velloria.png)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
        COMMAND ${VELLORIA_RSVG_CONVERT} --width ${size} --height ${size} --output ${icon}
                ${PROJECT_SOURCE_DIR}/resources/velloria.svg
        DEPENDS ${PROJECT_SOURCE_DIR}/resources/velloria.svg VERBATIM)
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The release date in the changelog's form (RFC 2822).
execute_process(COMMAND date -u -R -d "${VELLORIA_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE VELLORIA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${packaging}/${VELLORIA_APP_ID}.metainfo.xml.in ${generated}/${VELLORIA_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
install(FILES ${generated}/${VELLORIA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed as Debian keeps them (no name or time inside).
set(compressed)
foreach(page velloria.1 velloria-cli.1)
    configure_file(${packaging}/man/${page}.in ${generated}/${page} @ONLY)
endforeach()
foreach(file velloria.1 velloria-cli.1 changelog)
    add_custom_command(OUTPUT ${generated}/${file}.gz
        COMMAND gzip -9 -n -c ${generated}/${file} > ${generated}/${file}.gz
        DEPENDS ${generated}/${file})
    list(APPEND compressed ${generated}/${file}.gz)
endforeach()
install(FILES ${generated}/velloria.1.gz ${generated}/velloria-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velloria)
add_custom_target(velloria_installed_files ALL DEPENDS ${icons} ${compressed})

# The Debian package: dependencies from the binaries (dpkg-shlibdeps), and the Qt plug-ins that
# the program loads at run time and no binary names: the platform plug-ins (a window at all) and
# the SVG image plug-in (the toolbar's icons).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velloria)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velloria developers")
set(CPACK_PACKAGE_CONTACT "The Velloria developers <${VELLORIA_CONTACT_ADDRESS}>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELLORIA_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bookmark manager with a tree of folders")
# The long description below the summary; CPack indents it and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velloria keeps your links in a tree of folders and opens them in your
browser. You search, sort and reorder them, move them between folders, find
the duplicates and the links that are gone, and filter the whole library as
you type. It imports the bookmarks of Firefox and Chromium-based browsers
straight from their profiles, and bookmark HTML and XBEL files both ways.

The library is a directory of plain text files with a second generation of
backup files that Save refreshes. The command-line tool velloria-cli works
on the same library.")
include(CPack)
