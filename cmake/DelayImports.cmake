# Windows libraries that nothing before the toolbar's planting uses are loaded at their first call
# instead of at process start, so that the start waits only for what planting needs (the toolkit
# loads them all once the toolbar is planted: toolkit/LateLibraries.h). GNU ld has no delay-load
# option: each of them is linked through a delay-import library that dlltool makes, at configure
# time, from the toolchain's own import library (the export names read from it with nm).
#
# Only the 64-bit GNU ld build links them so. The 32-bit GNU ld drops the delay thunk of a function
# that is called only through its import pointer (the pointer stays zero and the first call
# jumps there), and lld puts the import pointers in read-only memory, where the delay-load helper
# cannot write; those builds link the libraries as usual, and start as before.
#
# The 64-bit thunk that resolves a function at its first call keeps the integer argument registers
# only: a function taking a floating-point argument must not be called from these libraries (none
# is). The helper's own table of loaded libraries is not found by its load-everything call
# (__HrLoadAllImportsForDll) in a GNU ld program, so each function is resolved at its first call.
#
# Sets CORVANE_LATE_LIBRARIES to what the toolkit links for them, and CORVANE_DELAY_LOADS to TRUE
# when they are delay-loaded.
set(late_library_names advapi32 ole32 oleaut32 shell32)

set(CORVANE_DELAY_LOADS FALSE)
if(WIN32 AND NOT MSVC AND CMAKE_SIZEOF_VOID_P EQUAL 8 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND CMAKE_DLLTOOL AND CMAKE_NM)
  set(CORVANE_DELAY_LOADS TRUE)
endif()

if(NOT CORVANE_DELAY_LOADS)
  set(CORVANE_LATE_LIBRARIES ${late_library_names})
  return()
endif()

set(CORVANE_LATE_LIBRARIES)
set(delay_dir ${CMAKE_BINARY_DIR}/delayimp)
file(MAKE_DIRECTORY ${delay_dir})
foreach(name IN LISTS late_library_names)
  find_library(CORVANE_IMPORT_LIB_${name} NAMES lib${name}.a REQUIRED NO_CMAKE_ENVIRONMENT_PATH NO_SYSTEM_ENVIRONMENT_PATH)
  set(import_lib ${CORVANE_IMPORT_LIB_${name}})
  set(def ${delay_dir}/${name}.def)
  set(delay_lib ${delay_dir}/lib${name}_delayed.a)
  if(NOT EXISTS ${delay_lib} OR ${import_lib} IS_NEWER_THAN ${delay_lib})
    execute_process(COMMAND ${CMAKE_NM} ${import_lib} OUTPUT_VARIABLE symbols ERROR_QUIET
                    RESULT_VARIABLE nm_result)
    # Every function of the library has an import pointer "__imp_NAME" in its import library.
    string(REGEX MATCHALL " I __imp_[^\n]+" exports "${symbols}")
    list(TRANSFORM exports REPLACE "^ I __imp_" "")
    list(REMOVE_DUPLICATES exports)
    list(SORT exports)
    if(NOT nm_result EQUAL 0 OR NOT exports)
      message(FATAL_ERROR "No export names read from ${import_lib}")
    endif()
    list(JOIN exports "\n" export_lines)
    file(WRITE ${def} "LIBRARY ${name}.dll\nEXPORTS\n${export_lines}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${name}.dll --output-delaylib ${delay_lib}
                    RESULT_VARIABLE dlltool_result)
    if(NOT dlltool_result EQUAL 0)
      file(REMOVE ${delay_lib})
      message(FATAL_ERROR "dlltool could not make the delay-import library of ${name}.dll")
    endif()
  endif()
  list(APPEND CORVANE_LATE_LIBRARIES ${delay_lib})
endforeach()
