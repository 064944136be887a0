# The Debian package, made with CPack from the Linux build: both programs, the desktop
# entry and the icon, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME drilbank)
set(CPACK_PACKAGE_VENDOR drilbank)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Drill program for distance-learning students, and the instructor's record reader")
set(CPACK_PACKAGE_DESCRIPTION
    "drilbank leads a student through an assignment's questions one at a time and appends\n\
every answer and note to plain-text record files for the instructor. drilbank-records\n\
checks the record files a class hands in and exports them for a spreadsheet.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "drilbank maintainers <drilbank@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Sans stands in for Arial with its metrics; the SVG plugin draws the icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6svg6")
include(CPack)
