# corvane_add_subfolders(): adds every sub-folder of the current folder that has
# a CMakeLists.txt, in name order, so a new program or test folder needs no edit here.
function(corvane_add_subfolders)
  file(GLOB subdirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT subdirs)
  foreach(dir IN LISTS subdirs)
    if(EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
