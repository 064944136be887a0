# drilbank-records as an instructor runs it, on a class folder named in Cyrillic and given on
# its command line (on Windows the name must arrive as UTF-16): check finds the files whole and
# names the folder right; an --output naming a record file is refused and leaves it as it was;
# export writes its files, JSON and xlsx. Run by ctest with TOOL, EMULATOR (Wine, or nothing),
# DATA and WORK.
file(REMOVE_RECURSE "${WORK}")
set(folder "класс")
file(MAKE_DIRECTORY "${WORK}/${folder}")
file(GLOB golden "${DATA}/session/*.txt")
file(COPY ${golden} DESTINATION "${WORK}/${folder}")

function(run_tool expected_status)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${EMULATOR} "${TOOL}" ${ARGN}
        WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "drilbank-records ${ARGN}: exit ${status}, not ${expected_status}\n${out}${err}")
    endif()
    set(out "${out}${err}" PARENT_SCOPE)
endfunction()

run_tool(0 check ${folder})
if(NOT out MATCHES "класс.masterFile_Ann_Lee_Smith.txt: whole" OR NOT out MATCHES "3 whole and clean")
    message(FATAL_ERROR "check did not name the folder or find the files whole:\n${out}")
endif()

set(master "${WORK}/${folder}/masterFile_Ann_Lee_Smith.txt")
file(SHA256 "${master}" before)
run_tool(2 export --output ${folder}/masterFile_Ann_Lee_Smith.txt ${folder})
file(SHA256 "${master}" after)
if(NOT before STREQUAL after OR NOT out MATCHES "record file's name")
    message(FATAL_ERROR "an --output naming a record file was not refused:\n${out}")
endif()

run_tool(0 export --format json --output ответы.json ${folder})
file(READ "${WORK}/ответы.json" json)
if(NOT json MATCHES "\"file\": \"masterFile_Ann_Lee_Smith.txt\"")
    message(FATAL_ERROR "export wrote no rows:\n${json}")
endif()

# xlsx through the spreadsheet library, whose own file calls must find a Cyrillic name too.
run_tool(0 export --format xlsx --output ${folder}/ответы.xlsx ${folder})
file(READ "${WORK}/${folder}/ответы.xlsx" zip LIMIT 4 HEX)
file(GLOB left "${WORK}/${folder}/.*")
if(NOT zip STREQUAL "504b0304" OR left)
    message(FATAL_ERROR "export --format xlsx wrote no spreadsheet, or left ${left}:\n${out}")
endif()
