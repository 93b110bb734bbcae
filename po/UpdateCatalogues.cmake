# Merges po/pellix.pot into every catalogue of LANGUAGES (the pellix_po_update target runs it).
foreach(language ${LANGUAGES})
  execute_process(COMMAND ${MSGMERGE} --quiet --update --backup=none ${PO_DIR}/${language}.po ${PO_DIR}/pellix.pot
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
