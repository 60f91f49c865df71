# The Windows build: the folders that build for Windows, and the program the build runs on the
# build machine (the media generator), taken from a native build (QUELMONT_HOST_BUILD, its build
# folder) since a cross build cannot run its own.

set(QUELMONT_HOST_BUILD "" CACHE PATH "A native build folder whose mediagen the build runs")

# Makes `name` an imported program of the native build, so custom commands run it as they would
# the program built here.
function(tessel_host_tool name folder)
  if(NOT QUELMONT_HOST_BUILD)
    message(FATAL_ERROR "Cross builds need QUELMONT_HOST_BUILD, a native build folder with the media tools")
  endif()
  add_executable(${name} IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${QUELMONT_HOST_BUILD}/tools/${folder}/${name}")
endfunction()

enable_language(RC)

macro(tessel_windows_subdirectories)
  enable_testing()
  foreach(folder common udf resources textures scene overlay shell clock platform/gfx platform/sys platform/ui platform/audio)
    add_subdirectory(src/${folder})
  endforeach()
  tessel_host_tool(mediagen mediagen)
  add_subdirectory(tools/mediagen)
  add_subdirectory(tools/udftool)
  add_subdirectory(src/app)
  if(QUELMONT_TESTS)
    add_subdirectory(tests/support)
    foreach(folder common resources udf textures scene overlay gfx_loader shell clock processes sys_win32 win32 audio_win32 install_win32 gfx_gl scene_gl crosscheck scr)
      add_subdirectory(tests/${folder})
    endforeach()
    # The fuzz targets' seeds, replayed through the Windows build's parsers.
    add_subdirectory(fuzz/replay)
    foreach(folder data textures clock scene overlay settings audio)
      add_subdirectory(fuzz/${folder})
    endforeach()
  endif()
  quelmont_version_resource(udftool udftool.exe "Quelmont media tool")
  if(TARGET quelmont_scr)
    quelmont_version_resource(quelmont_scr quelmont.scr "Quelmont screensaver")
  endif()
endmacro()

# A version resource for a Windows program: what Explorer shows as its details, the project's
# version as file and product version. FILE is the name the program ships under.
function(quelmont_version_resource target file description)
  set(VERSION_FILE "${file}")
  set(VERSION_DESCRIPTION "${description}")
  set(parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK})
  list(TRANSFORM parts REPLACE "^$" "0")
  list(JOIN parts "," VERSION_COMMAS)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/contrib/windows/version.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()
