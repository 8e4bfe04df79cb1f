# Defines Maya::OpenMaya, Maya::OpenMayaFX, Maya::OpenMayaAnim, Maya::OpenMayaRender and Maya::OpenMayaUI,
# either on our stand-in host library or on a real Maya devkit found under MAYA_LOCATION.

set(MAYA_LIBRARIES OpenMaya OpenMayaFX OpenMayaAnim OpenMayaRender OpenMayaUI)
# The file suffix Maya gives plug-ins on this platform.
if(WIN32)
  set(MAYA_PLUGIN_SUFFIX ".mll")
else()
  set(MAYA_PLUGIN_SUFFIX ".so")
endif()

if(VEXMORA_HOST STREQUAL "standin")
  # The host library is one shared object; every Maya target points at it.
  foreach(lib ${MAYA_LIBRARIES})
    add_library(Maya::${lib} INTERFACE IMPORTED)
    set_target_properties(Maya::${lib} PROPERTIES INTERFACE_LINK_LIBRARIES mayahost)
  endforeach()
elseif(VEXMORA_HOST STREQUAL "devkit")
  if(NOT MAYA_LOCATION)
    set(MAYA_LOCATION "$ENV{MAYA_LOCATION}")
  endif()
  find_path(MAYA_INCLUDE_DIR maya/MFnPlugin.h
    HINTS "${MAYA_LOCATION}" PATH_SUFFIXES include devkit/include NO_DEFAULT_PATH)
  if(NOT MAYA_INCLUDE_DIR)
    message(FATAL_ERROR "No Maya devkit found: set MAYA_LOCATION to a Maya installation whose include/maya/MFnPlugin.h exists "
                        "(MAYA_LOCATION is \"${MAYA_LOCATION}\"), or configure with -DVEXMORA_HOST=standin.")
  endif()
  foreach(lib ${MAYA_LIBRARIES} Foundation)
    find_library(MAYA_${lib}_LIBRARY ${lib} HINTS "${MAYA_LOCATION}" PATH_SUFFIXES lib NO_DEFAULT_PATH)
    if(NOT MAYA_${lib}_LIBRARY)
      message(FATAL_ERROR "Maya library ${lib} not found under MAYA_LOCATION \"${MAYA_LOCATION}\".")
    endif()
  endforeach()
  foreach(lib ${MAYA_LIBRARIES})
    add_library(Maya::${lib} UNKNOWN IMPORTED)
    set_target_properties(Maya::${lib} PROPERTIES
      IMPORTED_LOCATION "${MAYA_${lib}_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${MAYA_INCLUDE_DIR}"
      INTERFACE_COMPILE_DEFINITIONS "REQUIRE_IOSTREAM;_BOOL;LINUX;FUNCPROTO;_GNU_SOURCE"
      INTERFACE_LINK_LIBRARIES "${MAYA_Foundation_LIBRARY}")
  endforeach()
else()
  message(FATAL_ERROR "VEXMORA_HOST must be standin or devkit, not \"${VEXMORA_HOST}\".")
endif()

# A Maya plug-in: a MODULE library with no "lib" prefix that exports only the plug-in entry points.
function(add_maya_plugin name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX "${MAYA_PLUGIN_SUFFIX}"
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(${name} PRIVATE ${VEXMORA_WARNINGS})
  if(NOT WIN32)
    # Hidden visibility does not cover template code pulled in from headers; the version script does.
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.exports)
    file(WRITE ${script} "{ global: MApiVersion; _Z16initializePlugin7MObject; _Z18uninitializePlugin7MObject; local: *; };\n")
    target_link_options(${name} PRIVATE "-Wl,--version-script=${script}")
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${script})
  endif()
endfunction()
