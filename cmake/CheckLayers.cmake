# cmake -DROOT=<source dir> -P CheckLayers.cmake
# The layers run one way: core/ -> platform/ -> shared/ -> programs. Fails when a file of a
# lower layer includes a header of a layer above it; tests, test support and fuzz targets
# included, since a test that needs a higher layer tests that layer.
set(rules "core:platform/|shared/" "platform:shared/")
set(bad "")
foreach(rule IN LISTS rules)
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 layer)
  list(GET parts 1 above)
  file(GLOB_RECURSE files "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
  foreach(f IN LISTS files)
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](${above})")
    foreach(l IN LISTS lines)
      file(RELATIVE_PATH rel "${ROOT}" "${f}")
      string(APPEND bad "  ${rel}: ${l}\n")
    endforeach()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "A lower layer includes a higher one:\n${bad}")
endif()
message(STATUS "layers: core -> platform -> shared -> programs hold")
