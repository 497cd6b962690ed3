# Runs ostrel-report on every example and compares with the expected output
# (and the match reports of expected/match/);
# checks the error path and that no file is written.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
file(GLOB expectations "${EXPECTED}/*.txt")
list(LENGTH expectations count)
if(count EQUAL 0)
  message(FATAL_ERROR "no expected outputs in ${EXPECTED}")
endif()
foreach(expected ${expectations})
  get_filename_component(name "${expected}" NAME_WE)
  # NAME--option--option.txt runs the report on NAME.kvl with those options.
  string(REGEX MATCH "^[^.]+" example "${name}")
  set(options)
  foreach(option no-parse structure-only interpretations summary)
    if(example MATCHES "--${option}")
      list(APPEND options --${option})
      string(REPLACE "--${option}" "" example "${example}")
    endif()
  endforeach()
  execute_process(COMMAND "${REPORT}" ${options} "${EXAMPLES}/${example}.kvl"
                  WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  file(READ "${expected}" want)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL want)
    message(FATAL_ERROR "report of ${name} differs (exit ${rc}):\n${out}")
  endif()
endforeach()

# --match TEXT prints the match window's report; a text that no argument
# sentence has gives the six opening lines only. match/NAME-TEXT.txt, with
# the spaces of TEXT written as dashes.
file(GLOB matchExpectations "${EXPECTED}/match/*.txt")
foreach(expected ${matchExpectations})
  get_filename_component(name "${expected}" NAME_WE)
  string(REGEX MATCH "^([^-]+)-(.*)$" parts "${name}")
  set(example "${CMAKE_MATCH_1}")
  string(REPLACE "-" " " text "${CMAKE_MATCH_2}")
  execute_process(COMMAND "${REPORT}" --match "${text}" "${EXAMPLES}/${example}.kvl"
                  WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  file(READ "${expected}" want)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL want)
    message(FATAL_ERROR "match report of '${text}' in ${example} differs (exit ${rc}):\n${out}")
  endif()
endforeach()
if(NOT matchExpectations)
  message(FATAL_ERROR "no expected match reports in ${EXPECTED}/match")
endif()
execute_process(COMMAND "${REPORT}" --match "Tweety is a bird" --interpretations "${EXAMPLES}/birds.kvl"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "")
  message(FATAL_ERROR "--match with --interpretations: exit ${rc}")
endif()

execute_process(COMMAND "${REPORT}" --structure-only --interpretations "${EXAMPLES}/birds.kvl"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "")
  message(FATAL_ERROR "--structure-only with --interpretations: exit ${rc}")
endif()

# --json takes the options of the text report and no other output's.
execute_process(COMMAND "${REPORT}" --json --interpretations "${EXAMPLES}/birds.kvl"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "")
  message(FATAL_ERROR "--json with --interpretations: exit ${rc}")
endif()
execute_process(COMMAND "${REPORT}" --no-parse --structure-only --json "${EXAMPLES}/birds.kvl"
                WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
string(JSON parse GET "${out}" options parseSentences)
string(JSON structure GET "${out}" options showStructureOnly)
string(JSON interpretations TYPE "${out}" interpretations)
if(NOT rc EQUAL 0 OR parse OR NOT structure OR NOT interpretations STREQUAL "NULL")
  message(FATAL_ERROR "--json --no-parse --structure-only: exit ${rc}\n${out}")
endif()

# --summary is a JSON document of its own, beside the other outputs.
foreach(other --json --interpretations "--match;Tweety is a bird")
  execute_process(COMMAND "${REPORT}" --summary ${other} "${EXAMPLES}/birds.kvl"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "")
    message(FATAL_ERROR "--summary with ${other}: exit ${rc}")
  endif()
endforeach()
execute_process(COMMAND "${REPORT}" --summary "${WORKDIR}/missing.kvl" WORKING_DIRECTORY "${WORKDIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "")
  message(FATAL_ERROR "--summary of an unreadable file: exit ${rc}")
endif()

execute_process(COMMAND "${REPORT}" "${WORKDIR}/missing.kvl" WORKING_DIRECTORY "${WORKDIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "Cannot open file ${WORKDIR}/missing.kvl\n" OR NOT out STREQUAL "")
  message(FATAL_ERROR "unreadable file: exit ${rc}, stderr '${err}'")
endif()
file(GLOB written "${WORKDIR}/*")
if(written)
  message(FATAL_ERROR "the report tool wrote files: ${written}")
endif()
