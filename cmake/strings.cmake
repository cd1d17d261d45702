# The program's texts and command ids exist once, in resources/*.tsv; the
# core's tables, the named ids and the .rc STRINGTABLE are generated from
# there at build time.
set(KALVOR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(KALVOR_STRINGS_SOURCES
  ${CMAKE_SOURCE_DIR}/resources/strings.tsv
  ${CMAKE_SOURCE_DIR}/resources/help_texts.tsv)
set(KALVOR_GENERATED_CORE_SOURCES ${KALVOR_GENERATED_DIR}/string_table_data.cpp)
set(KALVOR_GENERATED_RC ${KALVOR_GENERATED_DIR}/strings.rc)
set(KALVOR_GENERATED_STRING_IDS ${KALVOR_GENERATED_DIR}/string_ids.h)

add_custom_command(
  OUTPUT ${KALVOR_GENERATED_CORE_SOURCES} ${KALVOR_GENERATED_RC} ${KALVOR_GENERATED_STRING_IDS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KALVOR_GENERATED_DIR}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen/gen_strings.py
          --strings ${CMAKE_SOURCE_DIR}/resources/strings.tsv
          --help-texts ${CMAKE_SOURCE_DIR}/resources/help_texts.tsv
          --out-cpp ${KALVOR_GENERATED_CORE_SOURCES}
          --out-ids ${KALVOR_GENERATED_STRING_IDS}
          --out-rc ${KALVOR_GENERATED_RC}
  DEPENDS ${KALVOR_STRINGS_SOURCES} ${CMAKE_SOURCE_DIR}/tools/gen/gen_strings.py
  COMMENT "Generating the string table"
  VERBATIM)

set(KALVOR_GENERATED_COMMAND_IDS ${KALVOR_GENERATED_DIR}/command_ids.h)
add_custom_command(
  OUTPUT ${KALVOR_GENERATED_COMMAND_IDS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KALVOR_GENERATED_DIR}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen/gen_commands.py
          --commands ${CMAKE_SOURCE_DIR}/resources/commands.tsv
          --out ${KALVOR_GENERATED_COMMAND_IDS}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/commands.tsv ${CMAKE_SOURCE_DIR}/tools/gen/gen_commands.py
  COMMENT "Generating the command ids"
  VERBATIM)

add_custom_target(kalvor_generated
  DEPENDS ${KALVOR_GENERATED_CORE_SOURCES} ${KALVOR_GENERATED_RC} ${KALVOR_GENERATED_STRING_IDS}
          ${KALVOR_GENERATED_COMMAND_IDS})
