# cmake -DSOURCE=… -DDESTINATION=… -P copy_if_missing.cmake
# Copies SOURCE to DESTINATION only where nothing is there yet: a user's own settings.bin is
# never replaced by a build or an install.
if(NOT EXISTS "${DESTINATION}")
    get_filename_component(folder "${DESTINATION}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
