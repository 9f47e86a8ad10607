# Installation into the freedesktop layout and the Debian package.
#
#   bin/kalvion, bin/kalvion-cli
#   share/kalvion/          the program folder: schema, style sheet and the
#                           data folders (LangData, Common, Models, Templates,
#                           Plugins, Samples, SectorReports, WebExport, Help)
#   share/applications/     menu entry        share/mime/packages/  file types
#   share/icons/hicolor/    icons             share/metainfo/       AppStream
#   share/man/man1/         manual pages      share/doc/kalvion/    copyright
#
# Included from the top-level list after src/, so the programs' targets exist
# when these rules are read.  The window program is installed once its
# target exists; until then the rest installs without it.

include(GNUInstallDirs)

set(KALVION_APP_ID "com.zentsoftware.Kalvion")
set(KALVION_RELEASE_DATE "2026-12-09")
set(KALVION_PKG_SRC "${CMAKE_SOURCE_DIR}/packaging")
set(KALVION_PKG_OUT "${CMAKE_BINARY_DIR}/packaging")
set(KALVION_SHARE_DIR "${CMAKE_INSTALL_DATADIR}/kalvion")
set(KALVION_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/kalvion")
file(MAKE_DIRECTORY "${KALVION_PKG_OUT}")

find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
find_program(KALVION_GZIP gzip REQUIRED)

# --- Icons: one SVG drawn by hand, PNG sizes rendered from it -------------
set(KALVION_ICON_SIZES 16 22 24 32 48 64 128 256 512)
add_executable(kalvion-svg2png "${KALVION_PKG_SRC}/tools/SvgToPng.cpp")
target_link_libraries(kalvion-svg2png PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(kalvion-svg2png PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KALVION_PKG_OUT}/tools")
set(icon_pngs)
foreach(size IN LISTS KALVION_ICON_SIZES)
    list(APPEND icon_pngs "${KALVION_PKG_OUT}/icons/${size}x${size}.png")
endforeach()
add_custom_command(OUTPUT ${icon_pngs}
    COMMAND kalvion-svg2png "${KALVION_PKG_SRC}/kalvion.svg" "${KALVION_PKG_OUT}/icons" ${KALVION_ICON_SIZES}
    DEPENDS kalvion-svg2png "${KALVION_PKG_SRC}/kalvion.svg"
    COMMENT "Rendering the icon's PNG sizes")

# --- Metainfo, Debian changelog -------------------------------------------
configure_file("${KALVION_PKG_SRC}/${KALVION_APP_ID}.metainfo.xml.in"
               "${KALVION_PKG_OUT}/${KALVION_APP_ID}.metainfo.xml" @ONLY)
configure_file("${KALVION_PKG_SRC}/changelog.Debian.in" "${KALVION_PKG_OUT}/changelog.Debian" @ONLY)
configure_file("${KALVION_PKG_SRC}/kalvion.1.in" "${KALVION_PKG_OUT}/kalvion.1" @ONLY)

# --- Manual pages: kalvion's is written by hand, kalvion-cli's comes from
# its own help so the two never disagree --------------------------------
add_custom_command(OUTPUT "${KALVION_PKG_OUT}/man/kalvion-cli.1.gz" "${KALVION_PKG_OUT}/man/kalvion.1.gz"
                          "${KALVION_PKG_OUT}/changelog.Debian.gz"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${KALVION_PKG_OUT}/man"
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/make-cli-manpage.sh" "$<TARGET_FILE:kalvion-cli>"
            "${KALVION_VERSION}" "${KALVION_RELEASE_DATE}" "${KALVION_PKG_OUT}/man/kalvion-cli.1"
    COMMAND ${CMAKE_COMMAND} -E copy "${KALVION_PKG_OUT}/kalvion.1" "${KALVION_PKG_OUT}/man/kalvion.1"
    COMMAND ${KALVION_GZIP} -9nf "${KALVION_PKG_OUT}/man/kalvion-cli.1" "${KALVION_PKG_OUT}/man/kalvion.1"
    COMMAND ${KALVION_GZIP} -9nkf "${KALVION_PKG_OUT}/changelog.Debian"
    DEPENDS kalvion-cli "${CMAKE_SOURCE_DIR}/scripts/make-cli-manpage.sh" "${KALVION_PKG_OUT}/kalvion.1"
            "${KALVION_PKG_OUT}/changelog.Debian"
    COMMENT "Writing the manual pages")

# --- Samples and templates, made by kalvion-cli ---------------------------
# They follow the script and the schema, not every relink of the program, so
# an edit elsewhere does not remake them.
set(KALVION_SAMPLE_FILES
    "Samples/Lantern Reach.VexaDB"
    "Samples/Thornwake Frontier.VexaDB"
    "Samples/Ember Cluster.VexaDB"
    "Templates/Frontier Box 100 ly.VexaDB"
    "Templates/Parsec Sphere 20 pc.VexaDB")
set(sample_outputs)
foreach(f IN LISTS KALVION_SAMPLE_FILES)
    list(APPEND sample_outputs "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${f}")
endforeach()
file(GLOB sample_inputs CONFIGURE_DEPENDS "${KALVION_PKG_SRC}/samples/*")
add_custom_command(OUTPUT ${sample_outputs}
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/make-samples.sh" "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    DEPENDS "${CMAKE_SOURCE_DIR}/scripts/make-samples.sh" "${CMAKE_SOURCE_DIR}/data/Vexa3DB.ddl" ${sample_inputs}
    COMMENT "Making the sample sectors and templates")
add_custom_target(kalvion_samples ALL DEPENDS ${sample_outputs})
add_dependencies(kalvion_samples kalvion-cli kalvion_data)

add_custom_target(kalvion_desktop_files ALL
    DEPENDS ${icon_pngs} "${KALVION_PKG_OUT}/man/kalvion-cli.1.gz" "${KALVION_PKG_OUT}/changelog.Debian.gz")

# The user guide lies in the program folder in both layouts, so Help finds it
# the same way as every other data folder: the Markdown text and one HTML
# page made from it for the browser.
add_executable(kalvion-md2html "${KALVION_PKG_SRC}/tools/MarkdownToHtml.cpp")
target_link_libraries(kalvion-md2html PRIVATE Qt6::Gui)
set_target_properties(kalvion-md2html PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KALVION_PKG_OUT}/tools")
add_custom_command(OUTPUT "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/guide.html"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help"
    COMMAND kalvion-md2html "${CMAKE_SOURCE_DIR}/docs/guide.md" "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/guide.html"
            "Kalvion User Guide"
    DEPENDS kalvion-md2html "${CMAKE_SOURCE_DIR}/docs/guide.md"
    COMMENT "Writing the user guide's page")
add_custom_target(kalvion_guide ALL
    DEPENDS "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/guide.html"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${CMAKE_SOURCE_DIR}/docs/guide.md"
            "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/guide.md"
    COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/docs/images"
            "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/images"
    COMMENT "Copying the user guide")

# --- Install rules -----------------------------------------------------------
# kalvion-cli hands the commands it does not run itself to kalvion-cli-full
# beside it.
install(TARGETS kalvion-cli kalvion-cli-full RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
if(TARGET kalvion)
    install(TARGETS kalvion RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()

install(DIRECTORY "${CMAKE_SOURCE_DIR}/data/" DESTINATION "${KALVION_SHARE_DIR}")
foreach(f IN LISTS KALVION_SAMPLE_FILES)
    get_filename_component(sub "${f}" DIRECTORY)
    install(FILES "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${f}" DESTINATION "${KALVION_SHARE_DIR}/${sub}")
endforeach()
install(FILES "${CMAKE_SOURCE_DIR}/docs/guide.md" "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/guide.html"
        DESTINATION "${KALVION_SHARE_DIR}/Help")
# The guide's pictures, once scripts/make-screenshots.sh has made them.
install(DIRECTORY "${CMAKE_SOURCE_DIR}/docs/images" DESTINATION "${KALVION_SHARE_DIR}/Help"
        FILES_MATCHING PATTERN "*.png")
# Every data folder the program looks in exists, even before anything ships
# in it, so the Open Template menu and the plug-in scan find what they expect.
foreach(sub LangData Common Models Templates Plugins Samples SectorReports WebExport)
    install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KALVION_SHARE_DIR}/${sub}\")")
endforeach()

install(FILES "${KALVION_PKG_SRC}/${KALVION_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${KALVION_PKG_SRC}/kalvion-mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
        RENAME "${KALVION_APP_ID}.xml")
install(FILES "${KALVION_PKG_OUT}/${KALVION_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${KALVION_PKG_SRC}/kalvion.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${KALVION_APP_ID}.svg")
install(FILES "${KALVION_PKG_SRC}/kalvion.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes"
        RENAME "application-x-kalvion-sector.svg")
foreach(size IN LISTS KALVION_ICON_SIZES)
    install(FILES "${KALVION_PKG_OUT}/icons/${size}x${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME "${KALVION_APP_ID}.png")
endforeach()
install(FILES "${KALVION_PKG_OUT}/man/kalvion.1.gz" "${KALVION_PKG_OUT}/man/kalvion-cli.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${KALVION_PKG_SRC}/copyright" "${KALVION_PKG_OUT}/changelog.Debian.gz"
        DESTINATION "${KALVION_DOC_DIR}")

# --- Debian package (make package) ---------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kalvion")
set(CPACK_PACKAGE_VENDOR "Zent Software")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "star map builder for writers and game masters")
set(CPACK_PACKAGE_DESCRIPTION_FILE "${KALVION_PKG_SRC}/description.txt")
set(CPACK_PACKAGE_CONTACT "Zent Software <kalvion@zentsoftware.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zentsoftware.com/kalvion")
# The libraries' packages come from dpkg-shlibdeps; the rest the programs only
# start or load at run time: xdg-open for "open", Qt's platform plug-ins for a
# window, Mesa for OpenGL.
find_program(KALVION_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KALVION_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    message(WARNING "dpkg-shlibdeps not found (apt-get install dpkg-dev): "
                    "the Debian package will not name the libraries it needs")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "chromium | www-browser")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
