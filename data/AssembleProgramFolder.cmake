# Copies the shipped data into the program folder without touching the user's own data:
# - program files (help, condition definitions, templates) are always brought up to date;
# - a table file of the data folder is copied only when the folder has no file of that table yet,
#   since the folder holds the user's registrations;
# - a changed lookup table is placed beside the old one as "_" + its name, which the program takes
#   over at its next start, exactly as an installation does.
# Run with -DSOURCE=<data/program> -DTARGET=<program folder>.
file(MAKE_DIRECTORY ${TARGET}/FLATT_FILES ${TARGET}/Zero ${TARGET}/Temp ${TARGET}/Images)

file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/*)
file(GLOB existing_tables RELATIVE ${TARGET}/FLATT_FILES ${TARGET}/FLATT_FILES/*)
string(TOUPPER "${existing_tables}" existing_upper)

foreach(relative ${files})
  if(relative MATCHES "^FLATT_FILES/([^/]+)$")
    set(name ${CMAKE_MATCH_1})
    string(TOUPPER "${name}" name_upper)
    list(FIND existing_upper "${name_upper}" found)
    if(found EQUAL -1)
      configure_file(${SOURCE}/${relative} ${TARGET}/${relative} COPYONLY)
    elseif(NOT name_upper MATCHES "_TBL_")
      list(GET existing_tables ${found} existing_name)
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SOURCE}/${relative} ${TARGET}/FLATT_FILES/${existing_name}
                      RESULT_VARIABLE differs OUTPUT_QUIET ERROR_QUIET)
      if(differs)
        configure_file(${SOURCE}/${relative} ${TARGET}/FLATT_FILES/_${existing_name} COPYONLY)
      endif()
    endif()
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SOURCE}/${relative} ${TARGET}/${relative})
  endif()
endforeach()
