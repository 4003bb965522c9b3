# zorkel_add_resources(TARGET <target> RC <script.rc> SYMBOL <name>
#                      [INCLUDE_DIRS <dir>...] [RESOURCE_DIRS <dir>...]
#                      [DEPENDS <file-or-target>...])
#
# Compiles <script.rc> with zorkel-rc into <name>.rc.cpp in the current
# binary directory and adds that file to <target>'s sources; the file defines
# `extern const Win32Module <name>`. INCLUDE_DIRS are searched by #include
# (win32/include, for <windows.h>, is always searched last); RESOURCE_DIRS
# are searched for ICON files after the script's own folder. Relative paths
# are taken from the current source directory.
#
# The command reruns when the script, zorkel-rc, any file it included or any
# icon it read changes (zorkel-rc writes a depfile). List in DEPENDS the
# files made by other rules (a generated icon) and the targets making them,
# so they are built first.
function(zorkel_add_resources)
  cmake_parse_arguments(PARSE_ARGV 0 ARG ""
    "TARGET;RC;SYMBOL" "INCLUDE_DIRS;RESOURCE_DIRS;DEPENDS")
  if(NOT ARG_TARGET OR NOT ARG_RC OR NOT ARG_SYMBOL)
    message(FATAL_ERROR "zorkel_add_resources: TARGET, RC and SYMBOL are required")
  endif()
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR
      "zorkel_add_resources: unexpected arguments: ${ARG_UNPARSED_ARGUMENTS}")
  endif()

  cmake_path(ABSOLUTE_PATH ARG_RC BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
             NORMALIZE OUTPUT_VARIABLE script)
  cmake_path(GET script FILENAME script_name)
  # win32_module.h and windows.h: win32/include, next to this file's folder.
  cmake_path(SET win32_include NORMALIZE
             "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../include")

  set(options)
  foreach(dir IN LISTS ARG_INCLUDE_DIRS win32_include)
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
               NORMALIZE)
    list(APPEND options -I ${dir})
  endforeach()
  foreach(dir IN LISTS ARG_RESOURCE_DIRS)
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
               NORMALIZE)
    list(APPEND options --resource-dir ${dir})
  endforeach()

  set(output ${CMAKE_CURRENT_BINARY_DIR}/${ARG_SYMBOL}.rc.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND zorkel-rc ${options} --depfile ${output}.d
            -o ${output} --symbol ${ARG_SYMBOL} ${script}
    DEPENDS zorkel-rc ${script} ${ARG_DEPENDS}
    DEPFILE ${output}.d
    COMMENT "Compiling resource script ${script_name}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE ${output})
  target_include_directories(${ARG_TARGET} PRIVATE ${win32_include})
endfunction()

