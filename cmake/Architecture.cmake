# The house as the build sees it: which folder each library shows its users, and which arrows
# between our targets exist.

# verbaro_include_folder(target folder): the target's headers are included as "folder/X.h" by
# the target itself and by whoever links it, and the include path shows that folder alone (a
# link to it in the build tree), so that a file can include only what its target links.
function(verbaro_include_folder target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# The allowed arrows: each target of the program and the targets of ours it may link directly.
# Everything points down (app -> views -> (sound, image) -> platform -> data, tools -> data);
# an arrow not listed here, a back arrow above all, stops the configuration. A new library of
# the program gets its line here.
set(VERBARO_ALLOWED_LINKS
  "verbaro_data:"
  "verbaro_platform:verbaro_data"
  "verbaro_sound:verbaro_platform verbaro_data"
  "verbaro_image:"
  "verbaro_views:verbaro_sound verbaro_image verbaro_platform verbaro_data"
  "verbaro_progressview:verbaro_platform verbaro_data"
  "verbaro_app:verbaro_views verbaro_progressview verbaro_platform verbaro_data"
  "verbaro_res:"
  "verbaro:verbaro_app verbaro_res"
  "verbaro_lessonwriter:verbaro_data"
  "verbaro_lessontool:verbaro_lessonwriter verbaro_data"
  "verbaro_lessonimport:verbaro_lessontool verbaro_lessonwriter verbaro_data"
  "verbaro-lesson:verbaro_lessontool verbaro_lessonimport")

# Targets of ours that serve everything and are no arrow of the architecture.
set(VERBARO_SHARED_TARGETS verbaro_build_options)

# The targets of ours among a target's direct links.
function(_verbaro_direct_links target out_var)
  set(found "")
  get_target_property(type ${target} TYPE)
  set(properties INTERFACE_LINK_LIBRARIES)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    list(APPEND properties LINK_LIBRARIES)
  endif()
  foreach(property IN LISTS properties)
    get_target_property(links ${target} ${property})
    if(NOT links)
      continue()
    endif()
    foreach(item IN LISTS links)
      string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" item "${item}")
      if(TARGET ${item} AND NOT item IN_LIST VERBARO_SHARED_TARGETS)
        get_target_property(imported ${item} IMPORTED)
        if(NOT imported)
          list(APPEND found ${item})
        endif()
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES found)
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()

# The targets made in a folder and the folders below it.
function(_verbaro_targets_below dir out_var)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _verbaro_targets_below(${subdir} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out_var} ${targets} PARENT_SCOPE)
endfunction()

# verbaro_check_links(): configuration fails when a target of the table links a target of ours
# that its line does not allow, or when a library or program outside tests/, bench/ and fuzz/
# has no line (so that a new library states its place).
function(verbaro_check_links)
  set(listed "")
  foreach(entry IN LISTS VERBARO_ALLOWED_LINKS)
    string(REGEX REPLACE ":.*" "" name "${entry}")
    list(APPEND listed ${name})
  endforeach()
  _verbaro_targets_below(${CMAKE_SOURCE_DIR} all)
  foreach(target IN LISTS all)
    get_target_property(type ${target} TYPE)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${dir})
    if(type MATCHES "LIBRARY|EXECUTABLE" AND NOT type STREQUAL "INTERFACE_LIBRARY"
       AND NOT folder MATCHES "^(tests|bench|fuzz|packaging)(/|$)"
       AND NOT target IN_LIST listed)
      message(FATAL_ERROR "${target} (${folder}/) has no line in the arrows of the "
                          "architecture (cmake/Architecture.cmake)")
    endif()
  endforeach()

  foreach(entry IN LISTS VERBARO_ALLOWED_LINKS)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 target)
    set(allowed "")
    list(LENGTH parts count)
    if(count GREATER 1)
      list(GET parts 1 allowed)
      separate_arguments(allowed UNIX_COMMAND "${allowed}")
    endif()
    if(NOT TARGET ${target})
      continue()
    endif()
    _verbaro_direct_links(${target} links)
    foreach(link IN LISTS links)
      if(NOT link IN_LIST allowed)
        message(FATAL_ERROR "${target} must not link ${link}: the arrows of the architecture "
                            "(cmake/Architecture.cmake) allow only: ${allowed}")
      endif()
    endforeach()
  endforeach()
endfunction()
