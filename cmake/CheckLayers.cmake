# Refuses an #include that points up the layer order.
#
#   cmake -DSRC=<src dir> -DLAYERS=base,ports,... [-DSTAMP=<file>] -P CheckLayers.cmake
#
# A layer may include its own headers and those of the layers before it in
# LAYERS; anything else is listed and the script fails. Run by the build (so
# a build with an upward include fails) and by CTest.
if(NOT SRC OR NOT LAYERS)
  message(FATAL_ERROR "CheckLayers: SRC and LAYERS must be given")
endif()

get_filename_component(SRC "${SRC}" ABSOLUTE)
string(REPLACE "," ";" LAYERS "${LAYERS}")
set(rank 0)
foreach(layer IN LISTS LAYERS)
  set(rank_${layer} ${rank})
  math(EXPR rank "${rank} + 1")
endforeach()

# The layer a path below SRC belongs to: the longest listed folder that is
# its prefix ("ui/main" before "ui").
function(layer_of relpath out)
  set(best "")
  foreach(layer IN LISTS LAYERS)
    string(LENGTH "${layer}/" len)
    string(SUBSTRING "${relpath}" 0 ${len} head)
    if(head STREQUAL "${layer}/")
      string(LENGTH "${best}" bestlen)
      if(len GREATER bestlen)
        set(best ${layer})
      endif()
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(faults "")
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  if(from STREQUAL "")
    string(APPEND faults "  ${source}: not in any layer\n")
    continue()
  endif()
  file(STRINGS ${SRC}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
    layer_of("${header}" to)
    if(to STREQUAL "")
      string(APPEND faults "  ${source}: includes ${header}, which is in no layer\n")
    elseif(rank_${to} GREATER rank_${from})
      string(APPEND faults "  ${source} (${from}) includes ${header} (${to}), a layer above it\n")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes that point up the layers (order: ${LAYERS}):\n${faults}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
