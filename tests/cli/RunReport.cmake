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

# --why TEXT [--interpretation N]: why/NAME-N-TEXT.json is the explanation
# of TEXT in interpretation N of NAME.kvl.
file(GLOB whyExpectations "${EXPECTED}/why/*.json")
if(NOT whyExpectations)
  message(FATAL_ERROR "no expected explanations in ${EXPECTED}/why")
endif()
foreach(expected ${whyExpectations})
  get_filename_component(name "${expected}" NAME)
  string(REGEX MATCH "^(.+)-([0-9]+)-(.*)\\.json$" parts "${name}")
  set(example "${CMAKE_MATCH_1}")
  set(number "${CMAKE_MATCH_2}")
  set(text "${CMAKE_MATCH_3}")
  execute_process(COMMAND "${REPORT}" --why "${text}" --interpretation ${number} "${EXAMPLES}/${example}.kvl"
                  WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  file(READ "${expected}" want)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL want)
    message(FATAL_ERROR "explanation of '${text}' in ${example} differs (exit ${rc}):\n${out}")
  endif()
endforeach()
# Exit 1 for a text no sentence has, 2 for an interpretation there is not
# and for options --why does not combine with; a message, no output.
foreach(case
    "1|--why|Tweety swims|birds"
    "2|--why|Tweety flies|--interpretation|2|birds"
    "2|--why|Tweety flies|--interpretation|0|birds"
    "2|--why|Tweety flies|--structure-only|birds"
    "2|--why|p|no-interpretation"
    "2|--why|Tweety flies|--interpretation|x|birds"
    "2|--interpretation|1|birds"
    "2|--why|Tweety flies|--json|birds"
    "2|--why|Tweety flies|--interpretations|birds"
    "2|--why|Tweety flies|--match|Tweety flies|birds"
    "2|--why|Tweety flies|--summary|birds")
  string(REPLACE "|" ";" arguments "${case}")
  list(POP_FRONT arguments want)
  list(POP_BACK arguments example)
  execute_process(COMMAND "${REPORT}" ${arguments} "${EXAMPLES}/${example}.kvl"
                  WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL want OR NOT out STREQUAL "" OR err STREQUAL "")
    message(FATAL_ERROR "${arguments}: exit ${rc} (want ${want}), stdout '${out}', stderr '${err}'")
  endif()
endforeach()

execute_process(COMMAND "${REPORT}" "${WORKDIR}/missing.kvl" WORKING_DIRECTORY "${WORKDIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "ostrel-report: ${WORKDIR}/missing.kvl: No such file or directory\n"
   OR NOT out STREQUAL "")
  message(FATAL_ERROR "unreadable file: exit ${rc}, stderr '${err}'")
endif()
file(GLOB written "${WORKDIR}/*")
if(written)
  message(FATAL_ERROR "the report tool wrote files: ${written}")
endif()
