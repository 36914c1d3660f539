# `cmake --install` lays the programs out as a desktop program: the programs in bin/, the data
# tree in share/zandrel/ (where an installed program finds it beside its bin/ folder), desktop
# entries, AppStream metainfo, the desktop icons zandrel-data draws and the manual pages.
include(GNUInstallDirs)

install(TARGETS zandrel zandrel-editor zandrel-level zandrel-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A player's settings and saved game may sit in the build's tree; they are not part of it.
install(DIRECTORY ${ZANDREL_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zandrel
        PATTERN zandrel.ini EXCLUDE)
install(DIRECTORY ${ZANDREL_ICONS_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(share ${PROJECT_SOURCE_DIR}/share)
install(FILES ${share}/applications/io.github.zandrel.Zandrel.desktop
              ${share}/applications/io.github.zandrel.Zandrel.Editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${share}/metainfo/io.github.zandrel.Zandrel.metainfo.xml
              ${share}/metainfo/io.github.zandrel.Zandrel.Editor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${share}/man/zandrel.6 ${share}/man/zandrel-editor.6 ${share}/man/zandrel-level.6
              ${share}/man/zandrel-data.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
