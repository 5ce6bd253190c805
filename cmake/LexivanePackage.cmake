# cmake --build build --target package: a Debian package of the suite.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexivane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Lexivane authors")
set(CPACK_PACKAGE_CONTACT "The Lexivane authors <${SUPPORT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "offline English thesaurus with a word processor")
# The extended description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lexivane looks up English words (meaning, part of speech, sample sentence,
synonyms, antonyms, pronunciation), lists words by their first letters and
saves results as HTML pages (kavix). Kavix Writer (wkvx) edits RTF documents
and swaps a word for a synonym or antonym; exportUtil4Kavix moves the
dictionary to and from CSV files. Run lexivane-setup once per user.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${HOME_PAGE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies as dpkg-shlibdeps finds them, with the exact Qt that the fast
# RTF builder's private symbols tie the programs to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The menu entries are written for the prefix installed to, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
