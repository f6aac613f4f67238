# Every folder of src/ is one library, and its headers are included as "<folder>/<header>".
# A library's include root holds a link to its own folder and nothing else, so a file sees only
# the headers of the libraries its library links to: an include against the layers does not
# compile.
function(vantaro_layer_includes target folder)
    set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
    if(NOT EXISTS ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
