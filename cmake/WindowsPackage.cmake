# The Windows package, torvk32-VERSION-windows-x86_64.zip (cpack, as
# scripts/package runs it): torvk32.exe, README.txt with the README's parts
# about the headless program, and the licence, in a folder of the same name.
# The texts get Windows line ends, so that Notepad shows their lines.

# Text files with CR LF line ends.
function(torvek_windows_text source_text destination)
  string(REPLACE "\r\n" "\n" text "${source_text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${destination}.new "${text}")
  file(COPY_FILE ${destination}.new ${destination} ONLY_IF_DIFFERENT)
  file(REMOVE ${destination}.new)
endfunction()

set(readme ${PROJECT_SOURCE_DIR}/README.md)
set(licence ${PROJECT_SOURCE_DIR}/packaging/copyright)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${readme} ${licence})

# From "Headless export" to the section before "Debian package".
file(READ ${readme} text)
string(FIND "${text}" "\n## Headless export\n" begin)
string(FIND "${text}" "\n## Debian package\n" end)
if(begin EQUAL -1 OR end LESS begin)
  message(FATAL_ERROR "README.md: the sections \"Headless export\" and \"Debian package\" are needed for README.txt")
endif()
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${text}" ${begin} ${length} headless)
torvek_windows_text("# TORVEK32 ${PROJECT_VERSION} for Windows\n\ntorvk32.exe runs the exports and the check; the viewer's window is not part of it.\n${headless}"
                    ${CMAKE_BINARY_DIR}/README.txt)
file(READ ${licence} text)
torvek_windows_text("${text}" ${CMAKE_BINARY_DIR}/copyright.txt)

install(TARGETS torvk32 RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/copyright.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME torvk32)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TORVEK32 developers")
set(CPACK_PACKAGE_FILE_NAME torvk32-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
