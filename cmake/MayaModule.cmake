# Installs the plug-ins as a Maya module: <prefix>/vexmora.mod, with one section per platform installed
# into the prefix, and the libraries in <prefix>/vexmora/plug-ins/<platform>/. Installing the builds of
# several platforms into one prefix gives one module for all of them. The host itself (executable and API
# library, with MinGW's runtime libraries on Windows) installs only as the component "host":
#     cmake --install <build> --component host --prefix <dir>

set(VEXMORA_MODULE_NAME vexmora)
set(VEXMORA_MODULE_VERSION 1.0)
if(WIN32)
  set(VEXMORA_PLATFORM win32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VEXMORA_PLATFORM win64)
  endif()
else()
  set(VEXMORA_PLATFORM linux32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VEXMORA_PLATFORM linux64)
  endif()
endif()
set(VEXMORA_PLUGIN_DESTINATION ${VEXMORA_MODULE_NAME}/plug-ins/${VEXMORA_PLATFORM})

function(install_maya_plugin name)
  install(TARGETS ${name} LIBRARY DESTINATION ${VEXMORA_PLUGIN_DESTINATION} COMPONENT plugins
                          RUNTIME DESTINATION ${VEXMORA_PLUGIN_DESTINATION} COMPONENT plugins)
endfunction()

function(install_maya_module_file)
  install(CODE "
    set(MODULE_FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VEXMORA_MODULE_NAME}.mod\")
    set(MODULE_NAME ${VEXMORA_MODULE_NAME})
    set(MODULE_VERSION ${VEXMORA_MODULE_VERSION})
    set(MODULE_PLATFORM ${VEXMORA_PLATFORM})
    include(\"${PROJECT_SOURCE_DIR}/cmake/WriteModuleFile.cmake\")" COMPONENT plugins)
endfunction()
