# What `cmake --install` puts where, and the Debian package CPack builds from it:
#   bin/                             kestrel-manager, kestrel-cli, kestrel-sim
#   share/man/man1/                  their manual pages, made from their --help
#                                    by help2man at build time (when it is there)
#   share/bash-completion/completions/kestrel-cli
#   share/doc/kestrel-manager/       copyright, changelog.gz
#   share/applications/              the desktop entry
#   share/metainfo/                  its AppStream metadata, for software centres
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

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kestrel-manager)
# Placeholders until the product has a public home.
set(KESTREL_HOMEPAGE "https://quillenbrook.invalid/kestrel-manager")
set(KESTREL_MAINTAINER "Quillenbrook <kestrel@quillenbrook.invalid>")
find_program(GZIP_PROGRAM gzip REQUIRED)

# Manual pages from each program's --help, so that they keep up with its
# options. The NAME line of each page:
set(kestrel-manager_whatis "configure a GSM fixed-wireless desk terminal over a serial line")
set(kestrel-cli_whatis "read, write and verify the settings of a desk terminal")
set(kestrel-sim_whatis "simulated desk terminal on a pseudo-terminal, for trials and tests")
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM)
  set(pages)
  foreach(program ${KESTREL_PROGRAMS})
    set(page ${packaging_out}/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${HELP2MAN_PROGRAM} --no-info --version-string=${PROJECT_VERSION}
              --name=${${program}_whatis} --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${GZIP_PROGRAM} -9nf ${page}
      DEPENDS ${program}
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND pages ${page}.gz)
  endforeach()
  add_custom_target(manual_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no manual pages")
endif()

install(FILES ${packaging_dir}/kestrel-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kestrel-cli)

# The changelog's newest entry is this version, and its date the release date.
file(STRINGS ${packaging_dir}/changelog changelog)
list(GET changelog 0 newest)
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
if(NOT newest MATCHES "^kestrel-manager \\(${version_pattern}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()
list(FILTER changelog INCLUDE REGEX "^ -- ")
list(GET changelog 0 newest_trailer)
if(NOT newest_trailer MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in \"${newest_trailer}\"")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
string(LENGTH ${month} digits)
if(digits EQUAL 1)
  set(month 0${month})
endif()
set(KESTREL_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})

add_custom_command(OUTPUT ${packaging_out}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nc ${packaging_dir}/changelog > ${packaging_out}/changelog.gz
  DEPENDS ${packaging_dir}/changelog
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${packaging_out}/changelog.gz)
install(FILES ${packaging_dir}/copyright ${packaging_out}/changelog.gz DESTINATION ${doc_dir})

if(NOT KESTREL_CORE_ONLY)
  set(desktop_entry ${packaging_dir}/kestrel-manager.desktop)
  install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${packaging_dir}/icons/kestrel-manager.svg DESTINATION ${icon_dir}/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${packaging_dir}/icons/kestrel-manager-${size}.png
            DESTINATION ${icon_dir}/${size}x${size}/apps RENAME kestrel-manager.png)
  endforeach()

  # AppStream metadata: the summaries are the desktop entry's comments, the
  # screenshots those of docs/screenshots, named by their path below it.
  set(KESTREL_APPSTREAM_ID invalid.quillenbrook.KestrelManager)
  set(KESTREL_SCREENSHOTS_URL ${KESTREL_HOMEPAGE}/screenshots)
  file(STRINGS ${desktop_entry} comments ENCODING UTF-8 REGEX "^Comment(\\[..\\])?=")
  foreach(comment ${comments})
    string(REGEX MATCH "^Comment(\\[(..)\\])?=(.*)" comment ${comment})
    set(language ${CMAKE_MATCH_2})
    if(language)
      string(TOUPPER _${language} language)
    endif()
    set(KESTREL_SUMMARY${language} ${CMAKE_MATCH_3})
  endforeach()
  list(TRANSFORM KESTREL_PROGRAMS REPLACE "(.+)" "    <binary>\\1</binary>"
       OUTPUT_VARIABLE binaries)
  string(JOIN "\n" KESTREL_PROVIDED_BINARIES ${binaries})
  set(metainfo ${packaging_out}/${KESTREL_APPSTREAM_ID}.metainfo.xml)
  configure_file(${packaging_dir}/kestrel-manager.metainfo.xml.in ${metainfo} @ONLY)
  file(READ ${metainfo} metainfo_text)
  string(REGEX MATCHALL "<image>[^<]*</image>" images "${metainfo_text}")
  foreach(image ${images})
    string(REGEX REPLACE "^<image>${KESTREL_SCREENSHOTS_URL}/(.*)</image>$" "\\1" shot ${image})
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/docs/screenshots/${shot})
      message(FATAL_ERROR "${image}: no such screenshot in docs/screenshots")
    endif()
  endforeach()
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
set(CPACK_PACKAGE_CONTACT ${KESTREL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration tool for GSM fixed-wireless desk terminals")
# Lines of at most 80 characters, as Debian's tools show them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kestrel Manager reads, edits and writes the settings of a GSM\n"
    "fixed-wireless desk terminal over a serial line, in English, Portuguese\n"
    "or Spanish. With kestrel-cli, the command-line front end, and\n"
    "kestrel-sim, a simulated terminal.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kestrel-manager)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTREL_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
include(CPack)
