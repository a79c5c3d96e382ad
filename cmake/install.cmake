# Installation: the reader and its own libraries, the plug-in, the standard stamps and the
# translations in the usual places, a desktop entry and an icon; CPack makes a .deb of it.
#   bin/                         minireader (and customstamp)
#   lib/stampannot/              the reader's private libraries and libsealmaker.so
#   lib/stampannot/plugins/      the plug-in modules
#   share/stampannot/            stamps/ and translations/
# The reader finds these from its own folder (host/utils/nex_path.cpp), so the tree can be
# installed under any prefix.
include(GNUInstallDirs)
set(stampannot_libdir ${CMAKE_INSTALL_LIBDIR}/stampannot)
set(stampannot_datadir ${CMAKE_INSTALL_DATADIR}/stampannot)

file(RELATIVE_PATH lib_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBDIR}/stampannot)
file(RELATIVE_PATH data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/stampannot)
set_source_files_properties(${CMAKE_SOURCE_DIR}/host/utils/nex_path.cpp
  DIRECTORY ${CMAKE_SOURCE_DIR}/host
  PROPERTIES COMPILE_DEFINITIONS
  "STAMPREADER_LIB_FROM_BIN=\"${lib_from_bin}\";STAMPREADER_DATA_FROM_BIN=\"${data_from_bin}\"")

set(programs minireader)
if(TARGET customstamp)
  list(APPEND programs customstamp)
endif()
set_target_properties(${programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${lib_from_bin}")
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# libreaderraster.so is loaded from beside libreaderdoc.so (host/document/pdfraster.cpp).
set(private_libs readerdoc readerraster readerhost hostrpc sealmaker)
set_target_properties(${private_libs} PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${private_libs} LIBRARY DESTINATION ${stampannot_libdir})

set_target_properties(stampannot PROPERTIES INSTALL_RPATH "$ORIGIN/..")
install(TARGETS stampannot LIBRARY DESTINATION ${stampannot_libdir}/plugins)

# Both folders are made at build time, by the standard_stamps and translations targets.
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/stamps/ DESTINATION ${stampannot_datadir}/stamps)
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/translations/
        DESTINATION ${stampannot_datadir}/translations FILES_MATCHING PATTERN "*.qm")

install(FILES ${CMAKE_SOURCE_DIR}/packaging/minireader.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/minireader.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME stampannot)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "stampannot developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Reader for PDF and OFD documents with picture stamps")
set(CPACK_PACKAGE_DESCRIPTION
    "minireader shows PDF and OFD documents and puts picture stamps on their pages with its
stamp plug-in: a library of usual, standard and custom stamps, placement by hand or at
fixed page margins, and a batch command that stamps many files at once.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "stampannot developers <dev@stampannot.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as Qt plug-ins, not linked: the SVG icons' renderer. Recommended: CJK glyphs for
# seal texts and Qt's own translations of its dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt5svg5)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei, qttranslations5-l10n")
# Our own libraries are found there, not in a package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/lib ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
