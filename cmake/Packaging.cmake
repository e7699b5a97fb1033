# A Debian package from the build: cpack -G DEB (in the build directory).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VENDOR "Quillbox")
set(CPACK_PACKAGE_CONTACT "Quillbox developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Archive the SMS and phonebook of Motorola phones")
set(CPACK_PACKAGE_DESCRIPTION
  "Copies every SMS and the phonebook of a Motorola phone into a local archive of\n"
  "plain-text files over the phone's USB modem port, and exports them to HTML,\n"
  "text, an Android SMS backup and vCard contacts.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Library dependencies come from the binary; the windowing plugins, fonts and udev
# are loaded or used at run time. Qt's own translations go with the English
# interface for Qt's standard buttons and dialogs; everything works without them,
# so they are recommended, not required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, qt6-translations-l10n")
include(CPack)
