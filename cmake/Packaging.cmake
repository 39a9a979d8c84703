# What `cmake --install` puts where, and the Debian package CPack builds from it:
#   bin/                             kestrel-manager, kestrel-cli, kestrel-sim
#   share/applications/              the desktop entry
#   share/icons/hicolor/*/apps/      the icon, as SVG and in PNG sizes
#   share/kestrel-manager/translations/
#                                    Qt's own translations of its standard dialogs
#                                    (qtbase_pt*.qm, qtbase_es.qm), where the
#                                    system has them (qt6-translations-l10n)
include(GNUInstallDirs)

set(KESTREL_PROGRAMS kestrel-cli kestrel-sim)
if(NOT KESTREL_CORE_ONLY)
  list(APPEND KESTREL_PROGRAMS kestrel-manager)
endif()
install(TARGETS ${KESTREL_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(NOT KESTREL_CORE_ONLY)
  set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
  install(FILES ${packaging_dir}/kestrel-manager.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${packaging_dir}/icons/kestrel-manager.svg DESTINATION ${icon_dir}/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${packaging_dir}/icons/kestrel-manager-${size}.png
            DESTINATION ${icon_dir}/${size}x${size}/apps RENAME kestrel-manager.png)
  endforeach()

  # Qt's translations folder, as its qmake tells it.
  set(qt_translations /usr/share/qt6/translations)
  if(TARGET Qt6::qmake)
    get_target_property(qmake Qt6::qmake IMPORTED_LOCATION)
    execute_process(COMMAND ${qmake} -query QT_INSTALL_TRANSLATIONS
                    OUTPUT_VARIABLE queried OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(queried)
      set(qt_translations ${queried})
    endif()
  endif()
  file(GLOB qt_dialog_translations ${qt_translations}/qtbase_pt*.qm ${qt_translations}/qtbase_es.qm)
  if(qt_dialog_translations)
    install(FILES ${qt_dialog_translations}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrel-manager/translations)
  else()
    message(STATUS "Qt's translations (qt6-translations-l10n) not found in ${qt_translations}: "
                   "the standard dialogs stay in English")
  endif()
endif()

set(CPACK_PACKAGE_NAME kestrel-manager)
set(CPACK_PACKAGE_VENDOR Quillenbrook)
set(CPACK_PACKAGE_CONTACT "Quillenbrook <kestrel@quillenbrook.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration tool for GSM fixed-wireless desk terminals")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kestrel Manager reads, edits and writes the settings of a GSM fixed-wireless desk terminal\n"
    "over a serial line, in English, Portuguese or Spanish. With kestrel-cli, the command-line\n"
    "front end, and kestrel-sim, a simulated terminal.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kestrel-manager)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillenbrook.invalid/kestrel-manager")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
