# Assembles the asset archive "viewerzip" from its manifest.
# Inputs: MANIFEST, SOURCE_DIR (repo root), GENERATED_DIR, STAGE_DIR, OUTPUT.
# Each manifest line is "archive/path<TAB>source"; a source is a path relative to SOURCE_DIR
# (node_modules/... or resources/viewer/...), "generated:NAME" for a file drawn at build time,
# or an absolute path of an installed system file. A source folder is copied whole.
include(${CMAKE_CURRENT_LIST_DIR}/archive-manifest.cmake)
read_archive_manifest(${MANIFEST} ${SOURCE_DIR} ${GENERATED_DIR} destinations sources)

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
foreach(dest source IN ZIP_LISTS destinations sources)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "Asset archive: ${source} (for ${dest}) does not exist; run scripts/install-deps")
  endif()
  if(IS_DIRECTORY ${source})
    file(COPY ${source}/ DESTINATION ${STAGE_DIR}/${dest})
  else()
    get_filename_component(folder ${STAGE_DIR}/${dest} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(COPY_FILE ${source} ${STAGE_DIR}/${dest})
  endif()
endforeach()

file(GLOB_RECURSE staged RELATIVE ${STAGE_DIR} ${STAGE_DIR}/*)
list(SORT staged)
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUTPUT} --format=zip -- ${staged}
                WORKING_DIRECTORY ${STAGE_DIR} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Asset archive: zip failed")
endif()
