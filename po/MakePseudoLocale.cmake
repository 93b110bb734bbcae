# Makes the pseudo-locale's catalogue from the template: cmake -DPOT=... -DOUTPUT=... -DMSGEN=...
# -DMSGFILTER=... -DMSGFMT=... -DAWK=... -DFILTER=... -P MakePseudoLocale.cmake
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
set(english ${OUTPUT}.en.po)
set(pseudo ${OUTPUT}.po)
execute_process(COMMAND ${MSGEN} --output-file=${english} ${POT} COMMAND_ERROR_IS_FATAL ANY)
file(READ ${english} text)
string(REPLACE "nplurals=INTEGER; plural=EXPRESSION;" "nplurals=2; plural=(n != 1);" text "${text}")
string(REPLACE "\"Language: \\n\"" "\"Language: en@pseudo\\n\"" text "${text}")
file(WRITE ${english} "${text}")
execute_process(COMMAND ${MSGFILTER} --keep-header --input=${english} --output-file=${pseudo} ${AWK} -f ${FILTER}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSGFMT} --check-format --output-file=${OUTPUT} ${pseudo} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${english} ${pseudo})
