# The wizard's pictures, drawn at build time by wizard.py into the build tree; included by
# wizard/CMakeLists.txt. Sets WIZARD_ARTWORK_DIR (holds wizard_bitmaps.rc, which Pellgrove.rc
# includes) and WIZARD_ARTWORK_RC, and defines the target wizard_artwork.
# Debian's interpreter first: python3-pil is installed for it.
find_program(KIT_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(KIT_PYTHON3 NAMES python3)
set(WIZARD_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork/wizard)
set(WIZARD_ARTWORK_RC ${WIZARD_ARTWORK_DIR}/wizard_bitmaps.rc)
set(_art ${CMAKE_SOURCE_DIR}/tools/artwork)
add_custom_command(OUTPUT ${WIZARD_ARTWORK_RC}
  COMMAND ${KIT_PYTHON3} ${_art}/wizard.py ${WIZARD_ARTWORK_DIR}
  DEPENDS ${_art}/wizard.py ${_art}/kitstyle.py
  COMMENT "Drawing the wizard's pictures" VERBATIM)
add_custom_target(wizard_artwork DEPENDS ${WIZARD_ARTWORK_RC})
