# Included after every program's folder: Velmora's install rules (its
# executable may not exist yet), one Debian package per program, and the
# tests of the installed tree and the packages.

if(TARGET velmora_app)
  wb_install_program(velmora_app NAME velmora)
endif()

get_property(WB_INSTALLED_PROGRAMS GLOBAL PROPERTY WB_INSTALLED_PROGRAMS)

# Debian section, one-line summary and description of each package; the
# description's lines stay under 80 characters, as Debian's tools show them.
set(WB_PACKAGE_parvex_SECTION utils)
set(WB_PACKAGE_parvex_SUMMARY "file splitter and joiner")
set(WB_PACKAGE_parvex_TEXT
  "Splits any file into up to 100 pieces of a preset or custom size and joins"
  "them back, started from its dialog, its command line or the file manager.")
set(WB_PACKAGE_sonafex_SECTION sound)
set(WB_PACKAGE_sonafex_SUMMARY "audio-effects workbench for WAV files")
set(WB_PACKAGE_sonafex_TEXT
  "Opens 16-bit PCM WAV files, applies distortion, lo-fi, gain and normalising"
  "effects, measures peak and RMS, converts stereo to mono, plays the result"
  "and saves it.")
set(WB_PACKAGE_velmora_SECTION sound)
set(WB_PACKAGE_velmora_SUMMARY "MP3 tag editor")
set(WB_PACKAGE_velmora_TEXT
  "Shows and edits the ID3v1.1 tags of MP3 files, renames files and folders by"
  "name patterns, keeps tag lists, writes playlists and fetches track lists"
  "from a CDDB server.")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME workbench)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Workbench developers <dev@example.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${WB_INSTALLED_PROGRAMS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link (Qt, ALSA, the C++ runtime) become
# the packages' dependencies through dpkg-shlibdeps; links and documents
# open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
foreach(p ${WB_INSTALLED_PROGRAMS})
  string(TOUPPER ${p} P)
  set(CPACK_DEBIAN_${P}_PACKAGE_NAME ${p})
  set(CPACK_DEBIAN_${P}_PACKAGE_SECTION ${WB_PACKAGE_${p}_SECTION})
  list(JOIN WB_PACKAGE_${p}_TEXT "\n" _text)
  set(CPACK_COMPONENT_${P}_DESCRIPTION "${WB_PACKAGE_${p}_SUMMARY}\n${_text}")
endforeach()
include(CPack)

add_subdirectory(${CMAKE_SOURCE_DIR}/data/tests ${CMAKE_BINARY_DIR}/install-tests)
