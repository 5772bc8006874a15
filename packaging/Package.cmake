# The Debian package: `cpack -G DEB` in the build folder writes zarnel_<version>_<arch>.deb.
set(ZARNEL_MAINTAINER "Zarnel developers <zarnel@example.org>" CACHE STRING "Maintainer field of the .deb")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarnel)
set(CPACK_PACKAGE_VENDOR "Zarnel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZARNEL_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZARNEL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis line is the project's DESCRIPTION; this is the extended text.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Построение F/n и F/G диаграмм для количественного анализа риска опасного
производственного объекта по РД 03-418-01: база объектов с аварийными
сценариями, F/n и F/G диаграммы, многоугольники распределения, показатели
социального, коллективного и индивидуального риска, отчет в формате .docx.

Quantitative risk analysis of a hazardous production object after the Russian
guideline RD 03-418-01: a database of objects with accident scenarios, F/n and
F/G diagrams, distribution polygons, social, collective and individual risk,
expected damage, and a full report as a .docx document.")

# Listed rather than computed, so the plugins loaded at run time (SQLite and ODBC drivers) and Qt's Russian
# texts are required too; the shared libraries are those the executable links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), \
libqt6printsupport6 (>= 6.4), libqt6sql6-sqlite, libqt6sql6-odbc, libqcustomplot2.1-qt6, libquazip1-qt6-1, \
libsqlite3-0, unixodbc, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libreoffice-writer | abiword")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libsqliteodbc")

include(CPack)
