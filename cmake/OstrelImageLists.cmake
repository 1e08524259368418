# Stored forms whose image lists hold the window's rendered pictures.
#
#   ostrel_form_with_pictures(<target> TEMPLATE <form template> OUTPUT <form>)
#
# Makes <form> from <template>, where each `PictureList.Data = @pictures(close
# files close@2x files@2x)` becomes the stored data of an image list holding
# those pictures of the ostrel_pictures target, in that order, each under its
# name (a display-scale variant is listed by its own name). The form is
# remade when the template or a picture changes; its path is the target's
# OSTREL_FORM_FILE property.
function(ostrel_form_with_pictures target)
  cmake_parse_arguments(ARG "" "TEMPLATE;OUTPUT" "" ${ARGN})
  if(NOT ARG_TEMPLATE OR NOT ARG_OUTPUT)
    message(FATAL_ERROR "ostrel_form_with_pictures: TEMPLATE and OUTPUT are needed")
  endif()
  get_property(pictures_dir TARGET ostrel_pictures PROPERTY OSTREL_PICTURES_DIR)
  get_property(picture_files TARGET ostrel_pictures PROPERTY OSTREL_PICTURE_FILES)
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}
    COMMAND ostrel-make-form --pictures ${pictures_dir} --output ${ARG_OUTPUT} ${ARG_TEMPLATE}
    DEPENDS ostrel-make-form ${ARG_TEMPLATE} ${picture_files}
    COMMENT "Storing the pictures of ${ARG_OUTPUT}'s image lists"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${ARG_OUTPUT})
  add_dependencies(${target} ostrel_pictures)
  set_property(TARGET ${target} PROPERTY OSTREL_FORM_FILE ${ARG_OUTPUT})
endfunction()
