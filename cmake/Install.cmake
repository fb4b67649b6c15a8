# cmake --install: the program (torvk32 and its window, torvk32-window), the
# suite set-up tool and the splash pictures; then the suite is set up for the
# user who installs (brix.cfg, brix.ini, the program folder), adding only what
# is missing. Packaging installs (DESTDIR set) leave the set-up to each user's torvk32-setup.
include(GNUInstallDirs)

# Windows has its own package, a zip; WebAssembly builds are not installed.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackage.cmake)
  return()
elseif(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

install(TARGETS torvk32 torvk32-setup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TORVEK_BUILD_UI)
  install(TARGETS torvk32-window RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/applib/artwork/torvk32.jpg ${PROJECT_SOURCE_DIR}/applib/artwork/torvk32.gif
        DESTINATION ${CMAKE_INSTALL_DATADIR}/torvek32)
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    execute_process(
      COMMAND \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/torvk32-setup\"
              --program \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/torvk32\"
              --artwork \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/torvek32\"
      RESULT_VARIABLE setup_result)
    if(NOT setup_result EQUAL 0)
      message(WARNING \"torvk32-setup could not set up the suite (exit \${setup_result})\")
    endif()
  endif()
")
