# cmake -DWORK=<scratch dir> -P layering_test.cmake
# Builds a small tree with the project's folders, plants one include at a time and checks
# that the layering rule accepts or refuses it.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Layering.cmake)

set(root "${WORK}/tree")
file(REMOVE_RECURSE "${root}")
foreach(header IN ITEMS
    device/api/windows.h device/window/window.h device/service/device_diag.h
    device/gdi/dc.h toolkit/control.h toolkit/dispatch.h db/sqlite_database.h
    app/main_window.h app/address_store.h)
  file(WRITE "${root}/${header}" "")
endforeach()

# file that includes | the include line | 1 when it breaks the layering
set(cases
  "toolkit/x.cpp|#include \"windows.h\"|0"
  "toolkit/x.cpp|#include \"control.h\"|0"
  "toolkit/x.cpp|#include <string>|0"
  "toolkit/x.cpp|#include \"window/window.h\"|1"
  "toolkit/x.cpp|#include <window/window.h>|1"
  "toolkit/x.cpp|#include <device_diag.h>|1"
  "toolkit/x.cpp|#include \"../device/gdi/dc.h\"|1"
  "toolkit/x.cpp|#include \"api/windows.h\"|1"
  "toolkit/x.cpp|#include \"sqlite_database.h\"|1"
  "toolkit/x.cpp|#include \"main_window.h\"|1"
  "app/x.cpp|#include \"control.h\"|0"
  "app/x.cpp|#include \"sqlite_database.h\"|0"
  "app/x.cpp|#include \"windows.h\"|0"
  "app/x.cpp|#include \"device_diag.h\"|1"
  "app/x.cpp|#include <dc.h>|1"
  "cli/x.cpp|#include \"address_store.h\"|0"
  "cli/x.cpp|#include \"sqlite_database.h\"|0"
  "cli/x.cpp|#include \"main_window.h\"|1"
  "cli/x.cpp|#include \"control.h\"|1"
  "cli/x.cpp|#include <control.h>|1"
  "db/x.cpp|#include \"windows.h\"|0"
  "db/x.cpp|#include \"control.h\"|1"
  "db/x.cpp|#include \"gdi/dc.h\"|1"
  "device/gdi/x.cpp|#include \"dc.h\"|0"
  "device/gdi/x.cpp|#include \"window/window.h\"|0"
  "device/gdi/x.cpp|#include \"device_diag.h\"|0"
  "device/gdi/x.cpp|#include \"control.h\"|1"
  "device/gdi/x.cpp|#include \"dispatch.h\"|1"
  "device/gdi/x.cpp|#include <main_window.h>|1"
  "device/gdi/x.cpp|#include \"../../toolkit/control.h\"|1")

set(failures 0)
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 file)
  list(GET fields 1 line)
  list(GET fields 2 expected)
  file(WRITE "${root}/${file}" "${line}\n")
  adres_layering_violations(violations "${root}")
  file(REMOVE "${root}/${file}")
  list(LENGTH violations count)
  if(NOT count EQUAL expected)
    message(SEND_ERROR "${file} with ${line}: expected ${expected} violation(s), found ${count}: ${violations}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures} layering case(s) wrong")
endif()
