# Manual pages of the three programs, made at build time from their --help
# by help2man. Without help2man the build goes on without them.
find_program(HELP2MAN_PROGRAM help2man)
if(NOT HELP2MAN_PROGRAM)
  message(STATUS "help2man not found: manual pages not built (Debian package help2man)")
  return()
endif()

include(GNUInstallDirs)
set(TARVEL_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(TARVEL_MAN_PAGES)
foreach(entry
    "tarvel|configure and commission QX AC drives"
    "tarvel-cli|QX drive configurations and the drive link without windows"
    "qxsim|a simulated QX drive for trying the drive link without hardware")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 program)
  list(GET parts 1 summary)
  set(page ${TARVEL_MAN_DIR}/${program}.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TARVEL_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN_PROGRAM} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            --name=${summary} --output=${page} $<TARGET_FILE:${program}>
    DEPENDS ${program}
    COMMENT "Manual page ${program}.1"
    VERBATIM)
  list(APPEND TARVEL_MAN_PAGES ${page})
endforeach()
add_custom_target(manpages ALL DEPENDS ${TARVEL_MAN_PAGES})

# Installed with the programs (the manual pages' own block).
install(FILES ${TARVEL_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
