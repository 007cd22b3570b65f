cmake_policy(VERSION 3.25)
# Fails when a source file under src/ includes a module that its layer may not use, so
# that the layers point one way: the front ends use the engine; in the engine, team data
# and simulation stand on core, and the face-off run is the one piece that uses them all.
# Run as: cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake

# The face-off run and what only it may use live in src/core but form the top layer.
set(top_files FaceOffRun Predictor InputChecks)

set(allowed_core core)
set(allowed_top core top teamdata simulation)
set(allowed_teamdata core teamdata)
set(allowed_simulation core simulation)
set(allowed_odds core top teamdata simulation odds)
set(allowed_cli core top teamdata simulation odds cli)
set(allowed_ui core top teamdata simulation odds ui)

# The layer of a path relative to src/: its folder, or "top" for the face-off files.
function(layer_of path result)
    string(REGEX MATCH "^[a-z]+" module "${path}")
    get_filename_component(name "${path}" NAME_WE)
    if(module STREQUAL "core" AND name IN_LIST top_files)
        set(module top)
    endif()
    set(${result} ${module} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
    layer_of("${source}" layer)
    if(NOT DEFINED allowed_${layer})
        string(APPEND faults "\n  ${source}: folder '${layer}' has no layer rule in CheckLayers.cmake")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
        if(NOT included MATCHES "/")
            continue() # a generated or local header of the same folder
        endif()
        layer_of("${included}" target)
        if(NOT target IN_LIST allowed_${layer})
            string(APPEND faults "\n  ${source} includes ${included}: the ${layer} layer may use only ${allowed_${layer}}")
        endif()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Include across the layers:${faults}")
endif()
file(TOUCH "${STAMP}")
