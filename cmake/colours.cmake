# The colour table exists once, in data/colour_table.tsv; the core's table is
# generated from there at build time, the table in docs/colours.md is checked
# against it by the test colour_docs.
set(KALVOR_GENERATED_COLOUR_TABLE ${KALVOR_GENERATED_DIR}/colour_table_data.cpp)
add_custom_command(
  OUTPUT ${KALVOR_GENERATED_COLOUR_TABLE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KALVOR_GENERATED_DIR}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen/gen_colours.py
          --table ${CMAKE_SOURCE_DIR}/data/colour_table.tsv
          --out-cpp ${KALVOR_GENERATED_COLOUR_TABLE}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/colour_table.tsv ${CMAKE_SOURCE_DIR}/tools/gen/gen_colours.py
  COMMENT "Generating the colour table"
  VERBATIM)
list(APPEND KALVOR_GENERATED_CORE_SOURCES ${KALVOR_GENERATED_COLOUR_TABLE})
