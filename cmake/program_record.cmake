# The version record and the manifest of a Windows program, both filled in
# from the one project version. Sets OUT_RC to the resource script that
# holds them, to build into the program or to #include from its own script.
enable_language(RC)

function(vantrel_program_record name description manifest_template out_rc)
  set(VANTREL_PROGRAM ${name})
  set(VANTREL_PROGRAM_DESCRIPTION ${description})
  set(VANTREL_MANIFEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
  set(VANTREL_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${name}.manifest)
  configure_file(${manifest_template} ${VANTREL_MANIFEST} @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_record.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program_record.rc.in ${rc} @ONLY)
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${VANTREL_MANIFEST})
  set(${out_rc} ${rc} PARENT_SCOPE)
endfunction()
