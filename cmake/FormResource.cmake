# qv_add_form_resource(<target> <RESNAME> <file.dfm>)
# Compiles a text form into binary form data during the build (the form compiler, tools/formc,
# runs under the emulator) and links it into <target> as the RCDATA resource <RESNAME>, where
# ReadComponentRes finds it.
function(qv_add_form_resource target resname source)
  get_filename_component(source ${source} ABSOLUTE)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms)
  set(binary ${dir}/${resname}.bin)
  set(script ${dir}/${resname}.rc)
  # The emulator sees the host's root as drive Z:.
  add_custom_command(OUTPUT ${binary}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${QV_EMULATOR} $<TARGET_FILE:qv_formc> Z:${source} Z:${binary}
    DEPENDS qv_formc ${source}
    COMMENT "Compiling form ${resname} from ${source}"
    VERBATIM)
  file(CONFIGURE OUTPUT ${script} CONTENT "${resname} RCDATA \"${binary}\"\n")
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${binary})
  target_sources(${target} PRIVATE ${script} ${binary})
endfunction()
