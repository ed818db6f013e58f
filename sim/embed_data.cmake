# cmake -DDATA_DIR=DIR -DOUT=FILE -P embed_data.cmake
# Writes FILE, a C++ source that holds every *.txt below DIR as a string literal, named by its
# path relative to DIR. The program then needs no data files at run time.
file(GLOB_RECURSE files RELATIVE ${DATA_DIR} ${DATA_DIR}/*.txt)
list(SORT files)
set(entries "")
foreach(name IN LISTS files)
    file(READ ${DATA_DIR}/${name} text)
    string(FIND "${text}" ")unitdata\"" clash)
    if(NOT clash EQUAL -1)
        message(FATAL_ERROR "${name} holds the literal's end marker")
    endif()
    string(APPEND entries "    {\"${name}\", R\"unitdata(${text})unitdata\"},\n")
endforeach()
file(WRITE ${OUT}
    "// Generated from sim/data by sim/embed_data.cmake: edit the data files, not this one.\n"
    "#include \"sim/embedded_data.h\"\n\n"
    "namespace sim {\nnamespace {\n\n"
    "constexpr EmbeddedFile kFiles[] = {\n${entries}};\n\n"
    "}  // namespace\n\n"
    "std::span<const EmbeddedFile> EmbeddedFiles() {\n    return kFiles;\n}\n\n"
    "}  // namespace sim\n")
