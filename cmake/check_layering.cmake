# cmake -DROOT=<source root> -DSTAMP=<file> -P check_layering.cmake
# Fails when the tree breaks the layering; touches STAMP when it holds.
include(${CMAKE_CURRENT_LIST_DIR}/Layering.cmake)
adres_layering_violations(violations "${ROOT}")
if(violations)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "Layering broken:\n${text}")
endif()
file(TOUCH "${STAMP}")
