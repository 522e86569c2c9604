# The tool folder "CdrTools" beside the executable keeps the bare tool names the program
# runs. On Windows the tools ship in it; elsewhere it holds links to the system's tools
# (wodim as cdrecord: it keeps cdrecord's options and output).
set(QUILLON_TOOL_LINKS
  "mkisofs=genisoimage"
  "cdrecord=wodim"
  "readcd=readom"
  "cdda2wav=icedax"
  "isoinfo=isoinfo"
  "sh=sh")

function(quillon_tool_folder target)
  if(WIN32)
    return()
  endif()
  set(commands)
  set(install_code "")
  foreach(pair ${QUILLON_TOOL_LINKS})
    string(REPLACE "=" ";" parts ${pair})
    list(GET parts 0 name)
    list(GET parts 1 system)
    find_program(QUILLON_TOOL_${name} NAMES ${system} PATHS /usr/bin /bin NO_DEFAULT_PATH)
    if(QUILLON_TOOL_${name})
      set(where ${QUILLON_TOOL_${name}})
    else()
      # Not installed yet: the link still points where the Debian package puts it.
      set(where /usr/bin/${system})
      message(STATUS "Tool folder: ${system} not found, ${name} links to ${where}")
    endif()
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E create_symlink ${where} $<TARGET_FILE_DIR:${target}>/CdrTools/${name})
    string(APPEND install_code
      "file(CREATE_LINK \"${where}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/CdrTools/${name}\" SYMBOLIC)\n")
  endforeach()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/CdrTools
    ${commands}
    VERBATIM)
  install(TARGETS ${target} RUNTIME DESTINATION bin)
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/CdrTools\")\n${install_code}")
endfunction()
