# corvane_ship(<target>...): marks programs and DLLs that reach users; the
# import check of tests/platform/ reads each of them.
function(corvane_ship)
  set_property(GLOBAL APPEND PROPERTY CORVANE_SHIPPED ${ARGN})
endfunction()

# corvane_link_xpcompat(): links the XP fallbacks (xpcompat/) into every program
# and DLL defined under the given folders, so none imports a function that
# Windows XP lacks, whoever adds the next program.
function(corvane_link_xpcompat)
  foreach(dir IN LISTS ARGN)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
        target_link_libraries(${target} PRIVATE corvane_xpcompat)
      endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    corvane_link_xpcompat(${subdirs})
  endforeach()
endfunction()

# The architecture the programs' manifests name: Windows refuses to start a
# program whose manifest names another than its own.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CORVANE_MANIFEST_ARCH amd64)
else()
  set(CORVANE_MANIFEST_ARCH x86)
endif()
