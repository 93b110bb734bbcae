# Run by `cmake --install` (and by cpack) for the game: writes the files that name where the
# game was installed, for the prefix of this install, and installs them. The caller sets
# PELLIX_GAME_PATH (the installed program), PELLIX_DATA_FOLDER (its images and sounds),
# PELLIX_APP_ID and PROJECT_VERSION. The launcher comes already translated, with its Exec still a
# placeholder.

# The launcher's Exec value for `path`: as it is when it holds only plain characters, else
# double-quoted with ", `, $ and \ escaped (the desktop entry's quoting), its backslashes then
# doubled and its percent signs doubled (the string value's escaping).
function(pellix_exec_value path result)
  if(path MATCHES "^[A-Za-z0-9/._+-]+$")
    set(${result} "${path}" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${path}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  set(${result} "\"${quoted}\"" PARENT_SCOPE)
endfunction()

function(pellix_install_for_prefix source_dir translated_launcher work_root)
  # A folder of this install's own: installs into other prefixes (the package's and the tests')
  # may run at the same time from the same build.
  string(SHA1 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(work_dir "${work_root}/${destination}")
  file(REMOVE_RECURSE "${work_dir}")
  file(MAKE_DIRECTORY "${work_dir}")
  pellix_exec_value("${PELLIX_GAME_PATH}" PELLIX_GAME_EXEC)
  # In the manual page a backslash is \e and a hyphen \- (a plain - may print as a dash that a
  # shell would not take), and a long path may break after any slash (\:).
  string(REPLACE "\\" "\\e" PELLIX_DATA_FOLDER_ROFF "${PELLIX_DATA_FOLDER}")
  string(REPLACE "-" "\\-" PELLIX_DATA_FOLDER_ROFF "${PELLIX_DATA_FOLDER_ROFF}")
  string(REPLACE "/" "/\\:" PELLIX_DATA_FOLDER_ROFF "${PELLIX_DATA_FOLDER_ROFF}")
  configure_file("${translated_launcher}" "${work_dir}/${PELLIX_APP_ID}.desktop" @ONLY)
  configure_file("${source_dir}/pellix.6.in" "${work_dir}/pellix.6" @ONLY)
  configure_file("${source_dir}/changelog.in" "${work_dir}/changelog" @ONLY)
  # gzip -n: no name or time stamp inside, so the same text always gives the same bytes.
  foreach(text pellix.6 changelog)
    execute_process(COMMAND gzip -9nf "${work_dir}/${text}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip could not compress ${work_dir}/${text}")
    endif()
  endforeach()
  file(INSTALL "${work_dir}/${PELLIX_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
  file(INSTALL "${work_dir}/pellix.6.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/man/man6")
  # Debian keeps each package's copyright and changelog in /usr/share/doc/<package>.
  file(INSTALL "${source_dir}/copyright" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/doc/pellix")
  file(INSTALL "${work_dir}/changelog.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/doc/pellix")
  file(REMOVE_RECURSE "${work_dir}")
endfunction()
