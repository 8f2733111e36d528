# Fails when a source file includes a header from its own layer's peers or
# from a layer above it. Run as a test: cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
#
# Layers, lowest first; a folder may include only folders of a lower rank.
#   0 common     text encoding, twips, value text, the prompt interface
#   1 catalogue  INI files, schema rules, the catalogue of databases
#   1 database   the record component, .pdb format, HotSync users and installs
#   2 grid       the table model, its roles, grouping, table commands
#   3 document   the open database with its model and schema section
#   4 exchange   CSV export and import
#   4 output     pages, print preview, report tool
#   5 app        controller, settings, windows, command line
set(rank_common 0)
set(rank_catalogue 1)
set(rank_database 1)
set(rank_grid 2)
set(rank_document 3)
set(rank_exchange 4)
set(rank_output 4)
set(rank_app 5)

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
set(violations "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" layer "${source}")
    if(NOT DEFINED rank_${layer})
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
        if(NOT DEFINED rank_${target} OR target STREQUAL layer)
            continue()
        endif()
        if(NOT rank_${target} LESS rank_${layer})
            list(APPEND violations "${source}: ${line}")
        endif()
    endforeach()
endforeach()
if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes against the layer order:\n  ${text}")
endif()
message(STATUS "Layer order kept in ${SOURCE_DIR}")
