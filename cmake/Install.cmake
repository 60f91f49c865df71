# cmake --install: the program, its place among XScreenSaver's hacks, the desktop's menu entry
# and icons, the AppStream description and the manual page, where Debian's desktop looks.
include(GNUInstallDirs)

install(TARGETS quelmont RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# XScreenSaver runs its hacks from its own folder: a relative link there to the program. The
# paths are worked out at install time, when the prefix is known.
install(CODE "set(quelmont_libexec_dir \"${CMAKE_INSTALL_LIBEXECDIR}\")
  set(quelmont_bin_dir \"${CMAKE_INSTALL_BINDIR}\")")
install(CODE [[
  get_filename_component(hack_dir "${quelmont_libexec_dir}/xscreensaver" ABSOLUTE BASE_DIR "${CMAKE_INSTALL_PREFIX}")
  get_filename_component(bin_dir "${quelmont_bin_dir}" ABSOLUTE BASE_DIR "${CMAKE_INSTALL_PREFIX}")
  file(RELATIVE_PATH hack_target "${hack_dir}" "${bin_dir}/quelmont")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${hack_dir}")
  file(CREATE_LINK "${hack_target}" "$ENV{DESTDIR}${hack_dir}/quelmont" SYMBOLIC)
  message(STATUS "Installing: $ENV{DESTDIR}${hack_dir}/quelmont -> ${hack_target}")
]])
install(FILES "${PROJECT_SOURCE_DIR}/contrib/xscreensaver/quelmont.xml"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/xscreensaver/config")

install(FILES "${PROJECT_SOURCE_DIR}/contrib/desktop/org.example.quelmont.desktop"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
configure_file("${PROJECT_SOURCE_DIR}/contrib/desktop/org.example.quelmont.metainfo.xml.in"
  "${PROJECT_BINARY_DIR}/install/org.example.quelmont.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/install/org.example.quelmont.metainfo.xml"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

configure_file("${PROJECT_SOURCE_DIR}/docs/quelmont.6" "${PROJECT_BINARY_DIR}/install/quelmont.6" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/install/quelmont.6" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")

# The icons, painted by the media generator.
set(icon_dir "${PROJECT_BINARY_DIR}/install/icons")
add_custom_command(OUTPUT "${icon_dir}/hicolor/256x256/apps/quelmont.png"
  COMMAND mediagen --kind icons "${icon_dir}"
  DEPENDS mediagen
  COMMENT "Painting the desktop icons")
add_custom_target(desktop_icons ALL DEPENDS "${icon_dir}/hicolor/256x256/apps/quelmont.png")
install(DIRECTORY "${icon_dir}/hicolor" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")
