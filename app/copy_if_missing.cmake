# Copies SOURCE to TARGET only when TARGET does not exist: run with
#   cmake -DSOURCE=<file> -DTARGET=<file> -P copy_if_missing.cmake
if(NOT EXISTS "${TARGET}")
  file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
