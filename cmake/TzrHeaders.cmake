# tzr_headers(<target>)
#
# Makes the headers of the calling folder visible to <target> and to whatever
# links it, as "<folder>/<File>.h" (for example "items/OrvNumber.h"): the
# folder is linked into an include root of the target's own, which a library
# exports (PUBLIC) and an executable keeps to itself. There is no include root
# shared by every target, so a file can include only the headers of its own
# folder and of the libraries its target links: a header of a library that is
# not linked does not build.
function(tzr_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  tzr_link_folder(${root} ${folder})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  elseif(type STREQUAL "EXECUTABLE" OR type STREQUAL "MODULE_LIBRARY")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# Links <source root>/<folder> as <root>/<folder>.
function(tzr_link_folder root folder)
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
endfunction()
