# What a desktop installation needs besides the program and its sounds: the
# menu entry, the icon in the hicolor theme, the AppStream metainfo; and the
# Debian package made from all of it (cpack -G DEB in the build folder).

set(ZIRMON_HOMEPAGE "https://example.org/zirmon" CACHE STRING
    "Web page of the program, named in the AppStream metainfo")
set(ZIRMON_SCREENSHOTS "${ZIRMON_HOMEPAGE}/screenshots" CACHE STRING
    "Web folder holding the pictures of docs/screenshots, named in the metainfo")
set(ZIRMON_LICENSE "LicenseRef-proprietary" CACHE STRING
    "SPDX licence expression of the program, for the metainfo")

set(ZIRMON_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/zirmon.desktop.in
               ${ZIRMON_PACKAGING_DIR}/${ZIRMON_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/zirmon.metainfo.xml.in
               ${ZIRMON_PACKAGING_DIR}/${ZIRMON_APP_ID}.metainfo.xml @ONLY)

# The theme's bitmap sizes, rendered from the drawing by a tool of our own.
set(ZIRMON_ICON_SVG ${CMAKE_SOURCE_DIR}/resources/pictures/zirmon.svg)
set(ZIRMON_ICON_SIZES 48 256)
set(ZIRMON_ICON_ARGS)
set(ZIRMON_ICON_PNGS)
foreach(size ${ZIRMON_ICON_SIZES})
    set(png ${ZIRMON_PACKAGING_DIR}/icons/${size}x${size}/${ZIRMON_APP_ID}.png)
    list(APPEND ZIRMON_ICON_ARGS ${size} ${png})
    list(APPEND ZIRMON_ICON_PNGS ${png})
endforeach()
set(ZIRMON_ICON_DIRS)
foreach(size ${ZIRMON_ICON_SIZES})
    list(APPEND ZIRMON_ICON_DIRS ${ZIRMON_PACKAGING_DIR}/icons/${size}x${size})
endforeach()
add_custom_command(
    OUTPUT ${ZIRMON_ICON_PNGS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZIRMON_ICON_DIRS}
    COMMAND genicon ${ZIRMON_ICON_SVG} ${ZIRMON_ICON_ARGS}
    DEPENDS genicon ${ZIRMON_ICON_SVG}
    COMMENT "Rendering the program icon")
add_custom_target(icons ALL DEPENDS ${ZIRMON_ICON_PNGS})

install(FILES ${ZIRMON_PACKAGING_DIR}/${ZIRMON_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZIRMON_PACKAGING_DIR}/${ZIRMON_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${ZIRMON_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${ZIRMON_APP_ID}.svg)
foreach(size ${ZIRMON_ICON_SIZES})
    install(FILES ${ZIRMON_PACKAGING_DIR}/icons/${size}x${size}/${ZIRMON_APP_ID}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The Debian package. dpkg-shlibdeps finds the libraries the program links;
# Depends and Recommends name what it loads at run time instead: the window
# system plugins, Qt's Czech texts and a sound server to play into. The SVG
# plugins that draw the pictures sharp at any scale come with libqt6svg6 and
# the multimedia back ends with libqt6multimedia6, both found by shlibdeps.
set(CPACK_PACKAGE_NAME zirmon)
set(CPACK_PACKAGE_VENDOR "Zirmon developers")
set(CPACK_PACKAGE_CONTACT "Zirmon developers <zirmon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic drill for primary school, in Czech")
set(CPACK_PACKAGE_DESCRIPTION
    "Zirmon drills addition, subtraction, multiplication and division: a child
picks an operation or a random mix, types the result of each problem and
presses Enter; the program answers with applause or a siren, counts right
and wrong answers in a table and lists the problems answered wrongly. A
parent or teacher sets the number ranges, the tables and divisors in use,
and whether clearing the counts asks for a password. The user interface is
in Czech.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZIRMON_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, pulseaudio | pipewire-pulse, fonts-liberation2 | fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
