# Writes po/pellix.pot from the sources: cmake -DSOURCE_DIR=... -DPOT=... -DXGETTEXT=...
# -DMSGCAT=... -DVERSION=... -P UpdatePot.cmake (the pellix_pot target runs it).
file(GLOB_RECURSE code RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h
     ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h)
list(SORT code)
set(code_pot ${POT}.code)
set(desktop_pot ${POT}.desktop)
set(metainfo_pot ${POT}.metainfo)
execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS: --sort-by-file
          --keyword=tr --keyword=trContext:1c,2 --keyword=trPlural:1,2 --keyword=TR_NOOP --keyword=TRC_NOOP:1c,2
          --flag=format:1:c-format --package-name=Pellix --package-version=${VERSION}
          --output=${code_pot} ${code}
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND ${XGETTEXT} --language=Desktop --from-code=UTF-8 --add-comments=TRANSLATORS:
          --keyword=Name --keyword=GenericName --keyword=Comment --keyword=Keywords
          --output=${desktop_pot} desktop/pellix.desktop.in
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND ${XGETTEXT} --its=${ITS} --from-code=UTF-8
          --output=${metainfo_pot} desktop/pellix.metainfo.xml.in
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
# The template's header names no character set yet; every source is UTF-8.
foreach(part ${code_pot} ${desktop_pot} ${metainfo_pot})
  file(READ ${part} text)
  string(REPLACE "charset=CHARSET" "charset=UTF-8" text "${text}")
  file(WRITE ${part} "${text}")
endforeach()
execute_process(
  COMMAND ${MSGCAT} --use-first --sort-by-file --output-file=${POT} ${code_pot} ${desktop_pot} ${metainfo_pot}
  COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${code_pot} ${desktop_pot} ${metainfo_pot})
