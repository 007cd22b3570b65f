cmake_policy(VERSION 3.25)
# Fails when a source file under src/ includes a module that its layer may not use, so
# that the layers point one way: team data and simulation stand on core, the engine (the
# face-off run) on them, odds on the engine, the season library on odds, and the front
# ends on top.
# Run as: cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake

# Each folder is a layer; a layer may include itself and the layers listed for it.
set(allowed_core core)
set(allowed_teamdata core teamdata)
set(allowed_simulation core simulation)
set(allowed_engine core teamdata simulation engine)
set(allowed_odds core teamdata simulation engine odds)
set(allowed_season core teamdata simulation engine odds season)
set(allowed_cli core teamdata simulation engine odds season cli)
set(allowed_ui core teamdata simulation engine odds season ui)

# The layer of a path relative to src/: its folder.
function(layer_of path result)
    string(REGEX MATCH "^[a-z]+" module "${path}")
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
