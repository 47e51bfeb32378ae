# The layering of the tree, checked at configure time by resolving every #include the way
# the compiler would:
#
#   device/    sees only itself; never the toolkit, the database layer or the program
#   db/        sees itself and the device's Win32 headers (device/api/)
#   toolkit/   sees itself and device/api/
#   app/       sees itself, toolkit/, db/ and device/api/
#   cli/       sees itself, db/, device/api/ and the address store in app/; never the toolkit
#
# A quoted include must resolve in the including file's folder or in a folder the layer
# sees. An angle-bracket include (system and library headers) must not name a file of a
# folder the layer may not see, whatever include directories a target is given.
# Usable from a configure run and from `cmake -P` (the layering test does that).

# Appends to `out` one line per include of `source` that breaks the rule.
function(adres_include_violations out source)
  cmake_parse_arguments(ARG "" "" "SEES;SEES_FILES;FORBIDS" ${ARGN})
  set(found "")
  get_filename_component(own_dir "${source}" DIRECTORY)
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]*)[\">].*$" "\\1;\\2" parts "${line}")
    list(GET parts 0 kind)
    list(GET parts 1 header)
    set(bad FALSE)
    if(header STREQUAL "" OR header MATCHES "(^|/)\\.\\.(/|$)" OR IS_ABSOLUTE "${header}")
      set(bad TRUE)
    elseif(kind STREQUAL "\"")
      set(bad TRUE)
      foreach(dir IN ITEMS "${own_dir}" ${ARG_SEES})
        if(EXISTS "${dir}/${header}" AND NOT IS_DIRECTORY "${dir}/${header}")
          set(bad FALSE)
          break()
        endif()
      endforeach()
      foreach(seen IN LISTS ARG_SEES_FILES)
        get_filename_component(seen_name "${seen}" NAME)
        if(seen_name STREQUAL header AND EXISTS "${seen}")
          set(bad FALSE)
        endif()
      endforeach()
    else()
      foreach(dir IN LISTS ARG_FORBIDS)
        if(EXISTS "${dir}/${header}" AND NOT IS_DIRECTORY "${dir}/${header}")
          set(bad TRUE)
          break()
        endif()
      endforeach()
    endif()
    if(bad)
      list(APPEND found "${source}: may not include ${kind}${header}")
    endif()
  endforeach()
  set(${out} ${${out}} ${found} PARENT_SCOPE)
endfunction()

# Sets `out` to every layering violation in the tree under `root`.
function(adres_layering_violations out root)
  # The device's internals: every folder of it but its Win32 headers.
  file(GLOB device_dirs LIST_DIRECTORIES true "${root}/device/*")
  list(FILTER device_dirs EXCLUDE REGEX "/api$")
  set(device_internals "${root}/device")
  foreach(dir IN LISTS device_dirs)
    if(IS_DIRECTORY "${dir}")
      list(APPEND device_internals "${dir}")
    endif()
  endforeach()
  set(api "${root}/device/api")
  set(above "${root}/toolkit" "${root}/db" "${root}/app" "${root}/cli")

  set(layers device db toolkit app cli)
  set(device_sees "${root}/device" "${api}" "${root}/device/service")
  set(device_forbids ${above})
  set(db_sees "${api}")
  set(db_forbids ${device_internals} "${root}/toolkit" "${root}/app" "${root}/cli")
  set(toolkit_sees "${api}")
  set(toolkit_forbids ${device_internals} "${root}/db" "${root}/app" "${root}/cli")
  set(app_sees "${root}/toolkit" "${root}/db" "${api}")
  set(app_forbids ${device_internals} "${root}/cli")
  # The companion is no window program: of app/ it may use only the store.
  set(cli_sees "${root}/db" "${api}")
  set(cli_sees_files "${root}/app/address_store.h")
  set(cli_forbids ${device_internals} "${root}/toolkit")

  set(all "")
  foreach(layer IN LISTS layers)
    file(GLOB_RECURSE sources "${root}/${layer}/*.h" "${root}/${layer}/*.cpp")
    foreach(source IN LISTS sources)
      adres_include_violations(all "${source}" SEES ${${layer}_sees}
        SEES_FILES ${${layer}_sees_files} FORBIDS ${${layer}_forbids})
    endforeach()
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# Fails the configuration when the tree under `root` breaks the layering, and adds the
# target `layering` that checks again at build time (an edit that adds an include does
# not reconfigure); every library of the tree depends on it.
function(adres_check_layering root)
  adres_layering_violations(violations "${root}")
  if(violations)
    list(JOIN violations "\n" text)
    message(FATAL_ERROR "Layering broken:\n${text}")
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    "${root}/device/*.h" "${root}/device/*.cpp" "${root}/db/*.h" "${root}/db/*.cpp"
    "${root}/toolkit/*.h" "${root}/toolkit/*.cpp" "${root}/app/*.h" "${root}/app/*.cpp"
    "${root}/cli/*.h" "${root}/cli/*.cpp")
  set(stamp "${CMAKE_BINARY_DIR}/layering.stamp")
  add_custom_command(OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} -DROOT=${root} -DSTAMP=${stamp} -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check_layering.cmake
    DEPENDS ${sources} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Layering.cmake
    COMMENT "Checking the layering of the includes" VERBATIM)
  add_custom_target(layering DEPENDS "${stamp}")
endfunction()
