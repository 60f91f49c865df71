# quelmont_manifest(FILE): reads the manifest of resource ids and scene node names (see the file
# itself) and makes
#   - the interface library quelmont_manifest, whose header "media/Manifest.h" names each entry
#     (manifest::kStartupPicture.id, manifest::kHourHandNode, ...);
#   - QUELMONT_RESOURCE_ENTRIES: type, id and file of each resource, for tessel_resource_table;
#   - QUELMONT_BUILT_MEDIA: the files mediagen makes into the build's media folder.
function(quelmont_manifest file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  file(STRINGS "${file}" lines)
  set(media_out "${PROJECT_BINARY_DIR}/media")
  set(entries "")
  set(built "")
  set(resources "")
  set(dialogs "")
  set(nodes "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^#" OR line STREQUAL "")
      continue()
    elseif(line MATCHES "^resource +([A-Za-z]+) +([0-9]+) +(k[A-Za-z0-9]+) +(source|built)/([^ ]+)$")
      set(name "${CMAKE_MATCH_5}")
      if(CMAKE_MATCH_4 STREQUAL "source")
        set(path "${PROJECT_SOURCE_DIR}/media/${name}")
      else()
        set(path "${media_out}/${name}")
        list(APPEND built "${path}")
      endif()
      list(APPEND entries ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} "${path}")
      string(APPEND resources "inline constexpr Resource ${CMAKE_MATCH_3}{\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}, \"${name}\"};\n")
    elseif(line MATCHES "^dialog +([0-9]+) +(k[A-Za-z0-9]+)$")
      string(APPEND dialogs "inline constexpr int ${CMAKE_MATCH_2} = ${CMAKE_MATCH_1};\n")
    elseif(line MATCHES "^node +(k[A-Za-z0-9]+) +([^\"\\\\]+)$")
      string(APPEND nodes "inline constexpr const char* ${CMAKE_MATCH_1} = \"${CMAKE_MATCH_2}\";\n")
    else()
      message(FATAL_ERROR "${file}: cannot read the line \"${line}\"")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES built)

  set(header_dir "${PROJECT_BINARY_DIR}/generated")
  file(CONFIGURE OUTPUT "${header_dir}/media/Manifest.h" @ONLY CONTENT "#pragma once
// Made by the build from media/manifest.txt: change that file, not this one.

namespace manifest {

// A resource linked into the program: its type, its id, and the name of the file it holds.
struct Resource {
    const char* type;
    int id;
    const char* file;
};

${resources}
// Dialogs.
${dialogs}
// Names of the scene nodes the program looks for.
${nodes}
}  // namespace manifest
")
  add_library(quelmont_manifest INTERFACE)
  target_include_directories(quelmont_manifest INTERFACE "${header_dir}")
  set(QUELMONT_RESOURCE_ENTRIES "${entries}" PARENT_SCOPE)
  set(QUELMONT_BUILT_MEDIA "${built}" PARENT_SCOPE)
endfunction()
